// A folder of the program's data, and the folders the pictures come from, on the real file
// system.
#pragma once

#include "desk/picture_paths.h"
#include "import/importer.h"

namespace coiffure {

class Win32LibraryFolder : public LibraryFolder {
 public:
  // folder: a full path ending in a backslash (UTF-8); not_writable: the refusal given when the
  // folder cannot be made or written.
  explicit Win32LibraryFolder(std::string folder, const char* not_writable = kMsgFolderNotWritable)
      : folder_(std::move(folder)), not_writable_(not_writable) {}
  void Prepare() override;
  bool Exists(const std::string& name) override;
  std::string WriteTemporary(const std::string& role, std::span<const uint8_t> bytes) override;
  bool MoveNoReplace(const std::string& from, const std::string& to) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  void Remove(const std::string& name) override;
  const std::string& Folder() const { return folder_; }

 private:
  std::wstring PathOf(const std::string& name) const;
  std::string folder_;
  const char* not_writable_;
};

// Folders and wildcards as the platform lists and matches them (FindFirstFileW): the names a
// console user's "dir" shows for the same pattern.
class Win32PathLister : public PathLister {
 public:
  bool IsFolder(const std::string& path) override;
  std::vector<Entry> Find(const std::string& pattern) override;
};

}  // namespace coiffure
