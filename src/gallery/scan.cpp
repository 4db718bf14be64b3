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

struct LibraryScan::State {
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
  // The folder levels from the library down to the current folder, each with its search and
  // its working picture, reloaded for every file of that level.
  struct Level {
    std::unique_ptr<DirectorySearch> search;
    Picture working;
    std::string path;  // below the library, ending in a backslash; "" at the top
  };
  std::vector<Level> levels;
};

namespace {

using State = LibraryScan::State;

enum class Descent { kNotEntered, kScan, kSkip };

Descent EnterSubFolder(State& s, const std::string& name) {
  const int depth = static_cast<int>(s.levels.size()) - 1;
  if (depth >= kMaxFolderDepth || s.folders_entered >= kMaxFoldersEntered)
    return Descent::kNotEntered;
  // A folder that cannot be entered is skipped: searching on would search this folder again.
  if (!s.dir.ChangeFolder(name)) return Descent::kNotEntered;
  ++s.folders_entered;
  const std::string id = s.dir.CurrentFolderId();
  if (id.empty() || s.visited.insert(id).second) return Descent::kScan;
  return Descent::kSkip;
}

void AddPicture(State& s, const DirEntry& e, State::Level& level) {
  if (s.gallery.BeginPicture({level.path + e.name, e.size, e.write_time})) {
    s.gallery.SetBackgroundColor(0);
    s.gallery.AddEntry(e.name);
    return;
  }
  s.dir.LoadPicture(e.name, level.working);
  s.gallery.SetBackgroundColor(0);
  if (level.working.Width() < kThumbSide || level.working.Height() < kThumbSide)
    throw PictureError(kMsgInvalidImageSize);
  s.gallery.AddThumbnail(MakeThumbnail(level.working));
  s.gallery.AddEntry(e.name);
}

// Entry i shows thumbnail i, over the whole gallery.
void NumberEntries(State& s) {
  const int end = std::min(s.gallery.ThumbnailCount(), s.gallery.EntryCount());
  for (int i = s.numbered; i < end; ++i) s.gallery.SetImageIndex(i, i);
  s.numbered = std::max(s.numbered, end);
}

void OpenLevel(State& s, std::string path) {
  s.levels.push_back({nullptr, Picture(), std::move(path)});
  s.levels.back().search = s.dir.Search("*.bmp", kLibraryAttrMask);
}

// The level's search has ended: number the gallery and go back up to the level above.
void CloseLevel(State& s) {
  s.levels.pop_back();
  NumberEntries(s);
  if (!s.levels.empty() && !s.lost && !s.dir.ChangeFolder("..")) s.lost = true;
}

void HandleEntry(State& s, const DirEntry& e) {
  if (e.name.empty() || e.name[0] == '.') return;
  State::Level& level = s.levels.back();
  if (e.attributes & kAttrDirectory) {
    const Descent d = EnterSubFolder(s, e.name);
    if (d == Descent::kNotEntered) return;
    if (d == Descent::kScan) {
      // The image list holds its own copy of every cell, so this level's picture need not
      // keep its pixels while the levels below hold theirs.
      level.working = Picture();
      OpenLevel(s, level.path + e.name + "\\");
      return;
    }
    if (!s.lost && !s.dir.ChangeFolder("..")) s.lost = true;
    return;
  }
  // UTF-8 never hides an ASCII byte inside another character, so a byte search
  // matches whole characters only.
  if (e.name.find("mask") != std::string::npos) return;
  AddPicture(s, e, level);
}

}  // namespace

LibraryScan::LibraryScan(DirectoryPort& dir, GalleryPort& gallery) : s_(new State{dir, gallery}) {
  const std::string root = dir.CurrentFolderId();
  if (!root.empty()) s_->visited.insert(root);
  OpenLevel(*s_, "");
}

LibraryScan::~LibraryScan() = default;

bool LibraryScan::Step() {
  if (s_->levels.empty()) return false;
  State::Level& level = s_->levels.back();
  DirEntry e;
  if (level.search && !s_->lost && level.search->Next(e))
    HandleEntry(*s_, e);
  else
    CloseLevel(*s_);
  return !s_->levels.empty();
}

void ScanHairLibrary(DirectoryPort& dir, GalleryPort& gallery) {
  LibraryScan scan(dir, gallery);
  while (scan.Step()) {
  }
}

}  // namespace coiffure
