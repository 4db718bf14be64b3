// The application: creates the windows in order, runs the message loop, destroys the windows.
#pragma once

#include <windows.h>

namespace coiffure {

// The whole life of the process; returns the exit code.
int RunApplication();

// The main message loop: menu shortcuts first, then the usual translation and dispatch. An
// error escaping a handler is reported by the window procedure and the loop goes on.
int RunMessageLoop(HWND main_window, bool (*shortcut)(void*, const MSG&), void* context);

}  // namespace coiffure
