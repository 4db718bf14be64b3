// The desk's list of results: a row a file (or a colour variant) and what became of it. A
// refusal stays red whether its row is selected, focused or not; a name too long for its column
// is shortened in its middle, so that two long names still look different; the whole file name,
// with its folder, is the row's tooltip.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "desk/desk_rows.h"
#include "toolkit/window_win.h"

namespace coiffure {

class ResultList : public SubclassedControl<ResultList> {
 public:
  // Called when a row becomes selected, and by Select for a row that already was.
  using SelectFn = std::function<void(int row)>;
  // The colour of a refusal: its text, or its selection bar while the list has the focus.
  static constexpr COLORREF kRefusalRed = RGB(192, 0, 0);

  // Called when a row is activated: double-clicked (or Enter, which the window passes on).
  using ActivateFn = std::function<void(int row)>;
  ResultList(SelectFn on_select, ActivateFn on_activate)
      : on_select_(std::move(on_select)), on_activate_(std::move(on_activate)) {}
  HWND Create(HWND parent, HFONT font);

  // Appends the row; the list shows it at the next Show.
  void Add(DeskRow row);
  // Shows the rows added since the last time, the newest scrolled into view.
  void Show();
  // Selects the row (showing the rows added first).
  void Select(int row);
  int Selected() const;
  // The columns share the width inside the list, its vertical scroll bar left out when it has
  // one, so that no horizontal one is needed.
  void FitColumns();
  // The parent's WM_NOTIFY from the list; true, with its answer, when it was the list's own.
  bool OnNotify(NMHDR* header, LRESULT& answer);

  const std::vector<DeskRow>& Rows() const { return rows_; }
  HWND ToolTip() const { return tip_; }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;
  void DisplayText(LVITEMW& item) const;
  void CreateToolTip(HFONT font);
  void TrackToolTip(POINT at);

  SelectFn on_select_;
  ActivateFn on_activate_;
  std::vector<DeskRow> rows_;
  HWND tip_ = nullptr;
  int tip_row_ = -1;
  std::wstring tip_text_;
  // Each row's texts as last fitted to their columns, and the widths they were fitted to: the
  // list asks for them at every paint.
  struct Fitted {
    std::wstring text[2];
    int room[2] = {-1, -1};
  };
  mutable std::vector<Fitted> fitted_;
};

}  // namespace coiffure
