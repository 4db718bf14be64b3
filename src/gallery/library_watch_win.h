// The platform's change reports on the library's folders, from before each is first listed, so
// that thumbnails made ahead of the first show are made again where a picture changed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gallery/library_changes.h"

namespace coiffure {

class LibraryWatch {
 public:
  // root: the library's full path, ending in a backslash.
  explicit LibraryWatch(std::string root);
  ~LibraryWatch();
  LibraryWatch(const LibraryWatch&) = delete;
  LibraryWatch& operator=(const LibraryWatch&) = delete;

  // Starts watching a folder (its path below the root, as the scan spells it) before it is
  // listed. One watch a folder and not the platform's watch of a whole tree: under Wine that
  // leaves out the sub-folders that were there before it began.
  void Watch(const std::string& folder);
  // Takes in what has been reported so far.
  void Collect();
  // Collects after a round trip to the platform, so that every report of a change made before
  // now has arrived (Wine delivers them through its server).
  const LibraryChanges& Finish();
  const LibraryChanges& Changes() const { return changes_; }

  // Folders watched at most; a folder beyond them counts as changed.
  static constexpr size_t kMaxFolders = 64;

 private:
  struct Folder;
  bool Issue(Folder& f);
  void Read(Folder& f, DWORD bytes);
  void Poll(Folder& f);

  std::string root_;
  std::vector<std::unique_ptr<Folder>> folders_;
  LibraryChanges changes_;
};

}  // namespace coiffure
