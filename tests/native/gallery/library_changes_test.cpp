#include "gallery/library_changes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gallery/thumbnail_cells.h"

namespace coiffure {
namespace {

TEST(LibraryChanges, APictureIsTouchedByItsOwnReportOrOneOfAFolderOnItsWay) {
  struct Case {
    const char* folder;  // where the report came from
    const char* name;    // what it named; nullptr: the folder's reports were lost
    std::vector<const char*> touched, untouched;
  };
  const Case cases[] = {
      {"", "a.bmp", {"a.bmp", "A.BMP"}, {"b.bmp", "a.bmpx", "x\\a.bmp", "a.bm"}},
      {"sub.bmp\\", "a.bmp", {"sub.bmp\\a.bmp", "SUB.bmp\\A.bmp"}, {"a.bmp", "sub.bmpx\\a.bmp"}},
      // A folder renamed, replaced or gone: all it held.
      {"", "sub.bmp", {"sub.bmp\\a.bmp", "sub.bmp\\deep.bmp\\b.bmp"}, {"sub.bmpx\\a.bmp"}},
      {"sub.bmp\\", nullptr, {"sub.bmp\\a.bmp", "sub.bmp\\deep.bmp\\b.bmp"}, {"a.bmp"}},
      // A short 8.3 name or a name that is not one folder's own: the folder is in doubt.
      {"sub.bmp\\", "LONGNA~1.BMP", {"sub.bmp\\longname.bmp"}, {"longname.bmp"}},
      {"", "x\\y.bmp", {"a.bmp", "sub.bmp\\a.bmp"}, {}},
      {"", "", {"a.bmp"}, {}},
      {"", nullptr, {"a.bmp", "sub.bmp\\a.bmp"}, {}},
      // Non-ASCII names are compared as they are spelt.
      {"", "发型.bmp", {"发型.bmp"}, {"发型2.bmp"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.folder) + "|" + (k.name ? k.name : "(lost)"));
    LibraryChanges changes;
    if (k.name)
      changes.Note(k.folder, k.name);
    else
      changes.NoteFolder(k.folder);
    for (const char* p : k.touched) EXPECT_TRUE(changes.Touches(p)) << p;
    for (const char* p : k.untouched) EXPECT_FALSE(changes.Touches(p)) << p;
  }
  EXPECT_FALSE(LibraryChanges().Touches("a.bmp"));
}

// An image list whose cells hold the number each thumbnail was made with.
struct NumberedStore : CellStore {
  std::vector<int> cells;
  int Capacity() override { return static_cast<int>(cells.size()); }
  void Resize(int n) override { cells.resize(static_cast<size_t>(n), -1); }
  void Replace(int cell, const Thumbnail& t) override {
    cells[static_cast<size_t>(cell)] = t.image.PixelBgr(0, 0).b;
  }
  void Copy(int to, int from) override {
    cells[static_cast<size_t>(to)] = cells[static_cast<size_t>(from)];
  }
};

Thumbnail Numbered(int n) {
  Thumbnail t;
  t.image = Picture::Create24(1, 1, {static_cast<uint8_t>(n), 0, 0});
  return t;
}

TEST(LibraryChanges, CellsOfChangedPicturesAreNotTakenThoughTheirStampsAreTheSame) {
  const std::vector<std::string> paths = {"a.bmp", "b.bmp", "sub.bmp\\c.bmp", "sub.bmp\\d.bmp"};
  struct Case {
    const char* folder;
    const char* name;       // nullptr: the folder as a whole
    std::vector<int> want;  // the gallery after the scan; 10 + i for a picture made again
  };
  const Case cases[] = {
      {"", "b.bmp", {0, 11, 2, 3}},          {"", "sub.bmp", {0, 1, 12, 13}},
      {"sub.bmp\\", "d.bmp", {0, 1, 2, 13}}, {"", nullptr, {10, 11, 12, 13}},
      {"", "other.bmp", {0, 1, 2, 3}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.folder) + (k.name ? k.name : "*"));
    NumberedStore store;
    ThumbnailCells cells(store);
    for (size_t i = 0; i < paths.size(); ++i) {
      cells.Expect(PictureStamp{paths[i], 100, 7});
      cells.Add(Numbered(static_cast<int>(i)));
    }
    LibraryChanges changes;
    if (k.name)
      changes.Note(k.folder, k.name);
    else
      changes.NoteFolder(k.folder);
    cells.Rewind(changes);
    for (size_t i = 0; i < paths.size(); ++i) {
      const PictureStamp same{paths[i], 100, 7};
      if (cells.Take(same)) continue;
      cells.Expect(same);
      cells.Add(Numbered(10 + static_cast<int>(i)));
    }
    cells.Finish();
    EXPECT_EQ(store.cells, k.want);
  }
}

}  // namespace
}  // namespace coiffure
