#include "gallery/library_changes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace coiffure
