// Modal display: a nested message loop that runs until the window says it is done.
#pragma once

#include <windows.h>

#include <functional>

namespace coiffure {

// Runs messages until done() is true. A WM_QUIT seen meanwhile ends the loop and is posted
// again so that the outer loop ends too.
void RunModalLoop(const std::function<bool()>& done);

// Shows window modally over owner: the owner is disabled until done() is true.
void ShowModal(HWND window, HWND owner, const std::function<bool()>& done);

// Centres a top-level window on the whole screen.
void CentreOnScreen(HWND window);

}  // namespace coiffure
