// The message loops: the program's main loop, and modal display, a nested loop that runs until
// the window says it is done.
#pragma once

#include <windows.h>

#include <functional>

namespace coiffure {

// Runs messages until WM_QUIT and returns its exit code. pretranslate, when given, sees each
// message first and keeps it by returning true (shortcuts, dialog keys).
int RunMessageLoop(const std::function<bool(MSG&)>& pretranslate = {});

// Shows window modally over owner (which may be null): the owner is disabled until done() is
// true, then enabled and activated again. pretranslate, when given, sees each message first and
// keeps it by returning true (a dialog's keys). A WM_QUIT seen meanwhile ends the display and is
// posted again so that the outer loop ends too. Hiding the window afterwards is the caller's.
// idle, when given, runs whenever no message is waiting, for a short slice of work each time,
// until it returns false (nothing more to do).
void ShowModal(HWND window, HWND owner, const std::function<bool()>& done,
               const std::function<bool(MSG&)>& pretranslate = {}, std::function<bool()> idle = {});

// Centres a top-level window on the whole screen.
void CentreOnScreen(HWND window);

}  // namespace coiffure
