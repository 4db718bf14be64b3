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

Picture ReduceToFit(const Picture& picture, int side) {
  const int w = picture.Width(), h = picture.Height();
  // The larger side becomes `side`; the other keeps the proportions, at least one pixel.
  const int64_t tw = w >= h ? side : std::max<int64_t>(1, int64_t{w} * side / h);
  const int64_t th = h >= w ? side : std::max<int64_t>(1, int64_t{h} * side / w);
  Picture out = Picture::Create24(side, side, {255, 255, 255});
  const int64_t ox = (side - tw) / 2, oy = (side - th) / 2;
  std::vector<uint32_t> sums(static_cast<size_t>(tw) * 3);
  std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
  for (int64_t ty = 0; ty < th; ++ty) {
    std::fill(sums.begin(), sums.end(), 0u);
    const int y0 = static_cast<int>(ty * h / th), y1 = static_cast<int>((ty + 1) * h / th);
    for (int y = y0; y < y1; ++y) {
      picture.ReadRowBgr(y, row.data());
      for (int64_t tx = 0; tx < tw; ++tx) {
        const int x0 = static_cast<int>(tx * w / tw), x1 = static_cast<int>((tx + 1) * w / tw);
        for (int x = x0; x < x1; ++x)
          for (int c = 0; c < 3; ++c) sums[tx * 3 + c] += row[3 * x + c];
      }
    }
    uint8_t* dst = out.Row(static_cast<int>(oy + ty)) + ox * 3;
    for (int64_t tx = 0; tx < tw; ++tx) {
      const int64_t n = (int64_t{(tx + 1) * w / tw} - tx * w / tw) * (y1 - y0);
      for (int c = 0; c < 3; ++c)
        dst[tx * 3 + c] = static_cast<uint8_t>((sums[tx * 3 + c] + n / 2) / n);
    }
  }
  return out;
}

Thumbnail MakeThumbnail(const Picture& source) {
  Picture reduced;
  if (source.Width() >= kWideThumbnailWidth) reduced = ReduceToFit(source, kThumbSide);
  const Picture& picture = reduced.Empty() ? source : reduced;
  Thumbnail t;
  t.image = Picture::Create24(kThumbSide, kThumbSide);
  t.mask_stride = (kThumbSide + 15) / 16 * 2;
  t.mask.assign(t.mask_stride * kThumbSide, 0);
  std::vector<uint8_t> row(static_cast<size_t>(picture.Width()) * 3);
  for (int y = 0; y < kThumbSide; ++y) {
    picture.ReadRowBgr(y, row.data());
    uint8_t* out = t.image.Row(y);
    std::memcpy(out, row.data(), kThumbSide * 3);
    for (int x = 0; x < kThumbSide; ++x) {
      uint8_t* px = out + 3 * x;
      if (px[0] != 255 || px[1] != 255 || px[2] != 255) continue;
      // Black under the transparent part keeps every way of drawing the cell showing black.
      px[0] = px[1] = px[2] = 0;
      t.mask[static_cast<size_t>(y) * t.mask_stride + x / 8] |=
          static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
  return t;
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
