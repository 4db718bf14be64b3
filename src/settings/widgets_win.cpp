#include "settings/widgets_win.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vsstyle.h>

#include <algorithm>
#include <string>

#include "settings/settings.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr wchar_t kFrameClass[] = L"CoiffureFrame";

std::wstring TextOf(HWND hwnd) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), static_cast<int>(s.size()))));
  return s;
}

wchar_t DecimalSeparator() {
  wchar_t buf[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 1) return buf[0];
  return L'.';
}

}  // namespace

HWND CreateChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, int x,
                 int y, int w, int h, HFONT font, DWORD ex_style) {
  auto inst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  HWND hwnd =
      CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
  if (!hwnd) return nullptr;
  SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}

FrameBox::FrameBox(HWND parent, FrameKind kind, const wchar_t* caption, int id, int x, int y, int w,
                   int h, HFONT font)
    : kind_(kind), font_(font) {
  Register({kFrameClass});
  CreateWin(WS_EX_CONTROLPARENT, kFrameClass, caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x,
            y, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
  // At the bottom of its siblings, as every child of the dialog: creation order is tab order.
  if (hwnd_) SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FrameBox::OnPaint() {
  PaintDC dc(hwnd_);
  RECT rc;
  GetClientRect(hwnd_, &rc);
  ScopedSelect font(dc.Get(), font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), GetSysColor(IsWindowEnabled(hwnd_) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  const std::wstring caption = TextOf(hwnd_);
  if (kind_ == FrameKind::kPanel) {
    DrawEdge(dc.Get(), &rc, BDR_RAISEDINNER, BF_RECT);
    DrawTextW(dc.Get(), caption.c_str(), -1, &rc,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return;
  }
  TEXTMETRICW tm;
  GetTextMetricsW(dc.Get(), &tm);
  RECT frame = rc;
  frame.top = caption.empty() ? 0 : tm.tmHeight / 2;
  DrawEdge(dc.Get(), &frame, EDGE_ETCHED, BF_RECT);
  if (caption.empty()) return;
  RECT text{8, 0, rc.right - 8, tm.tmHeight};
  DrawTextW(dc.Get(), caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  RECT gap{text.left - 1, text.top, text.right + 1, text.bottom};
  FillRect(dc.Get(), &gap, GetSysColorBrush(COLOR_BTNFACE));
  DrawTextW(dc.Get(), caption.c_str(), -1, &text, DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT FrameBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd_, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wp);
      if (LOWORD(lp)) InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE:
    case WM_SETTEXT: {
      const LRESULT r = Default(msg, wp, lp);
      InvalidateRect(hwnd_, nullptr, TRUE);
      return r;
    }
    // The controls inside report to the window that owns their handlers.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return SendMessageW(GetParent(hwnd_), msg, wp, lp);
  }
  return Default(msg, wp, lp);
}

void SpinField::Create(HWND parent, int id, int x, int y, int w, int h, HFONT font, int32_t min,
                       int32_t max, int32_t step, int32_t value) {
  min_ = min;
  max_ = max;
  step_ = step;
  Register({L"TSpinEdit"});
  // A control parent, so that dialog navigation reaches the edit inside.
  CreateWin(WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, L"TSpinEdit", L"",
            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, w, h, parent);
  if (!hwnd_) return;
  // At the bottom of its siblings, as every child of the dialog: creation order is tab order.
  SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RECT client;
  GetClientRect(hwnd_, &client);
  constexpr int kArrowWidth = 11;
  const int text_width = std::max(0, static_cast<int>(client.right) - kArrowWidth);
  HWND edit = CreateChild(hwnd_, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, id, 0, 0, text_width,
                          client.bottom, font);
  // No margins: in the narrow field every pixel is needed for four digits.
  SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 0));
  // Their own range and position are unused: the field does its own stepping.
  arrows_ =
      CreateChild(hwnd_, UPDOWN_CLASSW, L"", 0, 0, text_width, 0, kArrowWidth, client.bottom, font);
  // The control gives itself a width of its own at creation; the field's is 11.
  MoveWindow(arrows_, text_width, 0, kArrowWidth, client.bottom, FALSE);
  SendMessageW(arrows_, UDM_SETRANGE32, 0, 100);
  SendMessageW(arrows_, UDM_SETPOS32, 0, 50);
  edit_.Attach(this, edit);
  arrow_clicks_.Attach(edit, arrows_);
  SetValue(value);
}

int32_t SpinField::Value() const {
  return SpinValueFromText(Narrow(TextOf(Edit())), min_);
}

void SpinField::SetValue(int32_t v) {
  SetWindowTextW(Edit(), std::to_wstring(SpinClamp(v, min_, max_)).c_str());
}

void SpinField::Enable(bool on) {
  EnableWindow(Edit(), on);
  EnableWindow(arrows_, on);
  EnableWindow(hwnd_, on);
}

void SpinField::StepBy(int direction) {
  SetWindowTextW(
      Edit(),
      std::to_wstring(SpinStep(Narrow(TextOf(Edit())), min_, max_, step_, direction)).c_str());
  SendMessageW(Edit(), EM_SETSEL, 0, -1);
}

void SpinField::OnLeave() {
  if (auto v = SpinValueOnLeave(Narrow(TextOf(Edit())), min_, max_)) SetValue(*v);
}

bool SpinField::OnNotify(const NMHDR* hdr) {
  if (hdr->hwndFrom != arrows_ || hdr->code != UDN_DELTAPOS) return false;
  const auto* ud = reinterpret_cast<const NMUPDOWN*>(hdr);
  StepBy(ud->iDelta > 0 ? 1 : -1);
  return true;
}

LRESULT SpinField::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NOTIFY:
      // Nonzero keeps the arrows' own position.
      return OnNotify(reinterpret_cast<const NMHDR*>(lp)) ? 1 : 0;
    case WM_VSCROLL:
      return 0;
    case WM_SETFOCUS:
      SetFocus(Edit());
      return 0;
    // The edit's notifications and colours are the dialog's, as for any edit field.
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return SendMessageW(GetParent(hwnd_), msg, wp, lp);
  }
  return Default(msg, wp, lp);
}

