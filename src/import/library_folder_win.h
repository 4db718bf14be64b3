// The library folder on the real file system.
#pragma once

#include "import/importer.h"

namespace coiffure {

class Win32LibraryFolder : public LibraryFolder {
 public:
  // folder: a full path ending in a backslash (UTF-8).
  explicit Win32LibraryFolder(std::string folder) : folder_(std::move(folder)) {}
  void Prepare() override;
  bool Exists(const std::string& name) override;
  void Write(const std::string& name, std::span<const uint8_t> bytes) override;
  bool MoveNoReplace(const std::string& from, const std::string& to) override;
  void Remove(const std::string& name) override;
  const std::string& Folder() const { return folder_; }

 private:
  std::wstring PathOf(const std::string& name) const;
  std::string folder_;
};

}  // namespace coiffure
