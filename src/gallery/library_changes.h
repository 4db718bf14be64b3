// What the platform reported changed in the library after its thumbnails began to be made ahead.
// Size and write time cannot tell a picture replaced by another of the same size whose copy kept
// the old time; a report of the change can.
#pragma once

#include <set>
#include <string>

namespace coiffure {

class LibraryChanges {
 public:
  // A name reported in a folder below the library ("" at the top, else each folder name
  // followed by a backslash, as the scan spells its paths).
  void Note(const std::string& folder, const std::string& name);
  // Anything in the folder and below may have changed: its reports were lost or never made.
  void NoteFolder(const std::string& folder);
  // True when the picture at this path (folder and name) may differ from the one read ahead.
  bool Touches(const std::string& path) const;
  bool Everything() const { return everything_; }

 private:
  // Folded to lower case, as the file system compares names; folders without the backslash, so
  // that a folder's name is a prefix of the paths below it.
  std::set<std::string> paths_;
  bool everything_ = false;
};

}  // namespace coiffure
