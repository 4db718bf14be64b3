#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <map>

#include "gallery/scan.h"
#include "gallery/selection.h"
#include "import/importer.h"
#include "import/naming.h"
#include "import/shade_import.h"
#include "native/bmp_builder.h"
#include "native/import_fakes.h"

namespace coiffure {
namespace {

using importtest::AddStyle;
using importtest::FakeFolder;
using importtest::FakeSource;
using importtest::ReaderOf;

TEST(ImportNaming, StemsAreFoundByTheScanAndTheSelection) {
  std::string forty;
  for (int i = 0; i < 40; ++i) forty += "发";
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
           {forty + ".png", forty.substr(0, 78)},  // cut on a character boundary
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

TEST(ImportNaming, AVariantReadsAsStyleAndShade) {
  const std::string long_style(90, 'x');
  struct Case {
    std::string style, shade, want;
  };
  for (const Case& c : std::vector<Case>{
           {"afro_black", "浅金", "afro_浅金"},
           {"long_straight_darkbrown", "铜橙", "long_straight_铜橙"},
           {"Bob_BLACK", "银灰", "Bob_银灰"},       // colour words in any case
           {"bob_chestnut_2", "酒红", "bob_酒红"},  // the suffix belonged to the old colour
           {"afro_浅金", "铜橙", "afro_铜橙"},      // a variant of a variant
           {"afro_自选A5532E", "浅金", "afro_浅金"},
           {"curly-brown", "深棕", "curly-深棕"},
           {"长发黑色", "浅金", "长发浅金"},  // Chinese runs its words together
           {"black", "浅金", "浅金"},
           {"blackbird", "浅金", "blackbird_浅金"},  // not a colour word
           {"waves_2", "浅金", "waves_2_浅金"},
           {"盘发", "自选A5532E", "盘发_自选A5532E"},
           {long_style, "浅金", std::string(kMaxStyleStemBytes - 7, 'x') + "_浅金"},
       }) {
    const std::string stem = ShadeStem(c.style, c.shade);
    EXPECT_EQ(stem, c.want) << c.style;
    EXPECT_LE(stem.size(), kMaxStyleStemBytes);
    EXPECT_EQ(StyleStemFromPath(StylePictureName(stem)), stem);  // already within the rules
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

RgbaImage Square(int side, int inner) {
  RgbaImage img = RgbaImage::Create(side, side);
  for (int y = 0; y < inner; ++y)
    for (int x = 0; x < inner; ++x) img.Pixel(x + 5, y + 5)[3] = 255;
  return img;
}

class Import : public ::testing::Test {
 protected:
  void SetUp() override {
    source.pictures["C:\\in\\Bob.png"] = Square(300, 250);
    source.pictures["C:\\in\\clear.png"] = RgbaImage::Create(50, 50);
  }
  FakeFolder folder;
  FakeSource source;
};

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

TEST_F(Import, ShadesOfALibraryStyleAreNewPairsWithItsOwnMask) {
  AddStyle(folder, "afro_black.bmp");
  const ShadeOutcome out =
      MakeShadeVariants("afro_black.bmp", "afro_black.bmp", {"浅金", "#A5532E", "浅金"}, source,
                        folder, ReaderOf(folder));
  EXPECT_FALSE(out.import);
  ASSERT_EQ(out.variants.size(), 3u);
  std::vector<std::string> texts;
  for (const ImportResult& v : out.variants) texts.push_back(VariantText(v));
  EXPECT_EQ(texts, (Names{"已生成 afro_浅金.bmp", "已生成 afro_自选A5532E.bmp",
                          "已生成 afro_浅金_2.bmp"}));
  EXPECT_EQ(folder.Names().size(), 8u);  // nothing but the pairs
  const Picture mask = folder.Load("afro_blackmask.bmp");
  for (const char* stem : {"afro_浅金", "afro_自选A5532E", "afro_浅金_2"}) {
    SCOPED_TRACE(stem);
    EXPECT_EQ(folder.files[FakeFolder::Key(std::string(stem) + "mask.bmp")].second,
              folder.files["afro_blackmask.bmp"].second);
    const Picture colour = folder.Load(std::string(stem) + ".bmp");
    ASSERT_EQ(colour.Width(), mask.Width());
    EXPECT_EQ(colour.PixelBgr(0, 0), (Bgr{0, 0, 0}));      // off the hair
    EXPECT_NE(colour.PixelBgr(110, 120), (Bgr{0, 0, 0}));  // on it
  }
}

TEST_F(Import, ShadeRefusalsSayWhyAndLeaveNothingBehind) {
  struct Case {
    std::string file;
    std::optional<std::string> library_name;
    std::string shade;
    std::function<void(FakeFolder&)> setup;
    std::string message;
  };
  const auto style = [](FakeFolder& f) { AddStyle(f, "a.bmp"); };
  for (const Case& c : std::vector<Case>{
           {"a.bmp", "a.bmp", "金色", style, UnknownShadeMessage("金色")},
           {"C:\\in\\Bob.png", std::nullopt, "金色", nullptr, UnknownShadeMessage("金色")},
           {"a.bmp", "a.bmp", "浅金",
            [](FakeFolder& f) { AddStyle(f, "a.bmp"), f.Remove("amask.bmp"); }, kMsgNoMask},
           {"amask.bmp", "amask.bmp", "浅金", style, kMsgIsAMask},
           {"b.bmp", "b.bmp", "浅金", nullptr, kMsgCannotOpenPicture},
           {"a.bmp", "a.bmp", "浅金",
            [](FakeFolder& f) {
              AddStyle(f, "a.bmp"), f.files["a.bmp"].second = {'B', 'M', 1};
            },
            kMsgNotAPicture},
           {"a.bmp", "a.bmp", "浅金",
            [](FakeFolder& f) { AddStyle(f, "a.bmp"), f.files["amask.bmp"].second = {}; },
            kMsgBrokenMask},
           {"a.bmp", "a.bmp", "浅金",
            [](FakeFolder& f) {
              AddStyle(f, "a.bmp");
              f.files["amask.bmp"].second = Picture::Create24(220, 200).EncodeBmp24();
            },
            kMsgSizesDiffer},
           {"a.bmp", "a.bmp", "浅金",
            [](FakeFolder& f) {
              AddStyle(f, "a.bmp");
              f.files["amask.bmp"].second =
                  Picture::Create24(220, 240, {255, 255, 255}).EncodeBmp24();
            },
            kMsgNoHair},
           {"a.bmp", "a.bmp", "浅金",
            [](FakeFolder& f) { AddStyle(f, "a.bmp"), f.writes_left = 1; }, kMsgFolderNotWritable},
           {"C:\\in\\notes.txt", std::nullopt, "浅金", nullptr, kMsgNotAPicture},
       }) {
    SCOPED_TRACE(c.file + " " + c.shade);
    FakeFolder f;
    if (c.setup) c.setup(f);
    const Names before = f.Names();
    const ShadeOutcome out =
        MakeShadeVariants(c.file, c.library_name, {c.shade}, source, f, ReaderOf(f));
    ASSERT_EQ(out.variants.size(), 1u);
    EXPECT_EQ(VariantText(out.variants[0]), "未生成：" + c.message);
    EXPECT_EQ(f.Names(), before);
  }
}

TEST_F(Import, AnyOtherPictureIsImportedFirstThenShaded) {
  const ShadeOutcome out = MakeShadeVariants("C:\\in\\Bob.png", std::nullopt, {"铜橙"}, source,
                                             folder, ReaderOf(folder));
  ASSERT_TRUE(out.import && out.import->imported);
  EXPECT_EQ(ResultText(*out.import), "已导入为 Bob.bmp");
  EXPECT_EQ(VariantText(out.variants.at(0)), "已生成 Bob_铜橙.bmp");
  EXPECT_EQ(folder.Names(), (Names{"Bob.bmp", "Bob_铜橙.bmp", "Bob_铜橙mask.bmp", "Bobmask.bmp"}));
}

TEST(ImportShade, ShadesByNameOrColourAndStylesByTheirPlaceInTheLibrary) {
  // The palette as the salon's list gives it, red first: the table holds blue first.
  std::string palette;
  for (const Shade& s : ShadePalette())
    palette += s.name + CustomShade(s.mean).name.substr(6) + " ";
  EXPECT_EQ(palette,
            "自然黑1F1B1A 深棕3D2B22 栗棕5C3A26 蜜糖棕8B5E3C 奶茶棕9C7A5F 亚麻金B39B7A 浅金D2B98C "
            "铜橙A5532E 酒红5E1F2A 玫瑰粉C4828F 雾霾蓝56667A 银灰A9A9AB ");
  EXPECT_EQ(ParseShade("浅金")->mean, FindShade("浅金")->mean);
  EXPECT_EQ(ParseShade("#a5532E")->name, "自选A5532E");
  EXPECT_EQ(ParseShade("#a5532E")->mean, (Bgr{0x2E, 0x53, 0xA5}));
  for (const char* bad : {"", "金", "#A5532", "#A5532EE", "#G5532E", "浅金 "})
    EXPECT_FALSE(ParseShade(bad)) << bad;
  const std::string lib = "C:\\Coiffure\\ml_fx\\";
  const auto in_library = [](const std::string& n) { return n == "afro_black.bmp"; };
  struct Case {
    std::string file, full;
    std::optional<std::string> want;
  };
  for (const Case& c : std::vector<Case>{
           {"afro_black.bmp", "D:\\work\\afro_black.bmp", "afro_black.bmp"},
           {"bob.bmp", "D:\\work\\bob.bmp", std::nullopt},
           {"x", "c:\\coiffure\\ML_FX\\Bob.bmp", "Bob.bmp"},
           {"x", "C:\\Coiffure\\ml_fx\\long.png", std::nullopt},
           {"x", "C:\\Coiffure\\ml_fx\\.hidden.bmp", std::nullopt},
           {"x", "C:\\Coiffure\\ml_fx\\sub\\a.bmp", std::nullopt},
       })
    EXPECT_EQ(LibraryNameOf(c.file, c.full, lib, in_library), c.want) << c.full;
  const ImportCommand cmd = ParseImportCommand({"/quiet", "/SHADE", "浅金", "a.bmp", "-shade"});
  EXPECT_EQ(cmd.shades, (Names{"浅金", ""}));
  EXPECT_EQ(cmd.files, Names{"a.bmp"});
}

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

}  // namespace
}  // namespace coiffure
