#include "settings/widgets_win.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vsstyle.h>

#include <string>

#include "settings/settings.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr wchar_t kFrameClass[] = L"CoiffureFrame";
constexpr wchar_t kFontProp[] = L"CoiffureFont";

std::wstring TextOf(HWND hwnd) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), static_cast<int>(s.size()))));
  return s;
}

void PaintFrame(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT rc;
  GetClientRect(hwnd, &rc);
  HFONT font = static_cast<HFONT>(GetPropW(hwnd, kFontProp));
  HGDIOBJ old_font = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  const std::wstring caption = TextOf(hwnd);
  const auto kind = static_cast<FrameKind>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (kind == FrameKind::kPanel) {
    DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
    DrawTextW(dc, caption.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else {
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    RECT frame = rc;
    frame.top = caption.empty() ? 0 : tm.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
      RECT text{8, 0, rc.right - 8, tm.tmHeight};
      DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      RECT gap{text.left - 1, text.top, text.right + 1, text.bottom};
      FillRect(dc, &gap, GetSysColorBrush(COLOR_BTNFACE));
      DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_NOPREFIX);
    }
  }
  SelectObject(dc, old_font);
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT:
      PaintFrame(hwnd);
      return 0;
    case WM_SETFONT:
      SetPropW(hwnd, kFontProp, reinterpret_cast<HANDLE>(wp));
      if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(GetPropW(hwnd, kFontProp));
    case WM_ENABLE:
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_NCDESTROY:
      RemovePropW(hwnd, kFontProp);
      break;
    // The controls inside report to the window that owns their handlers.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return SendMessageW(GetParent(hwnd), msg, wp, lp);
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterFrameClass(HINSTANCE inst) {
  WNDCLASSW wc{};
  if (GetClassInfoW(inst, kFrameClass, &wc)) return;
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kFrameClass;
  RegisterClassW(&wc);
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

HWND CreateFrame(HWND parent, FrameKind kind, const wchar_t* caption, int id, int x, int y, int w,
                 int h, HFONT font) {
  RegisterFrameClass(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)));
  HWND hwnd = CreateChild(parent, kFrameClass, caption, WS_CLIPSIBLINGS, id, x, y, w, h, font,
                          WS_EX_CONTROLPARENT);
  if (hwnd) SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(kind));
  return hwnd;
}

void SpinField::Create(HWND parent, int id, int x, int y, int w, int h, HFONT font, int32_t min,
                       int32_t max, int32_t step, int32_t value) {
  min_ = min;
  max_ = max;
  step_ = step;
  edit_ = CreateChild(parent, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL | WS_CLIPCHILDREN, id, x,
                      y, w, h, font, WS_EX_CLIENTEDGE);
  // The arrows sit inside the field's right end, as a child of it, so the field keeps its whole
  // place; their own range and position are unused.
  RECT client;
  GetClientRect(edit_, &client);
  constexpr int kArrowWidth = 11;
  arrows_ = CreateChild(edit_, UPDOWN_CLASSW, L"", 0, 0, client.right - kArrowWidth, 0, kArrowWidth,
                        client.bottom, font);
  SendMessageW(edit_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, kArrowWidth));
  SendMessageW(arrows_, UDM_SETRANGE32, 0, 100);
  SendMessageW(arrows_, UDM_SETPOS32, 0, 50);
  SetWindowSubclass(edit_, EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SetValue(value);
}

int32_t SpinField::Value() const {
  return SpinValueFromText(Narrow(TextOf(edit_)), min_);
}

void SpinField::SetValue(int32_t v) {
  SetWindowTextW(edit_, std::to_wstring(SpinClamp(v, min_, max_)).c_str());
}

void SpinField::Enable(bool on) {
  EnableWindow(edit_, on);
  EnableWindow(arrows_, on);
}

void SpinField::StepBy(int direction) {
  SetWindowTextW(
      edit_,
      std::to_wstring(SpinStep(Narrow(TextOf(edit_)), min_, max_, step_, direction)).c_str());
  SendMessageW(edit_, EM_SETSEL, 0, -1);
}

