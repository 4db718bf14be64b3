// The import program's window: a hint, the "添加图片..." button and one row per imported file
// saying what became of it. Files arrive dropped on the window, from the open dialog, or from
// the command line.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "import/importer.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"

namespace coiffure {

class ImportWindow : public BaseWindow<ImportWindow> {
 public:
  static constexpr int kAddButtonId = 1001;

  // folder_path: the library folder shown in the hint. quit_on_close ends the message loop
  // when the window is closed (the program's own window does; a test's does not).
  ImportWindow(PictureSource& source, LibraryFolder& folder, std::string folder_path,
               bool quit_on_close);
  HWND Create();

  // Imports each file in turn, adding its row as soon as it is done.
  void ImportFiles(const std::vector<std::string>& files);
  // Imports the files once the window has been shown and painted.
  void ImportWhenShown(std::vector<std::string> files);
  void AddButtonClick();

  HWND ListView() const { return list_; }
  HWND AddButton() const { return button_; }
  const std::vector<ImportResult>& Results() const { return results_; }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void FormCreate();
  void FormResize(int width, int height);
  void FormDropFiles(HDROP drop);
  LRESULT ListViewCustomDraw(NMLVCUSTOMDRAW* draw);
  void AddRow(const ImportResult& result);

  PictureSource& source_;
  LibraryFolder& folder_;
  std::string folder_path_;
  bool quit_on_close_;
  Font font_;
  HWND hint_ = nullptr, button_ = nullptr, list_ = nullptr;
  int hint_height_ = 0;
  std::vector<ImportResult> results_;
  std::vector<std::string> pending_;
};

// The program with its window: shows it, imports the command line's files, runs the message
// loop until the window is closed.
int RunImportWindow(PictureSource& source, LibraryFolder& folder, const std::string& folder_path,
                    std::vector<std::string> files, int show);

}  // namespace coiffure
