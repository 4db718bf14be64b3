// The picture desk's window. Left: hairstyle pictures come in dropped on the window or from
// "添加发型图片..."; the customer photo comes in through a drop box of its own or
// "选择顾客照片..."; "换发色..." opens the chooser of colour variants; "从照片剪出发型..." opens
// the cut-out window on a photo of a person; one row per file (and per
// variant) says what became of it; under the list, where the work stands and "停止". Right: the
// preview of the selected row. The work is done off the window's thread, one file at a time in
// the order it was asked for, so the window answers throughout.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desk/chooser/shade_chooser_win.h"
#include "desk/command_line.h"
#include "desk/cutout/cutout_window_win.h"
#include "desk/desk_list_win.h"
#include "desk/desk_rows.h"
#include "desk/own_hair/own_hair.h"
#include "desk/photo_drop_win.h"
#include "desk/preview/desk_preview_win.h"
#include "import/importer.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "work/background_worker_win.h"
#include "work/work_queue.h"

namespace coiffure {

// Where the desk writes: the style library and the photo's folder, with their full paths.
struct DeskFolders {
  LibraryFolder& library;
  std::string library_path;  // ends in a backslash
  LibraryFolder& photos;
  std::string photo_path;  // the full path of the photo file itself
};

class DeskWindow : public BaseWindow<DeskWindow> {
 public:
  static constexpr int kAddButtonId = 1001;
  static constexpr int kPhotoButtonId = 1002;
  static constexpr int kShadeButtonId = 1003;
  static constexpr int kStopButtonId = 1004;
  static constexpr int kCutoutButtonId = 1005;
  static constexpr int kOwnHairButtonId = 1006;

  // quit_on_close ends the message loop when the window is closed (the program's own window
  // does; a test's does not). The folders and the source are used from the worker's thread.
  DeskWindow(PictureSource& source, DeskFolders folders, bool quit_on_close);
  ~DeskWindow() override;
  HWND Create();

  // Each of these asks for work done off the window's thread, after any asked for before it.
  // Imports each file as a style, adding its row as soon as it is done; the newest row is
  // selected while the selection follows the newest (as it does unless a row was clicked).
  void ImportFiles(const std::vector<std::string>& files);
  // Makes the first file the customer photo; any others get a row saying they were not used.
  void ReplacePhoto(const std::vector<std::string>& files);
  // Makes each style in its shade through the library's shade code, a row each, and says how
  // many were made.
  void MakeVariants(const std::vector<VariantChoice>& variants);
  // Imports the photo cut out along the matte of the marks as a style, with its row.
  void ImportCutout(const std::string& photo, std::shared_ptr<const cutout::Session> session,
                    const cutout::Sketch& sketch);
  // Does the command line's work once the window has been shown and painted.
  void WorkWhenShown(ImportCommand command);
  void AddButtonClick();
  void PhotoButtonClick();
  // Opens the chooser of colour variants modally; its choice is made when it says so.
  void ShadeButtonClick();
  // Asks for a photo and opens the cut-out window on it modally.
  void CutoutButtonClick();
  // The cut-out window on this photo, shown modally.
  void CutOutOf(const std::string& photo);
  // The cut-out window on this photo, created hidden (replacing any earlier one), to make a
  // style of its hair (or for the purpose given); the photo is read at once off the window's
  // thread, and the marks of the last photo are used when it is the same.
  CutoutWindow& OpenCutout(const std::string& photo);
  CutoutWindow& OpenCutout(const std::string& photo, std::unique_ptr<CutoutPurpose> purpose);
  // The cut-out window on the customer photo a colour starts from (the kept original, else
  // test.bmp), with its kept marks, to give her own hair a shade; created hidden, or nothing
  // (after a row saying why) when there is no photo to start from. OwnHairButtonClick shows it
  // modally.
  CutoutWindow* OpenOwnHair();
  void OwnHairButtonClick();
  // Puts the photo with her hair in the shade in place as test.bmp, keeping the original first,
  // with its row; puts the kept original back, with its row.
  void UseOwnShade(std::shared_ptr<const OwnHairStart> start,
                   std::shared_ptr<const cutout::Session> session, const cutout::Sketch& sketch,
                   const Shade& shade);
  void RestoreKeptPhoto();
  // A row activated: one that offers the cut-out opens the cut-out window on its file.
  void ActivateRow(int row);
  // Stops the work asked for so far once the file under way is done.
  void StopButtonClick();
  // The chooser of colour variants over the library as it is now, created hidden (replacing any
  // earlier one); ShadeButtonClick shows it modally.
  ShadeChooser& OpenShadeChooser();
  // Shows the preview of a row (as a click on it does).
  void SelectRow(int row) { list_.Select(row); }
  // True while work asked for is not finished.
  bool Busy() const { return !work_.Idle(); }

