#include "app/splash_win.h"

#include "resource.h"
#include "toolkit/modal_win.h"

namespace coiffure {

namespace {
constexpr UINT_PTR kTimer1 = 1;
constexpr COLORREF kCream = RGB(255, 251, 240);  // clCream
constexpr wchar_t kLabel1[] = L"正在加载图片，请稍等......";
}  // namespace

Tcsh::Tcsh(UINT interval_ms)
    : interval_(interval_ms),
      image1_(LoadBitmapResource(IDB_SPLASH)),
      label_font_(MakeFont(L"Arial", -11)),
      cream_(CreateSolidBrush(kCream)) {
  Register({L"Tcsh"});
  RECT r{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&r, WS_POPUP, FALSE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  CreateWin(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Tcsh", L"csh", WS_POPUP, 0, 0, r.right - r.left,
            r.bottom - r.top, nullptr);
  // The timer runs from the window's creation, as the splash form's timer is enabled at once.
  SetTimer(hwnd_, kTimer1, interval_, nullptr);
}

void Tcsh::ShowModal(std::function<bool()> idle) {
  CentreOnScreen(hwnd_);
  closed_ = false;
  coiffure::ShowModal(
      hwnd_, nullptr, [this] { return closed_; }, {}, std::move(idle));
}

void Tcsh::Timer1Timer() {
  Close();
}

void Tcsh::Close() {
  // Once closed the splash stays hidden; further ticks have nothing to do.
  KillTimer(hwnd_, kTimer1);
  ShowWindow(hwnd_, SW_HIDE);
  closed_ = true;
}

void Tcsh::Paint(HDC dc) {
  RECT client{0, 0, kClientWidth, kClientHeight};
  FillRect(dc, &client, cream_.Get());
  if (image1_) {
    MemoryDC mem(dc);
    ScopedSelect sel(mem.Get(), image1_.Get());
    // Drawn unscaled from the top-left: the picture's two rightmost columns fall outside.
    BitBlt(dc, 0, 0, kClientWidth, 263, mem.Get(), 0, 0, SRCCOPY);
  }
  ScopedSelect font(dc, label_font_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT label{16, 280, 16 + 225, 280 + 13};
  DrawTextW(dc, kLabel1, -1, &label, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

LRESULT Tcsh::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTimer1) Timer1Timer();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      Paint(dc.Get());
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace coiffure
