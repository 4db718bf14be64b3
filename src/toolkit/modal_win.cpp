#include "toolkit/modal_win.h"

namespace coiffure {

namespace {

void RunModalLoop(const std::function<bool()>& done, const std::function<bool(MSG&)>& pretranslate,
                  std::function<bool()> idle) {
  MSG msg;
  while (!done()) {
    // Messages first, timers and paints included: the idle work only fills the gaps.
    if (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!idle()) idle = nullptr;
      continue;
    }
    const BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (r < 0) return;
    if (pretranslate && pretranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int RunMessageLoop(const std::function<bool(MSG&)>& pretranslate) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (pretranslate && pretranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void ShowModal(HWND window, HWND owner, const std::function<bool()>& done,
               const std::function<bool(MSG&)>& pretranslate, std::function<bool()> idle) {
  const bool owner_was_enabled = owner && IsWindowEnabled(owner);
  if (owner_was_enabled) EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetForegroundWindow(window);
  SetFocus(window);
  RunModalLoop(done, pretranslate, std::move(idle));
  if (owner_was_enabled) {
    // Enabled again before the window goes, so that the owner gets the activation back.
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
}

void CentreOnScreen(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace coiffure