LRESULT SpinField::EditKeys::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE:
      // Enter must reach the field, which refuses it, rather than press a default button.
      if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN &&
          reinterpret_cast<const MSG*>(lp)->wParam == VK_RETURN)
        return DLGC_WANTALLKEYS;
      return Default(msg, wp, lp) | DLGC_WANTARROWS;
    case WM_CHAR:
      if (!SpinAcceptsChar(static_cast<char32_t>(wp), DecimalSeparator())) {
        MessageBeep(0);
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (wp == VK_UP || wp == VK_DOWN) {
        owner_->StepBy(wp == VK_UP ? 1 : -1);
        return 0;
      }
      break;
    case WM_KILLFOCUS:
      owner_->OnLeave();
      break;
  }
  return Default(msg, wp, lp);
}

LRESULT SpinField::ArrowClicks::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The focus first, so that the other field's leaving runs before this one steps.
      if (GetFocus() != edit_) SetFocus(edit_);
      break;
    case WM_LBUTTONUP: {
      // A release that ends a press selects the whole value, stepped or not.
      const bool pressed = GetCapture() == Handle();
      const LRESULT r = Default(msg, wp, lp);
      if (pressed) SendMessageW(edit_, EM_SETSEL, 0, -1);
      return r;
    }
  }
  return Default(msg, wp, lp);
}

void DrawBitButton(const DRAWITEMSTRUCT& item, const Glyph& glyph) {
  HDC dc = item.hDC;
  RECT rc = item.rcItem;
  const bool pushed = item.itemState & ODS_SELECTED;
  const bool disabled = item.itemState & ODS_DISABLED;
  if (HTHEME theme = OpenThemeData(item.hwndItem, L"BUTTON")) {
    const int state = disabled ? PBS_DISABLED : pushed ? PBS_PRESSED : PBS_NORMAL;
    DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &rc, nullptr);
    CloseThemeData(theme);
  } else {
    DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  }
  const std::wstring caption = TextOf(item.hwndItem);
  ScopedSelect font(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
  RECT text{0, 0, 0, 0};
  DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
  BITMAP bm{};
  if (glyph.bitmap) GetObjectW(glyph.bitmap.Get(), sizeof(bm), &bm);
  const int gw = glyph.bitmap ? bm.bmWidth / glyph.count : 0, gh = bm.bmHeight;
  const int spacing = glyph.bitmap ? 4 : 0;
  const int shift = pushed ? 1 : 0;
  const int total = gw + spacing + (text.right - text.left);
  int x = (rc.left + rc.right - total) / 2 + shift;
  const int mid = (rc.top + rc.bottom) / 2 + shift;
  if (glyph.bitmap) {
    MemoryDC mem(dc);
    ScopedSelect sel(mem.Get(), glyph.bitmap.Get());
    const COLORREF key = GetPixel(mem.Get(), 0, gh - 1);
    const int index = disabled && glyph.count > 1 ? 1 : 0;
    TransparentBlt(dc, x, mid - gh / 2, gw, gh, mem.Get(), index * gw, 0, gw, gh, key);
    x += gw + spacing;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  const int th = text.bottom - text.top;
  RECT place{x, mid - th / 2, x + text.right - text.left, mid - th / 2 + th};
  DrawTextW(dc, caption.c_str(), -1, &place,
            DT_SINGLELINE | ((item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0));
  if (item.itemState & ODS_FOCUS) {
    RECT focus = rc;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

namespace {

// Draws an 18 x 18 picture on a background of the transparent colour.
template <typename F>
Bitmap DrawGlyph(F&& draw) {
  const WindowDC screen;
  MemoryDC dc(screen.Get());
  Bitmap bmp(CreateCompatibleBitmap(screen.Get(), 18, 18));
  ScopedSelect sel(dc.Get(), bmp.Get());
  RECT all{0, 0, 18, 18};
  const Brush key(CreateSolidBrush(RGB(0, 128, 128)));
  FillRect(dc.Get(), &all, key.Get());
  draw(dc.Get());
  return bmp;
}

}  // namespace

Bitmap CreateCancelGlyph() {
  return DrawGlyph([](HDC dc) {
    const Pen pen(CreatePen(PS_SOLID, 3, RGB(200, 0, 0)));
    ScopedSelect sel(dc, pen.Get());
    MoveToEx(dc, 4, 4, nullptr);
    LineTo(dc, 13, 13);
    MoveToEx(dc, 13, 4, nullptr);
    LineTo(dc, 4, 13);
  });
}

Bitmap CreateHelpGlyph() {
  return DrawGlyph([](HDC dc) {
    const Font font = MakeFont(L"Arial", -17, false, FW_BOLD, NONANTIALIASED_QUALITY);
    ScopedSelect sel(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 160));
    RECT rc{1, 0, 17, 17};
    DrawTextW(dc, L"?", 1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  });
}

}  // namespace coiffure
