#include "desk/chooser/shade_chooser_win.h"

#include <windowsx.h>

#include <algorithm>

#include "import/customer_photo.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr const wchar_t* kClassName = L"CoiffureShadeChooser";
constexpr UINT kReplanMessage = WM_APP + 20;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr int kPad = 12, kGap = 4, kButtonHeight = 30, kMakeWidth = 200, kCloseWidth = 100;
constexpr int kIconSpacingX = kThumbSide + 12, kNoteLines = 3;

SIZE WindowSizeFor(SIZE client) {
  RECT r{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&r, kStyle, FALSE, 0);
  return {r.right - r.left, r.bottom - r.top};
}

HWND MakeChild(HWND parent, const wchar_t* cls, const std::string& text, DWORD style, int id = 0,
               DWORD ex_style = 0) {
  return CreateWindowExW(ex_style, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
                         0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

void CopyText(const std::string& text, LVITEMW& item) {
  if (item.cchTextMax > 0) lstrcpynW(item.pszText, Widen(text).c_str(), item.cchTextMax);
}

}  // namespace

ShadeChooser::ShadeChooser(std::string library_folder, std::string photo_path, MakeFn make)
    : library_(std::move(library_folder)),
      photo_path_(photo_path),
      make_(std::move(make)),
      preview_(std::move(photo_path)),
      blank_(MakeThumbnail(Picture::Create24(kThumbSide, kThumbSide, {255, 255, 255}))) {}

HWND ShadeChooser::Create(HWND owner, HFONT font) {
  font_ = font;
  const std::unique_ptr<DirectorySearch> search =
      SearchFolder(library_ + "*.bmp", kLibraryAttrMask);
  std::vector<DirEntry> files;
  for (DirEntry e; search->Next(e);) files.push_back(e);
  styles_ = OfferedStyles(files);
  library_names_ = FolderNames(files);
  Register({kClassName, GetSysColorBrush(COLOR_BTNFACE)});
  CreateWin(0, kClassName, Widen("换发色 - Coiffure 发型导入").c_str(), kStyle, CW_USEDEFAULT,
            CW_USEDEFAULT, 0, 0, owner);
  // As large as a third thumbnail column and a taller list need, within the screen's work area.
  RECT work{0, 0, 1280, 1024};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const SIZE min = MinClientSize();
  SIZE size = WindowSizeFor({min.cx + kIconSpacingX, min.cy + 160});
  size.cx = std::max(WindowSizeFor(min).cx, std::min<LONG>(size.cx, work.right - work.left));
  size.cy = std::max(WindowSizeFor(min).cy, std::min<LONG>(size.cy, work.bottom - work.top));
  SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - size.cx) / 2,
               work.top + (work.bottom - work.top - size.cy) / 2, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Replan();
  return hwnd_;
}

