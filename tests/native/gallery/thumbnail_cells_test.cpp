#include "gallery/thumbnail_cells.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace coiffure {
namespace {

// An image list whose cells hold the number a thumbnail was made with.
struct FakeStore : CellStore {
  std::vector<int> cells;
  int replaces = 0;
  int Capacity() override { return static_cast<int>(cells.size()); }
  void Resize(int n) override { cells.resize(static_cast<size_t>(n), -1); }
  void Replace(int cell, const Thumbnail& t) override {
    ASSERT_LT(cell, Capacity());
    cells[static_cast<size_t>(cell)] = t.image.PixelBgr(0, 0).b;
    ++replaces;
  }
  void Copy(int to, int from) override {
    ASSERT_LT(to, Capacity());
    ASSERT_LT(from, Capacity());
    cells[static_cast<size_t>(to)] = cells[static_cast<size_t>(from)];
  }
};

// A library picture written as its name, with a "'" for each time it was written again.
PictureStamp StampOf(const std::string& picture) {
  const size_t primes = picture.find('\'') == std::string::npos ? 0 : picture.size() - 1;
  return {picture.substr(0, 1) + ".bmp", 1000, 1 + primes};
}
int IdOf(const std::string& picture) {
  return static_cast<unsigned char>(picture[0]) +
         10 * static_cast<int>(StampOf(picture).write_time);
}
Thumbnail ThumbOf(const std::string& picture) {
  Thumbnail t;
  t.image = Picture::Create24(1, 1, {static_cast<uint8_t>(IdOf(picture)), 0, 0});
  return t;
}

std::vector<std::string> Split(const std::string& list) {
  std::vector<std::string> out;
  for (size_t at = 0; at < list.size();) {
    const size_t end = std::min(list.find(' ', at), list.size());
    if (end > at) out.push_back(list.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

TEST(ThumbnailCells, PreparedCellsServeTheScanWhateverChangedAndTheGalleryIsAFreshScans) {
  struct Case {
    const char* ahead;              // the library when its thumbnails were made ahead
    const char* shown;              // the library at first show
    int made;                       // thumbnails the first show makes itself
    const char* changed = nullptr;  // reported changed since made ahead, stamp unchanged
  };
  const Case cases[] = {
      {"a b c d", "a b c d", 0},
      {"a b c d", "n a b c d", 1},          // added first: everything moves one place on
      {"a b c d e f", "x a c d y f g", 3},  // added and removed on both sides of unchanged ones
      {"a b c d", "b d", 0},                // removed: the rest moves back
      {"a b c", "a b' c", 1},               // written again
      {"a b c d", "d a b c", 3},            // met out of order: made again
      {"a b", "a b c d e", 3},              // added after the end
      {"a b c", "", 0},                     // emptied
      {"", "a b", 2},                       // nothing made ahead
      {"a b c d e", "e' d' c' b' a'", 5},   // every one written again
      {"a b c", "a b c", 1, "b.bmp"},       // replaced by one of the same size and time
      {"a b c d", "b d", 1, "d.bmp"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.ahead) + " -> " + k.shown);
    FakeStore store;
    ThumbnailCells cells(store);
    for (const std::string& p : Split(k.ahead)) {
      cells.Expect(StampOf(p));
      cells.Add(ThumbOf(p));
    }
    LibraryChanges changed;
    if (k.changed) changed.Note("", k.changed);
    cells.Rewind(changed);
    store.replaces = 0;
    std::vector<int> want;
    for (const std::string& p : Split(k.shown)) {
      want.push_back(IdOf(p));
      if (cells.Take(StampOf(p))) continue;
      cells.Expect(StampOf(p));
      cells.Add(ThumbOf(p));
    }
    cells.Finish();
    EXPECT_EQ(store.cells, want);
    EXPECT_EQ(cells.Count(), static_cast<int>(want.size()));
    EXPECT_EQ(store.replaces, k.made);
  }
}

TEST(ThumbnailCells, ManyNewPicturesAheadOfThePreparedOnesKeepFewWaiting) {
  auto thumb = [](int id) {
    Thumbnail t;
    t.image = Picture::Create24(1, 1, {static_cast<uint8_t>(id), 0, 0});
    return t;
  };
  auto stamp = [](const char* kind, int i) { return PictureStamp{kind + std::to_string(i), 1, 1}; };
  constexpr int kOld = 40;
  FakeStore store;
  ThumbnailCells cells(store);
  for (int i = 0; i < kOld; ++i) {
    cells.Expect(stamp("old", i));
    cells.Add(thumb(i));
  }
  cells.Rewind();
  store.replaces = 0;
  std::vector<int> want;
  // New pictures wait while their cells may still be taken, but never more than a few: then the
  // cells so far are settled, and the old pictures they covered are made again.
  for (int i = 0; i < kOld; ++i) {
    want.push_back(100 + i);
    ASSERT_FALSE(cells.Take(stamp("new", i)));
    cells.Add(thumb(100 + i));
    EXPECT_LE(static_cast<size_t>(i + 1 - store.replaces), ThumbnailCells::kMaxWaiting) << i;
  }
  EXPECT_GT(store.replaces, 0);
  for (int i = 0; i < kOld; ++i) {
    want.push_back(i);
    if (!cells.Take(stamp("old", i))) cells.Add(thumb(i));
  }
  cells.Finish();
  EXPECT_EQ(store.cells, want);
}

TEST(ThumbnailCells, AppendsAfterTheCellsAlreadyThereAndForgetsOnRequest) {
  FakeStore store;
  store.cells = {7, 8};
  ThumbnailCells cells(store);
  cells.Expect(StampOf("a"));
  cells.Add(ThumbOf("a"));
  EXPECT_EQ(cells.Count(), 3);
  cells.Rewind();
  cells.Forget();
  EXPECT_FALSE(cells.Take(StampOf("a")));
  cells.Add(ThumbOf("b"));
  cells.Finish();
  EXPECT_EQ(store.cells, std::vector<int>{IdOf("b")});
}

}  // namespace
}  // namespace coiffure
