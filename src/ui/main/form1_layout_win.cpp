// The main window's controls, menus and toolbars, placed as the form lays them out.
#include <algorithm>

#include "gallery/gallery_win.h"
#include "resource.h"
#include "toolkit/text_win.h"
#include "ui/main/form1_win.h"

namespace coiffure {

namespace {
constexpr int kPaintTop = 23, kPaintWidth = 529, kPaintHeight = 444;
constexpr int kStatusTop = kPaintTop + kPaintHeight, kStatusHeight = 19;
constexpr int kToolBarHeight = 24;
constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kStatusPanelWidths[3] = {550, 60, 50};
}  // namespace

void TForm1::CreateControls() {
  PaintBoxEvents ev;
  ev.paint = [this](HDC dc, int w, int h) { PaintBox1Paint(dc, w, h); };
  ev.mouse_down = [this](Point p) { PaintBox1MouseDown(p); };
  ev.mouse_move = [this](Point p) { PaintBox1MouseMove(p); };
  ev.mouse_up = [this](Point p) { PaintBox1MouseUp(p); };
  ev.click = [this] { PaintBox1Click(); };
  paintbox_ = std::make_unique<PaintBox>(hwnd_, 0, kPaintTop, kPaintWidth, kPaintHeight, ev);

  // Image3 lies over the paint box's lower-left corner and takes the mouse there (SS_NOTIFY).
  image3_bitmap_ = LoadBitmapResource(IDB_IMAGE3);
  image3_ = CreateWindowExW(0, L"STATIC", L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_BITMAP | SS_NOTIFY, 0, 321,
                            160, 146, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(image3_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image3_bitmap_.Get()));
  SetWindowPos(image3_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  splitter_ = std::make_unique<Splitter>(
      hwnd_, kPaintWidth, kPaintTop, 4, kPaintHeight,
      [](int proposed) { return SplitterPaintBoxWidth(proposed); },
      [this](int width) { ApplyPaintBoxWidth(width); });

  // Placed by the layout, not by the control: its own height would follow the font and overlap
  // the paint box's last row.
  statusbar_ = CreateWindowExW(
      0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN, 0,
      kStatusTop, kClientWidth, kStatusHeight, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(statusbar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  // Fixed widths, the last panel too: its right edge is 660, not the window's edge.
  int edges[3];
  for (int i = 0, sum = 0; i < 3; ++i) edges[i] = (sum += kStatusPanelWidths[i]);
  SendMessageW(statusbar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  SetStatusText(0, "状态:");
  SetStatusText(1, "图片位置");
  SetStatusText(2, "x:              y:");

  panel1_ = std::make_unique<RaisedPanel>(hwnd_, kPaintWidth + 4, kPaintTop,
                                          kClientWidth - kPaintWidth - 4, kPaintHeight);
  listview_ = CreateWindowExW(0, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_ICON | LVS_AUTOARRANGE |
                                  LVS_SINGLESEL | LVS_EDITLABELS | LVS_SHAREIMAGELISTS,
                              1, 1, kClientWidth - kPaintWidth - 4 - 2, kPaintHeight - 2,
                              panel1_->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(listview_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  const COLORREF back = GetSysColor(COLOR_MENUTEXT);
  ListView_SetBkColor(listview_, back);
  ListView_SetTextBkColor(listview_, back);
  ListView_SetTextColor(listview_, kLime);
  thumbnails_ = CreateGalleryImageList(listview_);
  // One 200-pixel column that fits beside the scroll bar, so no sideways scrolling.
  ListView_SetIconSpacing(listview_, 206, 222);

  coolbar_ = std::make_unique<BandBar>(hwnd_, 0, 0, kClientWidth, kPaintTop, IDB_BAND);
  coolbar_->SetBandStarts(0, 239);
  CreateToolBars();
}

HWND TForm1::CreateToolBar(const std::vector<ToolButtonInfo>& infos, int x, int width,
                           RaisedTopEdge& edge) {
  HWND tb = CreateWindowExW(
      0, TOOLBARCLASSNAMEW, L"",
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT |
          TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
      x, 0, width, kToolBarHeight, coolbar_->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  edge.Attach(tb);
  SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(tb, TB_SETPARENT, reinterpret_cast<WPARAM>(hwnd_), 0);
  SendMessageW(tb, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imagelist1_.Get()));
  SendMessageW(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
  std::vector<TBBUTTON> buttons;
  for (const ToolButtonInfo& info : infos) {
    TBBUTTON b{};
    if (info.icon < 0) {
      b.iBitmap = 8;  // separator width
      b.fsStyle = BTNS_SEP;
    } else {
      b.iBitmap = info.icon;
      b.idCommand = info.id;
      b.fsState = info.enabled ? TBSTATE_ENABLED : 0;
      b.fsStyle = BTNS_BUTTON;
      buttons_.emplace_back(*this, tb, info.id);
    }
    buttons.push_back(b);
  }
  SendMessageW(tb, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageW(tb, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 22));
  SendMessageW(tb, TB_AUTOSIZE, 0, 0);
  MoveWindow(tb, x, 0, width, kToolBarHeight, FALSE);
  return tb;
}

void TForm1::CreateToolBars() {
  imagelist1_.Reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 13, 0));
  Bitmap strip = LoadBitmapResource(IDB_TOOLBAR);
  if (strip) ImageList_AddMasked(imagelist1_.Get(), strip.Get(), kMagenta);
  buttons_.reserve(16);
  toolbar1_ = CreateToolBar(ToolBar1Buttons(), 9, 226, toolbar1_edge_);
  toolbar2_ = CreateToolBar(ToolBar2Buttons(), 248, 512, toolbar2_edge_);
  for (const auto* bar : {&ToolBar1Buttons(), &ToolBar2Buttons()})
    for (const ToolButtonInfo& info : *bar)
      if (info.id != kCmdNone) {
        const size_t i = static_cast<size_t>(info.id - kToolButton1);
        if (hints_.size() <= i) hints_.resize(i + 1);
        hints_[i] = Widen(info.hint);
      }
}

namespace {

void AppendEntries(HMENU menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& e : entries) {
    if (e.IsSeparator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring text = Widen(e.caption);
    if (!e.shortcut.text.empty()) text += L"\t" + Widen(e.shortcut.text);
    if (!e.children.empty()) {
      HMENU sub = CreatePopupMenu();
      AppendEntries(sub, e.children);
      AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), text.c_str());
      continue;
    }
    AppendMenuW(menu, MF_STRING | (e.enabled ? 0 : MF_GRAYED), e.id, text.c_str());
  }
}

}  // namespace

void TForm1::CreateMenuBar() {
  menu_ = CreateMenu();
  AppendEntries(menu_, MainMenu());
}

void TForm1::ApplyPaintBoxWidth(int width) {
  width = SplitterPaintBoxWidth(width);
  MoveWindow(paintbox_->Handle(), 0, kPaintTop, width, kPaintHeight, TRUE);
  MoveWindow(splitter_->Handle(), width, kPaintTop, 4, kPaintHeight, TRUE);
  const int panel_w = kClientWidth - width - 4;
  MoveWindow(panel1_->Handle(), width + 4, kPaintTop, panel_w, kPaintHeight, TRUE);
  MoveWindow(listview_, 1, 1, panel_w - 2, kPaintHeight - 2, TRUE);
  Repaint();  // the photo is centred in the new width
}

}  // namespace coiffure