LRESULT ShadeChooser::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_SIZE:
      FormResize(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_GETMINMAXINFO:
      SetMinTrackSize(lp, WindowSizeFor(MinClientSize()));
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) return 0;
      if (LOWORD(wp) == IDOK) MakeClick();
      if (LOWORD(wp) == IDCANCEL) Close();
      if (swatches_.OnCommand(hwnd_, LOWORD(wp))) Replan();
      return 0;
    case WM_DRAWITEM:
      return swatches_.Draw(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case kReplanMessage:
      replan_posted_ = false;
      Replan();
      return 0;
    case WM_ACTIVATE:
      // The keyboard focus comes back to the control that had it (after the colour dialog).
      if (LOWORD(wp) == WA_INACTIVE)
        last_focus_ = GetFocus();
      else
        SetFocus(hwnd_);
      return 0;
    case WM_NEXTDLGCTL:
      MoveFocusAsDialogAsks(hwnd_, wp, lp);
      return 0;
    case WM_SETFOCUS:
      SetFocus(last_focus_ && IsChild(hwnd_, last_focus_) ? last_focus_ : styles_list_);
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

void ShadeChooser::FormCreate() {
  line_height_ = LineHeight(hwnd_, font_);
  // Created in the order the Tab key goes through them; a label's access key reaches the
  // control after it.
  styles_label_ =
      MakeChild(hwnd_, L"STATIC", "1. 选择发型(&F)：单击选一款，按住 Ctrl 单击可选多款", 0);
  CreateStyleList();
  shades_label_ = MakeChild(hwnd_, L"STATIC", "2. 选择发色(&C)：单击色块选中或取消，可选多种", 0);
  swatches_.Create(hwnd_, font_, line_height_);
  plan_label_ = MakeChild(hwnd_, L"STATIC", PlanCaption(0, 0), 0);
  CreatePlanList();
  preview_label_ =
      MakeChild(hwnd_, L"STATIC", "预览：换了发色的发型叠在顾客照片上（还没有生成）", SS_NOPREFIX);
  preview_.Create(hwnd_, 0, 0, font_);
  note_ =
      MakeChild(hwnd_, L"STATIC",
                "生成的新发型保存在发型库 ml_fx 中，原来的发型不变；每款新发型在导入窗口的列表中"
                "占一行，单击它可以再看预览。重新启动 Coiffure 后即可在发型库中选用。",
                SS_NOPREFIX);
  make_button_ = MakeChild(hwnd_, L"BUTTON", "", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
  close_button_ = MakeChild(hwnd_, L"BUTTON", "关闭", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
  for (HWND child : {styles_label_, styles_list_, shades_label_, plan_label_, plan_list_,
                     preview_label_, note_, make_button_, close_button_})
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

void ShadeChooser::CreateStyleList() {
  // The gallery's look: its thumbnails on black, the names in lime green.
  styles_list_ =
      MakeChild(hwnd_, WC_LISTVIEWW, "",
                WS_TABSTOP | LVS_ICON | LVS_OWNERDATA | LVS_AUTOARRANGE | LVS_SHOWSELALWAYS, 0,
                WS_EX_CLIENTEDGE);
  images_ = ImageList_Create(kThumbSide, kThumbSide, ILC_COLOR24 | ILC_MASK,
                             static_cast<int>(kThumbnailCells), 0);
  ImageList_SetImageCount(images_, static_cast<UINT>(kThumbnailCells));
  ImageList_SetBkColor(images_, RGB(0, 0, 0));
  ListView_SetImageList(styles_list_, images_, LVSIL_NORMAL);
  ListView_SetBkColor(styles_list_, RGB(0, 0, 0));
  ListView_SetTextBkColor(styles_list_, RGB(0, 0, 0));
  ListView_SetTextColor(styles_list_, RGB(0, 255, 0));
  ListView_SetIconSpacing(styles_list_, kIconSpacingX, kThumbSide + 2 * line_height_ + 16);
  ListView_SetItemCountEx(styles_list_, static_cast<int>(styles_.size()), 0);
  run_selecting_.Attach(styles_list_);
}

void ShadeChooser::CreatePlanList() {
  plan_list_ = MakeChild(hwnd_, WC_LISTVIEWW, "",
                         WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                             LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                         0, WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(plan_list_, LVS_EX_FULLROWSELECT);
  int column = 0;
  for (auto [title, width] : {std::pair{"发型", 170}, {"发色", 90}, {"新发型的名称", 190}}) {
    const std::wstring text = Widen(title);
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.cx = width;
    c.pszText = const_cast<wchar_t*>(text.c_str());
    ListView_InsertColumn(plan_list_, column++, &c);
  }
}

SIZE ShadeChooser::MinClientSize() const {
  const int label = line_height_ + 4;
  const int swatches_width = ShadeSwatches::kColumns * ShadeSwatches::kMinWidth +
                             (ShadeSwatches::kColumns - 1) * ShadeSwatches::kGap;
  const int left = std::max(swatches_width, 2 * kIconSpacingX + GetSystemMetrics(SM_CXVSCROLL) + 4);
  const int thumbs = kThumbSide + 2 * line_height_ + 24;
  const int left_height = 3 * (label + kGap) + thumbs + ShadeSwatches::HeightFor(line_height_) +
                          PlanHeight() + 4 * kPad;
  const int right_height = 4 * kPad + label + kGap + kPaintBoxHeight + DeskPreview::kCaptionHeight +
                           kNoteLines * line_height_ + kButtonHeight;
  return {3 * kPad + left + kPaintBoxWidth, std::max(left_height, right_height)};
}

void ShadeChooser::FormResize(int width, int height) {
  const SIZE min = MinClientSize();
  width = std::max<int>(width, min.cx), height = std::max<int>(height, min.cy);
  const int label = line_height_ + 4, left = width - 3 * kPad - kPaintBoxWidth;
  // From the bottom up: the plan, the swatches; the thumbnails take what is left. Height beyond
  // the least goes a third to the plan, so that a taller window shows more planned variants.
  const int fixed = 3 * (label + kGap) + ShadeSwatches::HeightFor(line_height_) + 4 * kPad;
  const int thumbs_least = kThumbSide + 2 * line_height_ + 24;
  const int plan_height =
      PlanHeight() + std::max(0, height - fixed - thumbs_least - PlanHeight()) / 3;
  const int plan_top = height - kPad - plan_height;
  MoveWindow(plan_list_, kPad, plan_top, left, plan_height, TRUE);
  MoveWindow(plan_label_, kPad, plan_top - kGap - label, left, label, TRUE);
  const int swatches_top = plan_top - kGap - label - kPad - ShadeSwatches::HeightFor(line_height_);
  swatches_.Place(kPad, swatches_top, left);
  MoveWindow(shades_label_, kPad, swatches_top - kGap - label, left, label, TRUE);
  MoveWindow(styles_label_, kPad, kPad, left, label, TRUE);
  const int thumbs_top = kPad + label + kGap;
  // The platform's list invalidates every entry it moves, one by one: with hundreds that takes
  // longer than drawing the list once, so its drawing is held off while it is moved.
  SendMessageW(styles_list_, WM_SETREDRAW, FALSE, 0);
  MoveWindow(styles_list_, kPad, thumbs_top, left,
             swatches_top - 2 * kGap - label - kPad - thumbs_top, FALSE);
  ListView_Arrange(styles_list_, LVA_DEFAULT);
  SendMessageW(styles_list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(styles_list_, nullptr, TRUE);
  const int right = 2 * kPad + left;
  MoveWindow(preview_label_, right, kPad, kPaintBoxWidth, label, TRUE);
  MoveWindow(preview_.Handle(), right, thumbs_top, kPaintBoxWidth,
             kPaintBoxHeight + DeskPreview::kCaptionHeight, TRUE);
  const int buttons_top = height - kPad - kButtonHeight;
  MoveWindow(note_, right, buttons_top - kPad - kNoteLines * line_height_, kPaintBoxWidth,
             kNoteLines * line_height_, TRUE);
  MoveWindow(close_button_, right + kPaintBoxWidth - kCloseWidth, buttons_top, kCloseWidth,
             kButtonHeight, TRUE);
  MoveWindow(make_button_, right + kPaintBoxWidth - kCloseWidth - kPad - kMakeWidth, buttons_top,
             kMakeWidth, kButtonHeight, TRUE);
  RECT inside;
  GetClientRect(plan_list_, &inside);
  ListView_SetColumnWidth(plan_list_, 2,
                          std::max(120L, inside.right - ListView_GetColumnWidth(plan_list_, 0) -
                                             ListView_GetColumnWidth(plan_list_, 1)));
}

LRESULT ShadeChooser::OnNotify(NMHDR* header) {
  if (header->code == LVN_GETDISPINFOW) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    if (header->hwndFrom == styles_list_) StyleDispInfo(item);
    if (header->hwndFrom == plan_list_) PlanDispInfo(item);
    return 0;
  }
  if (header->hwndFrom == styles_list_ &&
      (header->code == LVN_ITEMCHANGED || header->code == LVN_ODSTATECHANGED))
    ReplanSoon();  // a click or a range selection can change many items: read them once
  if (header->hwndFrom == plan_list_ && header->code == LVN_ITEMCHANGED && !replanning_) {
    const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
        !(change->uOldState & LVIS_SELECTED))
      ShowVariant(change->iItem);
  }
  return 0;
}

void ShadeChooser::StyleDispInfo(LVITEMW& item) {
  if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= styles_.size()) return;
  const size_t style = static_cast<size_t>(item.iItem);
  if (item.mask & LVIF_TEXT) CopyText(styles_[style], item);
  if (item.mask & LVIF_IMAGE) {
    const ThumbnailSlots::Slot slot = slots_.For(style);
    if (slot.fresh) MakeThumbnailInto(slot.cell, style);
    item.iImage = slot.cell;
  }
}

void ShadeChooser::MakeThumbnailInto(int cell, size_t style) {
  ++thumbnails_made_;
  ImageListStore store(images_);
  try {
    loader_.Load(library_ + styles_[style], picture_);
    const bool fits = picture_.Width() >= kThumbSide && picture_.Height() >= kThumbSide;
    store.Replace(cell, fits ? MakeThumbnail(picture_) : blank_);
  } catch (const PictureError&) {
    // A picture the gallery cannot show gets an empty cell; its preview says why.
    try {
      store.Replace(cell, blank_);
    } catch (const PictureError&) {
    }
  }
}

void ShadeChooser::PlanDispInfo(LVITEMW& item) {
  if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<size_t>(item.iItem) >= plan_.size())
    return;
  const PlannedVariant& v = plan_[static_cast<size_t>(item.iItem)];
  const std::string texts[] = {styles_[chosen_[v.style]], shades_[v.shade].name,
                               v.why_not.empty() ? v.picture : "（不能生成：" + v.why_not + "）"};
  if (item.iSubItem >= 0 && item.iSubItem < 3) CopyText(texts[item.iSubItem], item);
}

void ShadeChooser::ReplanSoon() {
  if (replan_posted_) return;
  replan_posted_ = PostMessageW(hwnd_, kReplanMessage, 0, 0) != FALSE;
}

void ShadeChooser::Replan() {
  chosen_.clear();
  for (int i = -1; (i = ListView_GetNextItem(styles_list_, i, LVNI_SELECTED)) >= 0;)
    chosen_.push_back(static_cast<size_t>(i));
  std::vector<std::string> names;
  for (size_t i : chosen_) names.push_back(styles_[i]);
  shades_ = swatches_.Chosen();
  plan_ =
      PlanVariants(names, shades_, [this](const std::string& n) { return library_names_.Has(n); });
  ListView_SetItemCountEx(plan_list_, static_cast<int>(plan_.size()), 0);
  CountMakeable();
  // The style clicked last, in the shade turned on last.
  const int focused = ListView_GetNextItem(styles_list_, -1, LVNI_FOCUSED);
  const auto place = std::find(chosen_.begin(), chosen_.end(), static_cast<size_t>(focused));
  const int row =
      VariantToPreview(plan_, static_cast<size_t>(place - chosen_.begin()), swatches_.LastChosen());
  replanning_ = true;
  ListView_SetItemState(plan_list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (row >= 0) {
    ListView_SetItemState(plan_list_, row, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(plan_list_, row, FALSE);
  }
  replanning_ = false;
  ShowVariant(row);
}

void ShadeChooser::CountMakeable() {
  size_t makeable = 0;
  for (PlannedVariant& v : plan_) {
    const auto refused = refused_styles_.find(styles_[chosen_[v.style]]);
    if (v.why_not.empty() && refused != refused_styles_.end()) v.why_not = refused->second;
    makeable += v.why_not.empty();
  }
  SetWindowTextW(plan_label_, Widen(PlanCaption(plan_.size(), makeable)).c_str());
  SetWindowTextW(make_button_, Widen(MakeCaption(makeable)).c_str());
  EnableWindow(make_button_, makeable > 0);
  InvalidateRect(plan_list_, nullptr, FALSE);
}

void ShadeChooser::ShowVariant(int row) {
  if (row < 0 || static_cast<size_t>(row) >= plan_.size()) {
    preview_.Clear(NothingToPreviewHint(styles_.size(), chosen_.size(), shades_.size()));
    return;
  }
  const PlannedVariant& v = plan_[static_cast<size_t>(row)];
  const std::string& style = styles_[chosen_[v.style]];
  const auto read = [this](const std::string& name) { return ReadWholeFile(library_ + name); };
  std::string why_not;
  preview_.ShowComposed([&](Frame& frame) {
    return ComposeVariantPreview(style, shades_[v.shade], v.picture, read, photo_path_, frame,
                                 &why_not);
  });
  // A style that does not shade is left out of what the button counts from now on.
  if (!why_not.empty() && refused_styles_.emplace(style, why_not).second) CountMakeable();
}

void ShadeChooser::MakeClick() {
  std::vector<std::string> names;
  for (size_t i : chosen_) names.push_back(styles_[i]);
  const std::vector<VariantChoice> makeable = MakeableVariants(plan_, names, shades_);
  if (makeable.empty() || done_) return;
  Close();
  make_(makeable);
}

void ShadeChooser::Close() {
  done_ = true;
  ShowWindow(hwnd_, SW_HIDE);
}

LRESULT RunSelectingList::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_LBUTTONDOWN && (wp & MK_SHIFT)) {
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const int clicked = ListView_HitTest(Handle(), &hit);
    if (clicked >= 0 && (hit.flags & LVHT_ONITEM)) {
      SetFocus(Handle());
      SelectRun(clicked, (wp & MK_CONTROL) != 0);
      return 0;
    }
  }
  return Default(msg, wp, lp);
}

// From the anchor (the item clicked last without Shift) to the one clicked, in the list's order;
// with Ctrl the run is added to what was selected.
void RunSelectingList::SelectRun(int clicked, bool add) {
  const HWND list = Handle();
  int anchor = ListView_GetSelectionMark(list);
  if (anchor < 0) anchor = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
  if (anchor < 0) anchor = clicked;
  if (!add) ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  for (int i = std::min(anchor, clicked); i <= std::max(anchor, clicked); ++i)
    ListView_SetItemState(list, i, LVIS_SELECTED, LVIS_SELECTED);
  ListView_SetItemState(list, clicked, LVIS_FOCUSED, LVIS_FOCUSED);
  ListView_SetSelectionMark(list, anchor);
}

}  // namespace coiffure
