#include "ui/about/form2_win.h"

#include <shellapi.h>

#include <stdexcept>
#include <string>

#include "resource.h"
#include "toolkit/modal_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr wchar_t kClassName[] = L"TForm2";
constexpr int kWidth = 327, kHeight = 410;
constexpr COLORREF kFuchsia = RGB(255, 0, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr RECT kImage1{0, 0, 327, 263};
constexpr RECT kLabel2{80, 328, 233, 341};
constexpr RECT kImage3{48, 320, 72, 344};
constexpr RECT kImage2{49, 344, 73, 368};
constexpr RECT kSpeedButton1{88, 376, 233, 398};
constexpr wchar_t kCloseCaption[] = L"关闭[&C]";

bool Inside(const RECT& r, POINT p) {
  return PtInRect(&r, p) != FALSE;
}

// A picture stretched to its place; the colour of its bottom-left pixel is see-through.
void DrawTransparent(HDC dc, const Bitmap& bmp, const RECT& to) {
  if (!bmp) return;
  BITMAP bm{};
  GetObjectW(bmp.Get(), sizeof(bm), &bm);
  MemoryDC mem(dc);
  ScopedSelect sel(mem.Get(), bmp.Get());
  TransparentBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, mem.Get(), 0, 0,
                 bm.bmWidth, bm.bmHeight, GetPixel(mem.Get(), 0, bm.bmHeight - 1));
}

}  // namespace

TForm2::TForm2(HINSTANCE inst)
    : font_(MakeFont(L"MS Sans Serif", -11)),
      link_font_(MakeFont(L"MS Sans Serif", -11, true)),
      main_(LoadBitmapW(inst, MAKEINTRESOURCEW(IDB_ABOUT_MAIN))),
      link_icon_(LoadBitmapW(inst, MAKEINTRESOURCEW(IDB_ABOUT_LINK))),
      mail_icon_(LoadBitmapW(inst, MAKEINTRESOURCEW(IDB_ABOUT_MAIL))) {
  Register({kClassName});
  {
    // The e-mail label is as wide as its text.
    WindowDC screen;
    ScopedSelect sel(screen.Get(), font_.Get());
    const std::wstring mail = Widen(kMailAddress);
    SIZE size{};
    GetTextExtentPoint32W(screen.Get(), mail.c_str(), static_cast<int>(mail.size()), &size);
    label3_.right = label3_.left + size.cx;
    label3_.bottom = label3_.top + size.cy;
  }
  CreateWin(WS_EX_TOOLWINDOW, kClassName, L"关于我们", WS_POPUP | WS_CLIPCHILDREN, 0, 0, kWidth,
            kHeight, nullptr);
  if (!hwnd_) throw std::runtime_error("Error creating window class TForm2");
}

void TForm2::ShowModal(HWND owner) {
  // Owned by the window it is shown over, so that it stays above it.
  SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  CentreOnScreen(hwnd_);
  modal_ = true;
  coiffure::ShowModal(hwnd_, owner, [this] { return !modal_; });
  modal_ = false;
  ShowWindow(hwnd_, SW_HIDE);
}

void TForm2::Label2MouseMove() {
  link_underlined_ = true;
  link_color_ = kRed;
  InvalidateRect(hwnd_, &kLabel2, FALSE);
}

void TForm2::FormMouseMove() {
  // The underline stays once the pointer has been over the link.
  link_color_ = kBlue;
  InvalidateRect(hwnd_, &kLabel2, FALSE);
}

