#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <map>

#include "colour/variants.h"
#include "gallery/scan.h"
#include "gallery/selection.h"
#include "import/importer.h"
#include "import/naming.h"
#include "native/bmp_builder.h"
#include "native/import_fakes.h"

namespace coiffure {
namespace {

using importtest::AddStyle;
using importtest::FakeFolder;
using importtest::FakeSource;
using importtest::ReaderOf;

TEST(ImportNaming, StemsAreFoundByTheScanAndTheSelection) {
  const auto times = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  struct Case {
    std::string path, stem;
  };
  for (const Case& c : std::vector<Case>{
           {"C:\\图片\\长发 波浪.png", "长发 波浪"},
           {"/home/salon/bob.2024.jpg", "bob_2024"},  // "." would cut the mask's name short
           {"Damask rose.PNG", "DaMask rose"},        // "mask" would hide it from the scan
           {"mask.png", "Mask"},
           {"mmaskmask.gif", "mMaskMask"},
           {".hidden.png", "_hidden"},  // a leading "." would hide it too
           {"C:\\a.b\\noext", "noext"},
           {"  spaced  .tif", "spaced"},
           {"con.png", "con_"},  // device names cannot be files on Windows
           {"COM3.jpg", "COM3_"},
           {"COM0.jpg", "COM0"},
           {"C:\\x\\   .png", "发型"},
           {"", "发型"},
           // As many characters of every script, each whole (1, 3 and 4 bytes in UTF-8); two
           // long names differing at the 61st character give two stems.
           {times("a", 70) + ".png", times("a", 64)},
           {times("发", 70) + ".png", times("发", 64)},
           {times("💇", 65) + ".jpg", times("💇", 64)},
           {times("发", 60) + "甲" + times("发", 9) + ".png",
            times("发", 60) + "甲" + times("发", 3)},
       }) {
    const std::string stem = StyleStemFromPath(c.path);
    EXPECT_EQ(stem, c.stem) << c.path;
    const std::string picture = StylePictureName(stem);
    EXPECT_TRUE(MatchesBmpPattern(picture)) << picture;
    EXPECT_EQ(picture.find("mask"), std::string::npos) << picture;
    EXPECT_NE(picture[0], '.') << picture;
    EXPECT_EQ(MaskNameFor(picture), stem + "mask.bmp");
    EXPECT_EQ(StyleMaskName(stem), stem + "mask.bmp");
  }
}

TEST(ImportNaming, AnExistingPictureOrMaskMakesTheNextSuffix) {
  using Taken = std::vector<std::string>;
  struct Case {
    Taken taken;
    std::string want;
  };
  for (const Case& c : std::vector<Case>{{{}, "a"},
                                         {{"a.bmp"}, "a_2"},
                                         {{"amask.bmp"}, "a_2"},
                                         {{"a.bmp", "a_2mask.bmp"}, "a_3"},
                                         {{"a_2.bmp"}, "a"}}) {
    const auto taken = [&](const std::string& n) {
      return std::find(c.taken.begin(), c.taken.end(), n) != c.taken.end();
    };
    EXPECT_EQ(FreeStyleStem("a", taken), c.want);
  }
  EXPECT_EQ(FreeStyleStem("a", [](const std::string&) { return true; }), "");
}

using importtest::Import;
using importtest::Square;

using Names = std::vector<std::string>;

TEST_F(Import, WritesAPairTheLibraryCanLoadAndNeverOverwrites) {
  folder.files["bob.bmp"] = {"bob.bmp", {1, 2, 3}};  // someone's own style, other case
  const ImportResult r = ImportPicture("C:\\in\\Bob.png", source, folder);
  ASSERT_TRUE(r.imported) << r.message;
  EXPECT_EQ(r.picture, "Bob_2.bmp");
  EXPECT_EQ(ResultText(r), "已导入为 Bob_2.bmp");
  EXPECT_EQ(folder.Names(), (Names{"bob.bmp", "Bob_2.bmp", "Bob_2mask.bmp"}));
  EXPECT_EQ(folder.files["bob.bmp"].second, (std::vector<uint8_t>{1, 2, 3}));
  const Picture colour = folder.Load("Bob_2.bmp"), mask = folder.Load("Bob_2mask.bmp");
  EXPECT_EQ(colour.BitsPerPixel(), 24);
  EXPECT_EQ(mask.Width(), colour.Width());
  EXPECT_GE(colour.Width(), kThumbSide);
  EXPECT_GE(colour.Height(), kThumbSide);
}

TEST_F(Import, RefusalsSayWhyAndLeaveNothingBehind) {
  for (const importtest::RefusalCase& c : std::vector<importtest::RefusalCase>{
           {"C:\\in\\notes.txt", nullptr, kMsgNotAPicture},
           {"C:\\in\\clear.png", nullptr, kMsgNothingLeft},
           {"C:\\in\\Bob.png", [](FakeFolder& f) { f.can_create = false; }, kMsgFolderNotWritable},
           {"C:\\in\\Bob.png", [](FakeFolder& f) { f.writes_left = 1; }, kMsgFolderNotWritable},
           {"C:\\in\\Bob.png", [](FakeFolder& f) { f.moves_left = 0; }, kMsgFolderNotWritable},
           {"C:\\in\\Bob.png", [](FakeFolder& f) { f.moves_left = 1; }, kMsgFolderNotWritable},
       }) {
    FakeFolder f;
    f.files["old.bmp"] = {"old.bmp", {9}};
    if (c.fault) c.fault(f);
    const ImportResult r = ImportPicture(c.path, source, f);
    EXPECT_FALSE(r.imported) << c.path;
    EXPECT_EQ(r.message, c.message) << c.path;
    EXPECT_EQ(ResultText(r), std::string("未导入：") + c.message);
    EXPECT_EQ(f.Names(), Names{"old.bmp"}) << c.path;
  }
}

TEST_F(Import, ANameTakenDuringTheImportMovesOnToTheNext) {
  // Another program writes Bob.bmp just before our picture would get that name.
  folder.before_move = [this](const std::string& to) {
    if (to == "Bob.bmp" && !folder.Exists("Bob.bmp")) folder.files["bob.bmp"] = {"Bob.bmp", {7}};
  };
  const ImportResult r = ImportPicture("C:\\in\\Bob.png", source, folder);
  ASSERT_TRUE(r.imported) << r.message;
  EXPECT_EQ(r.picture, "Bob_2.bmp");
  EXPECT_EQ(folder.Names(), (Names{"Bob.bmp", "Bob_2.bmp", "Bob_2mask.bmp"}));
}

}  // namespace
}  // namespace coiffure
