// Helpers of the integration tests: temporary folders and files, and message boxes that are
// answered instead of waiting for a user.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace coiffure::testing {

// A fresh folder under the temporary folder, removed with its files at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // The full path of name inside the folder (UTF-8).
  std::string Path(const std::string& name) const;

 private:
  std::string path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// The names of the files (not folders) in a folder, sorted bytewise.
std::vector<std::string> FilesIn(const std::string& folder);

struct SeenBox {
  std::string caption, text;
  HWND owner = nullptr;
  HICON icon = nullptr;
  bool ok_only = false;  // an OK button and no other
};

// Runs f; each message box it opens is recorded and answered with OK.
std::vector<SeenBox> AnswerMessageBoxes(const std::function<void()>& f);

// A real HDROP of these files, as the shell hands one to a window.
HGLOBAL MakeDrop(const std::vector<std::string>& files);

// The text of a window (UTF-8).
std::string WindowText(HWND hwnd);

}  // namespace coiffure::testing