  HWND ListView() const { return list_.Handle(); }
  HWND AddButton() const { return add_button_; }
  HWND PhotoButton() const { return photo_button_; }
  HWND PhotoDrop() const { return drop_.Handle(); }
  HWND ShadeButton() const { return shade_button_; }
  HWND ShadeNotice() const { return shade_notice_; }
  HWND StopButton() const { return stop_button_; }
  HWND CutoutButton() const { return cutout_button_; }
  HWND OwnHairButton() const { return own_button_; }
  HWND Status() const { return status_; }
  HWND RowTip() const { return list_.ToolTip(); }
  const DeskPreview& Preview() const { return preview_; }
  const std::vector<DeskRow>& Rows() const { return list_.Rows(); }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void FormCreate();
  void FormResize(int width, int height);
  void FormClose();
  SIZE MinClientSize() const;
  int LeftColumnHeight(int text_width, int list_height) const;
  int StripHeight() const;
  void Relayout();
  void OnCommand(int id);
  LRESULT OnActivate(WPARAM wp);
  void ShowRow(int row);
  // On the worker: a step's row, with its preview composed there while the window follows
  // the newest row, and what the window does with it.
  StepResult ResultOf(DeskRow row, std::shared_ptr<JobCounts> counts);
  // The photo folder as the customer's own colour reads and writes it.
  PhotoFolder PhotoPlace() const;
  // A row of the customer photo that says what a use of her own colour did.
  DeskRow OwnShadeRow(bool done, const std::string& text) const;
  // A result of the work: added, and selected while the selection follows the newest row.
  void AddResult(DeskRow row, std::optional<ComposedPreview> preview = {});
  void ApplyWork();
  void Refresh();
  void ShowProgress();
  void JobOver(std::string summary);
  std::vector<std::string> AskForFiles(const char* title, bool several);

  // From the worker: a step began or ended.
  static constexpr UINT kWorkMessage = WM_APP + 2;
  static constexpr UINT_PTR kRefreshTimer = 1;
  static constexpr UINT kRefreshMs = 250;

  PictureSource& source_;
  DeskFolders folders_;
  bool quit_on_close_;
  Font font_;
  HWND hint_ = nullptr, add_button_ = nullptr, photo_button_ = nullptr;
  HWND shade_notice_ = nullptr, shade_button_ = nullptr;
  HWND cutout_notice_ = nullptr, cutout_button_ = nullptr;
  HWND own_notice_ = nullptr, own_button_ = nullptr;
  HWND status_ = nullptr, progress_ = nullptr, stop_button_ = nullptr;
  ResultList list_;
  std::unique_ptr<ShadeChooser> chooser_;
  // Kept after it closes until the next one opens, so that closing never waits for its work.
  std::unique_ptr<CutoutWindow> cutout_;
  KeptMarks kept_marks_;
  PhotoDropZone drop_;
  DeskPreview preview_;
  int line_height_ = 0;
  ImportCommand pending_;
  HWND last_focus_ = nullptr;
  bool closing_ = false;
  int followed_row_ = -1;              // the row the desk selected last by itself
  std::atomic<bool> following_{true};  // the selection is on it (or there is none): follow on
  std::optional<ComposedPreview> ready_preview_;
  int ready_row_ = -1;
  unsigned refreshes_ = 0;
  std::string summary_;  // the status line once the work is over
  WorkQueue work_;
  std::unique_ptr<BackgroundWorker> worker_;
};

// The program with its window: shows it, does the command line's work, runs the message loop
// until the window is closed.
int RunDeskWindow(PictureSource& source, DeskFolders folders, ImportCommand command, int show);

}  // namespace coiffure
