#include "gallery/scan.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace coiffure {

bool AttributesPass(uint32_t attributes, uint32_t mask) {
  constexpr uint32_t kFilterBits = kAttrHidden | kAttrSystem | kAttrVolume | kAttrDirectory;
  return (attributes & kFilterBits & ~mask) == 0;
}

bool MatchesBmpPattern(const std::string& name) {
  if (name.size() < 4) return false;
  const char* tail = name.c_str() + name.size() - 4;
  return tail[0] == '.' && (tail[1] | 0x20) == 'b' && (tail[2] | 0x20) == 'm' &&
         (tail[3] | 0x20) == 'p';
}

namespace {

struct ScanState {
  DirectoryPort& dir;
  GalleryPort& gallery;
  // Folders already searched in this scan, by identity: each is searched at most once, so
  // links that lead back up or to a sibling cannot make the scan endless or exponential.
  std::set<std::string> visited;
  // Set when a return to ".." failed: relative names no longer mean what they meant, so no
  // level lists anything more.
  bool lost = false;
  int folders_entered = 0;
  // Entries below this already carry their own index: every later pass would only set the
  // same values again, so each pass starts here and a deep tree costs no quadratic work.
  int numbered = 0;
};

enum class Descent { kNotEntered, kScan, kSkip };

Descent EnterSubFolder(ScanState& s, const std::string& name, int depth) {
  if (depth >= kMaxFolderDepth || s.folders_entered >= kMaxFoldersEntered)
    return Descent::kNotEntered;
  // A folder that cannot be entered is skipped: searching on would search this folder again.
  if (!s.dir.ChangeFolder(name)) return Descent::kNotEntered;
  ++s.folders_entered;
  const std::string id = s.dir.CurrentFolderId();
  if (id.empty() || s.visited.insert(id).second) return Descent::kScan;
  return Descent::kSkip;
}

void AddPicture(ScanState& s, const std::string& name, Picture& working) {
  s.dir.LoadPicture(name, working);
  s.gallery.SetBackgroundColor(0);
  if (working.Width() < kThumbSide || working.Height() < kThumbSide)
    throw PictureError(kMsgInvalidImageSize);
  s.gallery.AddThumbnail(MakeThumbnail(working));
  s.gallery.AddEntry(name);
}

// Entry i shows thumbnail i, over the whole gallery.
void NumberEntries(ScanState& s) {
  const int end = std::min(s.gallery.ThumbnailCount(), s.gallery.EntryCount());
  for (int i = s.numbered; i < end; ++i) s.gallery.SetImageIndex(i, i);
  s.numbered = std::max(s.numbered, end);
}

void ScanLevel(ScanState& s, int depth) {
  {
    Picture working;  // reloaded for every file of this level
    std::unique_ptr<DirectorySearch> search = s.dir.Search("*.bmp", kLibraryAttrMask);
    DirEntry e;
    while (search && !s.lost && search->Next(e)) {
      if (e.name.empty() || e.name[0] == '.') continue;
      if (e.attributes & kAttrDirectory) {
        const Descent d = EnterSubFolder(s, e.name, depth);
        if (d == Descent::kNotEntered) continue;
        if (d == Descent::kScan) {
          // The image list holds its own copy of every cell, so this level's picture need not
          // keep its pixels while the levels below hold theirs.
          working = Picture();
          ScanLevel(s, depth + 1);
        }
        if (!s.lost && !s.dir.ChangeFolder("..")) s.lost = true;
        continue;
      }
      // UTF-8 never hides an ASCII byte inside another character, so a byte search
      // matches whole characters only.
      if (e.name.find("mask") != std::string::npos) continue;
      AddPicture(s, e.name, working);
    }
  }
  NumberEntries(s);
}

}  // namespace

void ScanHairLibrary(DirectoryPort& dir, GalleryPort& gallery) {
  ScanState s{dir, gallery};
  const std::string root = dir.CurrentFolderId();
  if (!root.empty()) s.visited.insert(root);
  ScanLevel(s, 0);
}

}  // namespace coiffure
