// The command line without a window: a line for every file given, each counted when not done,
// and a shade or an argument missing found before any file is touched.
#include "desk/command_run.h"

#include <gtest/gtest.h>

#include "import/customer_photo.h"
#include "native/import_fakes.h"

namespace coiffure {
namespace {

using importtest::AddStyle;
using importtest::FakeFolder;
using importtest::Import;
using importtest::ReaderOf;
using Names = std::vector<std::string>;

const std::string kBob = "C:\\in\\Bob.png";
const std::string kPhoto = std::string("：已换为顾客照片（300 × 300）");

TEST_F(Import, EveryPhotoGivenGetsItsLineAndCountsWhenNotUsed) {
  struct Case {
    Names photos, files;
    Names lines;
    int not_done;
  };
  const std::string extra = std::string("：") + kMsgExtraPhoto;
  const Case cases[] = {
      {{kBob}, {}, {kBob + kPhoto}, 0},
      {{kBob, "C:\\in\\b.jpg"}, {}, {kBob + kPhoto, "C:\\in\\b.jpg" + extra}, 1},
      {{"", kBob}, {}, {std::string("/photo：") + kMsgNoPhotoFile, kBob + kPhoto}, 1},
      {{"C:\\in\\no.png", kBob},
       {},
       {"C:\\in\\no.png：未换照片：" + std::string(kMsgNotAPicture), kBob + extra},
       2},
      {{kBob},
       {"C:\\in\\no.png"},
       {kBob + kPhoto, "C:\\in\\no.png：未导入：" + std::string(kMsgNotAPicture)},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.photos[0]);
    FakeFolder library, photos;
    Names lines;
    ImportCommand command;
    command.photos = c.photos, command.files = c.files;
    EXPECT_EQ(RunImports(command, source, library, photos, [&](auto l) { lines.push_back(l); }),
              c.not_done);
    ASSERT_EQ(lines.size(), c.lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
      EXPECT_EQ(lines[i].rfind(c.lines[i], 0), 0u) << lines[i];
  }
}

TEST_F(Import, AShadeMisspeltOrMissingTouchesNoFileAndSaysWhat) {
  struct Case {
    Names shades, files, photos;
    Names lines;
    int not_done;
  };
  const std::string unknown = UnknownShadeMessage("金色");
  const Case cases[] = {
      {{"浅金", "金色"},
       {kBob, "a.bmp"},
       {},
       {kBob + " 浅金：未生成：" + kMsgOtherShadeUnknown, kBob + " 金色：未生成：" + unknown,
        "a.bmp 浅金：未生成：" + std::string(kMsgOtherShadeUnknown),
        "a.bmp 金色：未生成：" + unknown},
       4},
      {{"浅金", ""}, {kBob}, {}, {std::string("/shade：") + kMsgNoShadeName}, 1},
      {{"浅金"}, {}, {}, {std::string("/shade：") + kMsgNoStyleFile}, 1},
      {{""},
       {},
       {},
       {std::string("/shade：") + kMsgNoShadeName, std::string("/shade：") + kMsgNoStyleFile},
       2},
      {{"浅金"},
       {},
       {kBob},
       {kBob + "：" + kMsgPhotoWithShade, std::string("/shade：") + kMsgNoStyleFile},
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shades[0] + " " + std::to_string(c.files.size()));
    FakeFolder f;
    AddStyle(f, "a.bmp");
    const Names before = f.Names();
    const ShadeLibrary library{f, "C:\\Coiffure\\ml_fx\\", [](const std::string& s) { return s; },
                               ReaderOf(f)};
    Names lines;
    ImportCommand command;
    command.shades = c.shades, command.files = c.files, command.photos = c.photos;
    EXPECT_EQ(RunShades(command, source, library, [&](auto l) { lines.push_back(l); }), c.not_done);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(f.Names(), before);
  }
}

}  // namespace
}  // namespace coiffure
