#include "desk/desk_list_win.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

// Room the list leaves around a cell's text, so that a text measured to fit is drawn whole.
constexpr int kCellMargin = 14;
// The file column's share of the width; the result column takes the rest.
constexpr int kFileColumnPercent = 42;

}  // namespace

HWND ResultList::Create(HWND parent, HFONT font) {
  const HWND list =
      CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                          LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                      0, 0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  Subclass(list);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  int index = 0;
  for (const char* title : {"图片文件", "结果"}) {
    const std::wstring text = Widen(title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 150;
    column.pszText = const_cast<wchar_t*>(text.c_str());
    ListView_InsertColumn(list, index++, &column);
  }
  CreateToolTip(font);
  return list;
}

void ResultList::CreateToolTip(HFONT font) {
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(Handle(), GA_ROOT), nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tip_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 640);  // a long folder wraps instead of running off
  // One tool, moved onto the row under the pointer: its text is asked for when it shows.
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Handle();
  tool.uId = 1;
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ResultList::Add(DeskRow row) {
  rows_.push_back(std::move(row));
}

void ResultList::Show() {
  const int count = static_cast<int>(rows_.size());
  if (ListView_GetItemCount(Handle()) == count) return;
  // A virtual list: new rows are a new count. Drawn once, when the window next paints: the
  // platform's list would otherwise draw its scroll bar, header and rows there and then for
  // the count, the columns and the scrolling each.
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  ListView_SetItemCountEx(Handle(), count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  ListView_EnsureVisible(Handle(), count - 1, FALSE);
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  FitColumns();  // once the rows have brought the vertical scroll bar, if they have
}

void ResultList::Select(int row) {
  Show();
  if (row < 0 || row >= ListView_GetItemCount(Handle())) return;
  const bool already = ListView_GetItemState(Handle(), row, LVIS_SELECTED) & LVIS_SELECTED;
  ListView_SetItemState(Handle(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(Handle(), row, FALSE);
  if (already) on_select_(row);  // no change to be told of, but its files may have changed
}

int ResultList::Selected() const {
  return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
}

void ResultList::FitColumns() {
  RECT inside;
  GetClientRect(Handle(), &inside);
  const int width = std::max<int>(inside.right, 200);
  const int file = width * kFileColumnPercent / 100;
  if (ListView_GetColumnWidth(Handle(), 0) != file) ListView_SetColumnWidth(Handle(), 0, file);
  if (ListView_GetColumnWidth(Handle(), 1) != width - file)
    ListView_SetColumnWidth(Handle(), 1, width - file);
}

bool ResultList::OnNotify(NMHDR* header, LRESULT& answer) {
  if (header->hwndFrom != Handle()) return false;
  answer = 0;
  if (header->code == NM_CUSTOMDRAW) {
    answer = CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
  } else if (header->code == LVN_GETDISPINFOW) {
    DisplayText(reinterpret_cast<NMLVDISPINFOW*>(header)->item);
  } else if (header->code == LVN_ITEMCHANGED) {
    const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
        !(change->uOldState & LVIS_SELECTED))
      on_select_(change->iItem);
  } else if (header->code == LVN_ITEMACTIVATE) {
    on_activate_(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
  }
  return true;
}

// The row's text for its column, shortened in its middle to the column's width.
void ResultList::DisplayText(LVITEMW& item) const {
  if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0 || item.iItem < 0) return;
  const size_t index = static_cast<size_t>(item.iItem);  // rows are never sorted
  if (index >= rows_.size() || item.iSubItem < 0 || item.iSubItem > 1) return;
  const int column = item.iSubItem;
  const int room = ListView_GetColumnWidth(Handle(), column) - kCellMargin;
  fitted_.resize(rows_.size());
  Fitted& fitted = fitted_[index];
  if (fitted.room[column] != room) {
    const WindowDC dc(Handle());
    const ScopedSelect font(dc.Get(),
                            reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    const auto fits = [&](const std::string& text) {
      const std::wstring wide = Widen(text);
      SIZE size{};
      GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
      return size.cx <= room;
    };
    const DeskRow& row = rows_[index];
    fitted.text[column] = Widen(FitInMiddle(column == 0 ? row.file : row.result, fits));
    fitted.room[column] = room;
  }
  lstrcpynW(item.pszText, fitted.text[column].c_str(), item.cchTextMax);
}

LRESULT ResultList::CustomDraw(NMLVCUSTOMDRAW& draw) const {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  // The item drawn: in a list of owner data its index is all there is.
  const auto& [header, stage, dc, rect, item, state, param] = draw.nmcd;
  const size_t index = static_cast<size_t>(item);
  if (index >= rows_.size() || rows_[index].ok) return CDRF_DODEFAULT;
  // The list would draw a selected row in the selection's own colours: it is drawn here as
  // unselected, in colours that still show both the selection and the refusal.
  const bool selected = draw.nmcd.uItemState & CDIS_SELECTED;
  draw.nmcd.uItemState &= ~CDIS_SELECTED;
  draw.clrText = kRefusalRed;
  if (selected && GetFocus() == Handle()) {
    draw.clrTextBk = kRefusalRed;
    draw.clrText = RGB(255, 255, 255);
  } else if (selected) {
    draw.clrTextBk = GetSysColor(COLOR_BTNFACE);
  }
  return CDRF_NEWFONT;
}

LRESULT ResultList::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && tip_) {
    if (msg == WM_MOUSEMOVE) TrackToolTip({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    MSG relayed{Handle(), msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
    SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  if (msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (header->hwndFrom == tip_ && header->code == TTN_GETDISPINFOW) {
      tip_text_ = tip_row_ >= 0 && static_cast<size_t>(tip_row_) < rows_.size()
                      ? Widen(rows_[static_cast<size_t>(tip_row_)].path)
                      : std::wstring();
      reinterpret_cast<NMTTDISPINFOW*>(lp)->lpszText = tip_text_.data();
      return 0;
    }
  }
  return Default(msg, wp, lp);
}

// Moves the tool onto the row under the pointer; a tip showing another row's name goes, and the
// platform shows the new one after its usual delay.
void ResultList::TrackToolTip(POINT at) {
  LVHITTESTINFO hit{};
  hit.pt = at;
  const int row =
      ListView_SubItemHitTest(Handle(), &hit) >= 0 && (hit.flags & LVHT_ONITEM) ? hit.iItem : -1;
  if (row == tip_row_) return;
  tip_row_ = row;
  SendMessageW(tip_, TTM_POP, 0, 0);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Handle();
  tool.uId = 1;
  if (row >= 0) ListView_GetItemRect(Handle(), row, &tool.rect, LVIR_BOUNDS);
  SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace coiffure
