#include "desk/command_line.h"

#include <gtest/gtest.h>

#include "import/importer.h"

namespace coiffure {
namespace {

using Names = std::vector<std::string>;

TEST(ImportCommandLine, QuietAnywhereAndEveryOtherArgumentIsAFileAsIsEveryDialogChoice) {
  const ImportCommand a = ParseImportCommand({"/QUIET", "a.png", "b c.jpg"});
  EXPECT_TRUE(a.quiet);
  EXPECT_EQ(a.files, (Names{"a.png", "b c.jpg"}));
  const ImportCommand b = ParseImportCommand({"a.png", "-quiet"});
  EXPECT_TRUE(b.quiet);
  EXPECT_EQ(b.files, Names{"a.png"});
  EXPECT_FALSE(ParseImportCommand({"quiet.png"}).quiet);
  using namespace std::string_literals;
  EXPECT_EQ(SplitDialogSelection("C:\\发型\\a.png\0\0"s), Names{"C:\\发型\\a.png"});
  EXPECT_EQ(SplitDialogSelection("C:\\发型\0a.png\0b.jpg\0\0"s),
            (Names{"C:\\发型\\a.png", "C:\\发型\\b.jpg"}));
  EXPECT_EQ(SplitDialogSelection("D:\\\0a.png\0b.jpg"s), (Names{"D:\\a.png", "D:\\b.jpg"}));
  EXPECT_EQ(SplitDialogSelection(""), Names{});
  std::vector<ImportResult> results(3);
  results[1].imported = true;
  EXPECT_EQ(CountNotImported(results), 2);
}

TEST(ImportCommandLine, EachPhotoTakesTheNextArgumentUnlessASwitchFollows) {
  struct Case {
    std::vector<std::string> args;
    Names photos, files;
    bool quiet;
  };
  for (const Case& c : std::vector<Case>{
           {{"/quiet", "/photo", "a.jpg"}, {"a.jpg"}, {}, true},
           {{"-PHOTO", "a b.jpg", "s.png"}, {"a b.jpg"}, {"s.png"}, false},
           {{"s.png", "/photo"}, {""}, {"s.png"}, false},
           {{"/photo", "/quiet"}, {""}, {}, true},
           {{"/photo", "a.jpg", "/photo", "b.jpg"}, {"a.jpg", "b.jpg"}, {}, false},
           {{"/photo", "/shade", "浅金"}, {""}, {}, false},
           {{"photo.png"}, {}, {"photo.png"}, false},
       }) {
    const ImportCommand cmd = ParseImportCommand(c.args);
    EXPECT_EQ(cmd.photos, c.photos) << c.args[0];
    EXPECT_EQ(cmd.files, c.files) << c.args[0];
    EXPECT_EQ(cmd.quiet, c.quiet) << c.args[0];
  }
}

TEST(ImportCommandLine, MatteAndCutoutTakeTheirFilesUpToTheNextSwitch) {
  struct Case {
    std::vector<std::string> args;
    std::vector<Names> cutouts;  // the files of each, "/cutout" ones after a "+"
    Names files;
  };
  for (const Case& c : std::vector<Case>{
           {{"/matte", "m.png", "p.jpg", "o.png", "s.png"},
            {{"m.png", "p.jpg", "o.png"}},
            {"s.png"}},
           {{"/cutout", "m.png", "p.jpg", "s.png"}, {{"+", "m.png", "p.jpg"}}, {"s.png"}},
           {{"/matte", "m.png", "/quiet", "x.png"}, {{"m.png"}}, {"x.png"}},
           {{"-CUTOUT", "/matte"}, {{"+"}, {}}, {}},
       }) {
    const ImportCommand cmd = ParseImportCommand(c.args);
    std::vector<Names> got;
    for (const CutoutCommand& cut : cmd.cutouts) {
      got.push_back(cut.import ? Names{"+"} : Names{});
      got.back().insert(got.back().end(), cut.files.begin(), cut.files.end());
    }
    EXPECT_EQ(got, c.cutouts) << c.args[0];
    EXPECT_EQ(cmd.files, c.files) << c.args[0];
  }
}

TEST(ImportCommandLine, EachShadeTakesTheArgumentAfterItEvenWhenNoneFollows) {
  const ImportCommand cmd =
      ParseImportCommand({"/SHADE", "浅金", "a.bmp", "-shade", "/quiet", "/shade"});
  EXPECT_EQ(cmd.shades, (Names{"浅金", "", ""}));
  EXPECT_EQ(cmd.files, Names{"a.bmp"});
  EXPECT_TRUE(cmd.quiet);
}

TEST(ImportCommandLine, OwnShadeTakesAShadeAndMarksUnlessASwitchComesFirst) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::pair<std::string, std::string>> asked;
    int undos;
  };
  for (const Case& c : std::vector<Case>{
           {{"/quiet", "/own-shade", "浅金", "m.png"}, {{"浅金", "m.png"}}, 0},
           {{"-OWN-SHADE", "#A5532E", "/quiet"}, {{"#A5532E", ""}}, 0},
           {{"/own-shade", "/own-shade-undo"}, {{"", ""}}, 1},
           {{"/own-shade-undo", "m.png"}, {}, 1},
       }) {
    const ImportCommand cmd = ParseImportCommand(c.args);
    std::vector<std::pair<std::string, std::string>> asked;
    for (const OwnShadeAsked& a : cmd.own_shades) asked.emplace_back(a.shade, a.marks);
    EXPECT_EQ(asked, c.asked) << c.args[1];
    EXPECT_EQ(cmd.own_shade_undos, c.undos) << c.args[1];
    EXPECT_EQ(cmd.files.size(), c.args.back() == "m.png" && c.undos) << c.args[1];
  }
}

}  // namespace
}  // namespace coiffure
