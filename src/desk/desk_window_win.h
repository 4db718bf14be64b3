// The picture desk's window. Left: hairstyle pictures come in dropped on the window or from
// "添加发型图片..."; the customer photo comes in through a drop box of its own or
// "选择顾客照片..."; "换发色..." opens the chooser of colour variants; one row per file (and per
// variant) says what became of it. Right: the preview of the selected row.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "desk/command_line.h"
#include "desk/desk_preview_win.h"
#include "desk/desk_rows.h"
#include "desk/photo_drop_win.h"
#include "desk/shade_chooser_win.h"
#include "import/importer.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"

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

  // quit_on_close ends the message loop when the window is closed (the program's own window
  // does; a test's does not).
  DeskWindow(PictureSource& source, DeskFolders folders, bool quit_on_close);
  HWND Create();

  // Imports each file as a style in turn, adding its row as soon as it is done; the last row is
  // then selected, so its preview shows.
  void ImportFiles(const std::vector<std::string>& files);
  // Makes the first file the customer photo; any others get a row saying they were not used.
  void ReplacePhoto(const std::vector<std::string>& files);
  // Does the command line's work once the window has been shown and painted.
  void WorkWhenShown(ImportCommand command);
  void AddButtonClick();
  void PhotoButtonClick();
  // Opens the chooser of colour variants modally; its choice is made when it says so.
  void ShadeButtonClick();
  // The chooser of colour variants over the library as it is now, created hidden (replacing any
  // earlier one); ShadeButtonClick shows it modally.
  ShadeChooser& OpenShadeChooser();
  // Makes every style in every shade through the library's shade code, adding a row for each
  // variant, and says how many were made.
  void MakeVariants(const std::vector<std::string>& styles, const std::vector<Shade>& shades);
  // Shows the preview of a row (as a click on it does).
  void SelectRow(int row);

  HWND ListView() const { return list_; }
  HWND AddButton() const { return add_button_; }
  HWND PhotoButton() const { return photo_button_; }
  HWND PhotoDrop() const { return drop_.Handle(); }
  HWND ShadeButton() const { return shade_button_; }
  HWND ShadeNotice() const { return shade_notice_; }
  const DeskPreview& Preview() const { return preview_; }
  const std::vector<DeskRow>& Rows() const { return rows_; }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void FormCreate();
  void FormResize(int width, int height);
  LRESULT OnNotify(NMHDR* header);
  LRESULT ListViewCustomDraw(NMLVCUSTOMDRAW* draw);
  void AddRow(DeskRow row);
  void ShowRow(int row);
  std::vector<std::string> AskForFiles(const char* title, bool several);

  PictureSource& source_;
  DeskFolders folders_;
  bool quit_on_close_;
  Font font_;
  HWND hint_ = nullptr, add_button_ = nullptr, photo_button_ = nullptr, list_ = nullptr;
  HWND shade_notice_ = nullptr, shade_button_ = nullptr;
  std::unique_ptr<ShadeChooser> chooser_;
  PhotoDropZone drop_;
  DeskPreview preview_;
  int hint_height_ = 0, line_height_ = 0;
  std::vector<DeskRow> rows_;
  ImportCommand pending_;
};

// The program with its window: shows it, does the command line's work, runs the message loop
// until the window is closed.
int RunDeskWindow(PictureSource& source, DeskFolders folders, ImportCommand command, int show);

}  // namespace coiffure
