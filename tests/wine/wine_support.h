// Helpers shared by the integration tests: a main window built from the staged folder, message
// boxes answered by the test, pixels and status texts read back.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/error_box_win.h"
#include "toolkit/text_win.h"
#include "ui/main/form1_win.h"

namespace coiffure::testing_support {

struct ShownBox {
  std::wstring text, caption;
  UINT flags;
};

// Answers every message box with `answer` and records it.
class BoxRecorder {
 public:
  explicit BoxRecorder(int answer = IDOK) : answer_(answer) {
    SetMessageBoxHookForTests([this](HWND, const std::wstring& t, const std::wstring& c, UINT f) {
      boxes.push_back({t, c, f});
      return answer_;
    });
  }
  ~BoxRecorder() { SetMessageBoxHookForTests(nullptr); }
  void Answer(int a) { answer_ = a; }
  std::vector<ShownBox> boxes;

 private:
  int answer_;
};

inline std::string CurrentFolder() {
  wchar_t buf[MAX_PATH * 4];
  const DWORD n = GetCurrentDirectoryW(MAX_PATH * 4, buf);
  std::string s = Narrow(std::wstring_view(buf, n));
  if (s.empty() || s.back() != '\\') s += '\\';
  return s;
}

// Runs pending messages, paints included.
inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline std::wstring StatusText(HWND statusbar, int panel) {
  const LRESULT len = SendMessageW(statusbar, SB_GETTEXTLENGTHW, panel, 0);
  std::wstring text(LOWORD(len) + 1, L'\0');
  SendMessageW(statusbar, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(len));
  return text;
}

// The colour on screen at a point of a window's client area.
inline COLORREF PixelAt(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return c;
}

}  // namespace coiffure::testing_support
