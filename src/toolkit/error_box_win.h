// The application's error box: stop icon, OK, the application title as caption.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace coiffure {

// Every message box of the program goes through here, so tests can answer it instead of a user.
using MessageBoxHook = std::function<int(HWND owner, const std::wstring& text,
                                         const std::wstring& caption, UINT flags)>;
void SetMessageBoxHookForTests(MessageBoxHook hook);
int AppMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags);

void ShowErrorBox(HWND owner, const std::string& message);
// Reports whatever escaped a handler; call from inside a catch block.
void ReportCurrentException(HWND owner);

// Runs a handler, reporting what escapes it, so that no exception crosses a window procedure.
template <typename F>
void Guarded(HWND owner, F&& f) {
  try {
    f();
  } catch (...) {
    ReportCurrentException(owner);
  }
}

// The same for a handler with a result; 0 when it failed.
template <typename F>
LRESULT GuardedResult(HWND owner, F&& f) {
  try {
    return f();
  } catch (...) {
    ReportCurrentException(owner);
    return 0;
  }
}

}  // namespace coiffure