void SpinField::OnLeave() {
  if (auto v = SpinValueOnLeave(Narrow(TextOf(edit_)), min_, max_)) SetValue(*v);
}

bool SpinField::OnNotify(const NMHDR* hdr) {
  if (hdr->hwndFrom != arrows_ || hdr->code != UDN_DELTAPOS) return false;
  const auto* ud = reinterpret_cast<const NMUPDOWN*>(hdr);
  StepBy(ud->iDelta > 0 ? 1 : -1);
  return true;
}

LRESULT CALLBACK SpinField::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                     DWORD_PTR data) {
  auto* self = reinterpret_cast<SpinField*>(data);
  switch (msg) {
    case WM_GETDLGCODE:
      // Enter must reach the field, which refuses it, rather than press a default button.
      if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN &&
          reinterpret_cast<const MSG*>(lp)->wParam == VK_RETURN)
        return DLGC_WANTALLKEYS;
      return DefSubclassProc(hwnd, msg, wp, lp) | DLGC_WANTARROWS;
    case WM_CHAR:
      if (!SpinAcceptsChar(static_cast<char32_t>(wp), DecimalSeparator())) {
        MessageBeep(0);
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (wp == VK_UP || wp == VK_DOWN) {
        self->StepBy(wp == VK_UP ? 1 : -1);
        return 0;
      }
      break;
    case WM_KILLFOCUS:
      self->OnLeave();
      break;
    case WM_NOTIFY:
      // Nonzero keeps the arrows' own position: the field does its own stepping.
      return self->OnNotify(reinterpret_cast<const NMHDR*>(lp)) ? 1 : 0;
    case WM_VSCROLL:
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, EditProc, 1);
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
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
  HGDIOBJ old_font =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
  RECT text{0, 0, 0, 0};
  DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
  BITMAP bm{};
  if (glyph.bitmap) GetObjectW(glyph.bitmap, sizeof(bm), &bm);
  const int gw = glyph.bitmap ? bm.bmWidth / glyph.count : 0, gh = bm.bmHeight;
  const int spacing = glyph.bitmap ? 4 : 0;
  const int shift = pushed ? 1 : 0;
  const int total = gw + spacing + (text.right - text.left);
  int x = (rc.left + rc.right - total) / 2 + shift;
  const int mid = (rc.top + rc.bottom) / 2 + shift;
  if (glyph.bitmap) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old_bm = SelectObject(mem, glyph.bitmap);
    const COLORREF key = GetPixel(mem, 0, gh - 1);
    const int index = disabled && glyph.count > 1 ? 1 : 0;
    TransparentBlt(dc, x, mid - gh / 2, gw, gh, mem, index * gw, 0, gw, gh, key);
    SelectObject(mem, old_bm);
    DeleteDC(mem);
    x += gw + spacing;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  const int th = text.bottom - text.top;
  RECT place{x, mid - th / 2, x + text.right - text.left, mid - th / 2 + th};
  DrawTextW(dc, caption.c_str(), -1, &place,
            DT_SINGLELINE | ((item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0));
  SelectObject(dc, old_font);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = rc;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

namespace {

// Draws an 18 x 18 picture on a background of the transparent colour.
template <typename F>
HBITMAP DrawGlyph(F&& draw) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 18, 18);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all{0, 0, 18, 18};
  HBRUSH key = CreateSolidBrush(RGB(0, 128, 128));
  FillRect(dc, &all, key);
  DeleteObject(key);
  draw(dc);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bmp;
}

}  // namespace

HBITMAP CreateCancelGlyph() {
  return DrawGlyph([](HDC dc) {
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(200, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 4, 4, nullptr);
    LineTo(dc, 13, 13);
    MoveToEx(dc, 13, 4, nullptr);
    LineTo(dc, 4, 13);
    SelectObject(dc, old);
    DeleteObject(pen);
  });
}

HBITMAP CreateHelpGlyph() {
  return DrawGlyph([](HDC dc) {
    HFONT font =
        CreateFontW(-17, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 160));
    RECT rc{1, 0, 17, 17};
    DrawTextW(dc, L"?", 1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(font);
  });
}

}  // namespace coiffure
