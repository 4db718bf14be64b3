// The desk's colour-variant chooser, a window of its own that "换发色..." opens: the library's
// styles with their gallery thumbnails (a virtual list: a thumbnail is made when its entry is
// first shown, and only the ones shown lately are kept), the shade swatches, the variants the
// choice gives under the names they will have, and the preview of the one selected over the
// customer photo. "生成" hands the choice to the desk, which makes the pairs.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "desk/chooser/shade_chooser.h"
#include "desk/chooser/shade_swatches_win.h"
#include "desk/preview/desk_preview_win.h"
#include "gallery/gallery_win.h"
#include "toolkit/window_win.h"

namespace coiffure {

// The style list's clicks with Shift select the run between the anchor and the click in the
// list's order, as Explorer does, where the platform's icon view would take a rectangle.
class RunSelectingList : public SubclassedControl<RunSelectingList> {
 public:
  void Attach(HWND list) { Subclass(list); }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void SelectRun(int clicked, bool add);
};

class ShadeChooser : public BaseWindow<ShadeChooser> {
 public:
  using MakeFn = std::function<void(const std::vector<VariantChoice>& variants)>;
  // More than the list shows at once on screens up to 2560 x 1440 (45 there, 18 at 1920 x 1080).
  static constexpr size_t kThumbnailCells = 64;

  // library_folder ends in a backslash; photo_path is the customer photo the previews use.
  ShadeChooser(std::string library_folder, std::string photo_path, MakeFn make);
  // Lists the library and creates the window, hidden, owned by owner.
  HWND Create(HWND owner, HFONT font);
  // True once it was closed or its choice made.
  bool Done() const { return done_; }

  // Reads the choice from the list and the swatches, plans its variants and previews one.
  void Replan();
  // Previews the planned variant of that row.
  void ShowVariant(int row);
  void MakeClick();

  HWND StyleList() const { return styles_list_; }
  HWND PlanList() const { return plan_list_; }
  HWND MakeButton() const { return make_button_; }
  ShadeSwatches& Swatches() { return swatches_; }
  const DeskPreview& Preview() const { return preview_; }
  const std::vector<std::string>& Styles() const { return styles_; }
  const std::vector<PlannedVariant>& Plan() const { return plan_; }
  int ThumbnailsMade() const { return thumbnails_made_; }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void FormCreate();
  void CreateStyleList();
  void CreatePlanList();
  void FormResize(int width, int height);
  SIZE MinClientSize() const;
  // The list of planned variants: its header and four rows.
  int PlanHeight() const { return 5 * line_height_ + 24; }
  LRESULT OnNotify(NMHDR* header);
  void StyleDispInfo(LVITEMW& item);
  void PlanDispInfo(LVITEMW& item);
  void MakeThumbnailInto(int cell, size_t style);
  void ReplanSoon();
  // Marks the plan's variants of styles found not to shade, and counts what can be made.
  void CountMakeable();
  void Close();

  std::string library_, photo_path_;
  MakeFn make_;
  HFONT font_ = nullptr;
  int line_height_ = 0;
  std::vector<std::string> styles_;
  FolderNames library_names_;
  HWND styles_label_ = nullptr, shades_label_ = nullptr, plan_label_ = nullptr;
  HWND preview_label_ = nullptr, styles_list_ = nullptr, plan_list_ = nullptr;
  HWND note_ = nullptr, make_button_ = nullptr, close_button_ = nullptr;
  ShadeSwatches swatches_;
  DeskPreview preview_;
  HIMAGELIST images_ = nullptr;  // owned by the style list
  ThumbnailSlots slots_{kThumbnailCells};
  RecyclingLoader loader_;
  Picture picture_;
  Thumbnail blank_;
  int thumbnails_made_ = 0;
  std::vector<size_t> chosen_;  // the styles selected, by their place in styles_
  std::vector<Shade> shades_;
  std::vector<PlannedVariant> plan_;
  std::unordered_map<std::string, std::string> refused_styles_;  // found by their previews
  RunSelectingList run_selecting_;
  bool replan_posted_ = false, replanning_ = false, done_ = false;
  HWND last_focus_ = nullptr;
};

}  // namespace coiffure