void TForm2::Label2Click() {
  shell_(hwnd_, nullptr, kWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm2::SpeedButton1Click() {
  Close();
}

void TForm2::Close() {
  if (modal_) {
    modal_ = false;  // ends the modal display, which hides the box
    PostMessageW(hwnd_, WM_NULL, 0, 0);
  } else {
    ShowWindow(hwnd_, SW_HIDE);
  }
}

// Later controls lie above earlier ones.
TForm2::Area TForm2::HitTest(POINT p) const {
  if (Inside(kSpeedButton1, p)) return Area::kSpeedButton1;
  if (Inside(kImage2, p)) return Area::kImage2;
  if (Inside(label3_, p)) return Area::kLabel3;
  if (Inside(kImage3, p)) return Area::kImage3;
  if (Inside(kLabel2, p)) return Area::kLabel2;
  if (Inside(kImage1, p)) return Area::kImage1;
  return Area::kForm;
}

void TForm2::OnMouseMove(POINT p) {
  const Area area = HitTest(p);
  if (area == Area::kLabel2) Label2MouseMove();
  if (area == Area::kForm) FormMouseMove();
  const bool hot = area == Area::kSpeedButton1;
  if (hot != button_hot_) {
    button_hot_ = hot;
    InvalidateRect(hwnd_, &kSpeedButton1, FALSE);
  }
  if (hot) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
    TrackMouseEvent(&tme);
  }
}

void TForm2::OnButtonUp(POINT p) {
  const Area pressed = pressed_;
  pressed_ = Area::kForm;
  if (button_down_) {
    button_down_ = false;
    InvalidateRect(hwnd_, &kSpeedButton1, FALSE);
  }
  ReleaseCapture();
  const Area area = HitTest(p);
  if (area != pressed) return;
  if (area == Area::kLabel2) Label2Click();
  if (area == Area::kSpeedButton1) SpeedButton1Click();
}

void TForm2::PaintSpeedButton(HDC dc) {
  RECT r = kSpeedButton1;
  // A flat button: an edge only while the pointer is over it.
  if (button_down_ && button_hot_)
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  else if (button_hot_)
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  if (button_down_ && button_hot_) OffsetRect(&r, 1, 1);
  ScopedSelect sel(dc, font_.Get());
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, kCloseCaption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TForm2::Paint(HDC dc) {
  RECT all{0, 0, kWidth, kHeight};
  const Brush bg(CreateSolidBrush(kFuchsia));
  FillRect(dc, &all, bg.Get());
  if (main_) {
    // Drawn at its own size: the picture's two rightmost columns fall outside the box.
    MemoryDC mem(dc);
    ScopedSelect sel(mem.Get(), main_.Get());
    BitBlt(dc, 0, 0, kImage1.right, kImage1.bottom, mem.Get(), 0, 0, SRCCOPY);
  }
  SetBkMode(dc, TRANSPARENT);
  {
    ScopedSelect link_font(dc, link_underlined_ ? link_font_.Get() : font_.Get());
    SetTextColor(dc, link_color_);
    RECT link = kLabel2;
    DrawTextW(dc, Widen(kWebAddress).c_str(), -1, &link, DT_SINGLELINE | DT_NOPREFIX);
  }
  DrawTransparent(dc, link_icon_, kImage3);
  {
    ScopedSelect mail_font(dc, font_.Get());
    SetTextColor(dc, kBlue);
    RECT mail = label3_;
    DrawTextW(dc, Widen(kMailAddress).c_str(), -1, &mail, DT_SINGLELINE | DT_NOPREFIX);
  }
  DrawTransparent(dc, mail_icon_, kImage2);
  PaintSpeedButton(dc);
}

void TForm2::OnPaint() {
  PaintDC dc(hwnd_);
  // Composed off screen, so hovering the link does not flicker.
  MemoryDC mem(dc.Get());
  const Bitmap frame(CreateCompatibleBitmap(dc.Get(), kWidth, kHeight));
  {
    ScopedSelect sel(mem.Get(), frame.Get());
    Paint(mem.Get());
    BitBlt(dc.Get(), 0, 0, kWidth, kHeight, mem.Get(), 0, 0, SRCCOPY);
  }
}

bool TForm2::OnSetCursor() {
  POINT c;
  GetCursorPos(&c);
  ScreenToClient(hwnd_, &c);
  SetCursor(LoadCursorW(nullptr, HitTest(c) == Area::kLabel2 ? IDC_HAND : IDC_ARROW));
  return true;
}

LRESULT TForm2::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(p);
      return 0;
    case WM_MOUSELEAVE:
      button_hot_ = false;
      InvalidateRect(hwnd_, &kSpeedButton1, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = HitTest(p);
      SetCapture(hwnd_);
      if (pressed_ == Area::kSpeedButton1) {
        button_down_ = true;
        InvalidateRect(hwnd_, &kSpeedButton1, FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(p);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) return OnSetCursor();
      break;
    case WM_CHAR:
    case WM_SYSCHAR:
      // "关闭[&C]" answers its access key with or without Alt: nothing else takes keys here.
      if (wp == L'c' || wp == L'C') {
        SpeedButton1Click();
        return 0;
      }
      break;
    case WM_CLOSE:
      Close();
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace coiffure
