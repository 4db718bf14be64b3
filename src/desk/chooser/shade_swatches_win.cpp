#include "desk/chooser/shade_swatches_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include "desk/chooser/shade_chooser.h"
#include "imaging/oklab.h"
#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

HWND MakeButton(HWND parent, const std::string& text, int id, DWORD style) {
  return CreateWindowExW(0, L"BUTTON", Widen(text).c_str(), WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

COLORREF Ref(Bgr c) {
  return RGB(c.r, c.g, c.b);
}

// A tick in the colour block's right end, dark on light shades and light on dark ones.
void DrawTick(HDC dc, const RECT& block, Bgr shade) {
  const COLORREF ink = BgrToOklab(shade).L > 0.62f ? RGB(0, 0, 0) : RGB(255, 255, 255);
  const Pen pen(CreatePen(PS_SOLID, 3, ink));
  const ScopedSelect select(dc, pen.Get());
  const int x = block.right - 22, y = (block.top + block.bottom) / 2;
  const POINT tick[] = {{x, y}, {x + 5, y + 6}, {x + 15, y - 7}};
  Polyline(dc, tick, 3);
}

}  // namespace

ShadeSwatches::ShadeSwatches(int columns, bool one_at_a_time)
    : shades_(ShadePalette()), columns_(columns), one_at_a_time_(one_at_a_time) {
  shades_.push_back(CustomShade({}));
  on_.assign(shades_.size(), false);
}

void ShadeSwatches::Create(HWND parent, HFONT font, int line_height) {
  line_height_ = line_height;
  for (size_t i = 0; i < shades_.size(); ++i) {
    const DWORD first = i == 0 ? WS_GROUP | WS_TABSTOP : 0;
    const bool custom = i + 1 == shades_.size();
    const std::string name = custom ? "自选颜色" : shades_[i].name;
    buttons_.push_back(MakeButton(parent, name, kFirstId + static_cast<int>(i),
                                  BS_OWNERDRAW | first | (custom ? 0 : WS_VISIBLE)));
    SetWindowSubclass(buttons_.back(), &SwatchProc, i, reinterpret_cast<DWORD_PTR>(this));
  }
  other_ = MakeButton(parent, "其他颜色(&O)...", kOtherId,
                      WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON);
  for (HWND b : buttons_) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(other_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

int ShadeSwatches::Place(int x, int y, int width) {
  const int w = std::max(1, (width - (columns_ - 1) * kGap) / columns_);
  const int last_row = PaletteRows(columns_);
  const int h = SwatchHeight(line_height_);
  const auto at = [&](int column, int row, HWND button, int span = 1) {
    MoveWindow(button, x + column * (w + kGap), y + row * (h + kGap), span * w + (span - 1) * kGap,
               h, TRUE);
  };
  for (size_t i = 0; i + 1 < buttons_.size(); ++i)
    at(static_cast<int>(i) % columns_, static_cast<int>(i) / columns_, buttons_[i]);
  // The last row: "其他颜色..." as tall as a push button, then the colour it gave.
  const int button_height = std::min(h, 30);
  MoveWindow(other_, x, y + last_row * (h + kGap) + (h - button_height) / 2, 2 * w + kGap,
             button_height, TRUE);
  at(2, last_row, buttons_.back());
  return HeightFor(line_height_, columns_);
}

bool ShadeSwatches::OnCommand(HWND owner, int id) {
  if (id >= kFirstId && id < kFirstId + static_cast<int>(buttons_.size())) {
    Toggle(static_cast<size_t>(id - kFirstId));
    return true;
  }
  if (id != kOtherId) return false;
  static COLORREF kept[16] = {};  // the dialog's own custom colours, for the rest of the run
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = owner;
  cc.rgbResult = last_colour_ ? Ref(*last_colour_) : 0;
  cc.lpCustColors = kept;
  cc.Flags = CC_FULLOPEN | (last_colour_ ? CC_RGBINIT : 0);
  if (!ChooseColorW(&cc)) return false;
  SetCustom({GetBValue(cc.rgbResult), GetGValue(cc.rgbResult), GetRValue(cc.rgbResult)});
  return true;
}

void ShadeSwatches::SetCustom(Bgr colour) {
  if (const std::optional<size_t> shade = PaletteShadeOf(colour)) {
    if (!on_[*shade]) Toggle(*shade);
    last_on_ = *shade;
    last_colour_ = colour;
    return;
  }
  shades_.back() = CustomShade(colour);
  have_custom_ = true;
  SetWindowTextW(buttons_.back(), Widen(shades_.back().name).c_str());
  ShowWindow(buttons_.back(), SW_SHOW);
  on_.back() = false;
  Toggle(shades_.size() - 1);
}

void ShadeSwatches::Toggle(size_t swatch) {
  if (swatch >= on_.size()) return;
  on_[swatch] = !on_[swatch];
  if (on_[swatch] && one_at_a_time_)
    for (size_t other = 0; other < on_.size(); ++other)
      if (other != swatch && on_[other]) {
        on_[other] = false;
        InvalidateRect(buttons_[other], nullptr, FALSE);
      }
  if (on_[swatch]) {
    last_on_ = swatch;
    last_colour_ = shades_[swatch].mean;
  }
  InvalidateRect(buttons_[swatch], nullptr, FALSE);
}

std::vector<Shade> ShadeSwatches::Chosen() const {
  std::vector<Shade> chosen;
  for (size_t i = 0; i < shades_.size(); ++i)
    if (on_[i]) chosen.push_back(shades_[i]);
  return chosen;
}

size_t ShadeSwatches::LastChosen() const {
  if (!on_[last_on_]) return 0;
  size_t place = 0;
  for (size_t i = 0; i < last_on_; ++i) place += on_[i];
  return place;
}

LRESULT CALLBACK ShadeSwatches::SwatchProc(HWND button, UINT msg, WPARAM wp, LPARAM lp,
                                           UINT_PTR index, DWORD_PTR self) {
  auto* swatches = reinterpret_cast<ShadeSwatches*>(self);
  switch (msg) {
    case WM_GETDLGCODE:  // the arrows are the swatch's own: the dialog keys would go in a line
      return DefSubclassProc(button, msg, wp, lp) | DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (swatches->MoveFocus(index, wp)) return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(button, &SwatchProc, index);
      break;
  }
  return DefSubclassProc(button, msg, wp, lp);
}

bool ShadeSwatches::MoveFocus(size_t from, WPARAM key) {
  static constexpr std::pair<WPARAM, Arrow> kArrows[] = {{VK_LEFT, Arrow::kLeft},
                                                         {VK_RIGHT, Arrow::kRight},
                                                         {VK_UP, Arrow::kUp},
                                                         {VK_DOWN, Arrow::kDown}};
  for (const auto& [vk, arrow] : kArrows) {
    if (vk != key) continue;
    SetFocus(buttons_[SwatchAfterArrow(from, arrow, shades_.size() - 1, columns_, have_custom_)]);
    return true;
  }
  return false;
}

bool ShadeSwatches::Draw(const DRAWITEMSTRUCT& item) {
  const int i = static_cast<int>(item.CtlID) - kFirstId;
  if (i < 0 || i >= static_cast<int>(buttons_.size())) return false;
  const size_t s = static_cast<size_t>(i);
  const HDC dc = item.hDC;
  RECT r = item.rcItem;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (on_[s]) {
    // Chosen: a frame three pixels wide in the selection colour, and a tick.
    RECT frame = r;
    for (int k = 0; k < 3; ++k, InflateRect(&frame, -1, -1))
      FrameRect(dc, &frame, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  RECT block{r.left + 5, r.top + 5, r.right - 5, r.top + 5 + kBlockHeight};
  const Brush fill(CreateSolidBrush(Ref(shades_[s].mean)));
  FillRect(dc, &block, fill.Get());
  FrameRect(dc, &block, GetSysColorBrush(COLOR_BTNSHADOW));
  if (on_[s]) DrawTick(dc, block, shades_[s].mean);
  RECT text{r.left + 4, block.bottom + 1, r.right - 4, r.bottom - 4};
  const ScopedSelect font(dc,
                          reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const std::wstring name = Widen(s + 1 == shades_.size() ? "自选" : shades_[s].name);
  DrawTextW(dc, name.c_str(), -1, &text, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &text);
  return true;
}

}  // namespace coiffure
