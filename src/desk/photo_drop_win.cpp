#include "desk/photo_drop_win.h"

#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr const wchar_t* kClassName = L"CoiffurePhotoDrop";
constexpr const char* kTitle = "顾客照片：把一张照片拖到这个框里";
// The text's margins inside the frame; a long file name without blanks is broken as an edit
// control breaks it rather than run out of the box.
constexpr int kMarginX = 10, kMarginY = 6;
constexpr UINT kTextFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;

std::wstring TextOf(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), int(text.size()))));
  return text;
}

}  // namespace

std::vector<std::string> DroppedFiles(HDROP drop) {
  std::vector<std::string> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
    files.push_back(Narrow(name));
  }
  DragFinish(drop);
  return files;
}

HWND PhotoDropZone::Create(HWND parent, HFONT font) {
  font_ = font;
  Register({kClassName, GetSysColorBrush(COLOR_WINDOW), CS_HREDRAW | CS_VREDRAW});
  CreateWin(WS_EX_ACCEPTFILES, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent);
  SetNotice("它会替换 Coiffure 的照片 ml_data\\test.bmp");
  return hwnd_;
}

void PhotoDropZone::SetNotice(const std::string& notice) {
  SetWindowTextW(hwnd_, Widen(std::string(kTitle) + "\n" + notice).c_str());
  InvalidateRect(hwnd_, nullptr, TRUE);
}

int PhotoDropZone::HeightFor(int width) const {
  if (!hwnd_) return 0;
  const WindowDC dc(hwnd_);
  const ScopedSelect select(dc.Get(), font_);
  RECT r{0, 0, width - 2 * kMarginX, 0};
  DrawTextW(dc.Get(), TextOf(hwnd_).c_str(), -1, &r, DT_CALCRECT | kTextFormat);
  return r.bottom + 2 * kMarginY + 2;
}

LRESULT PhotoDropZone::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      const PaintDC dc(hwnd_);
      Paint(dc.Get());
      return 0;
    }
    case WM_DROPFILES:
      on_drop_(DroppedFiles(reinterpret_cast<HDROP>(wp)));
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

void PhotoDropZone::Paint(HDC dc) {
  RECT r;
  GetClientRect(hwnd_, &r);
  // Short dashes, as drop targets are commonly framed.
  static constexpr DWORD kDashes[] = {4, 3};
  const LOGBRUSH colour{BS_SOLID, GetSysColor(COLOR_GRAYTEXT), 0};
  const Pen pen(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, &colour, 2, kDashes));
  const ScopedSelect select_pen(dc, pen.Get());
  const ScopedSelect select_brush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  const ScopedSelect select_font(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT inside{r.left + kMarginX, r.top + kMarginY, r.right - kMarginX, r.bottom - kMarginY};
  DrawTextW(dc, TextOf(hwnd_).c_str(), -1, &inside, kTextFormat);
}

}  // namespace coiffure
