#include "colour/variants.h"

#include <gtest/gtest.h>

#include "gallery/scan.h"
#include "gallery/selection.h"
#include "imaging/oklab.h"
#include "import/naming.h"
#include "native/bmp_builder.h"
#include "native/import_fakes.h"

namespace coiffure {
namespace {

using importtest::AddStyle;
using importtest::FakeFolder;
using importtest::FakeSource;
using importtest::Import;
using importtest::ReaderOf;
using Names = std::vector<std::string>;

TEST(ImportNaming, AVariantReadsAsStyleAndShade) {
  const std::string long_style(90, 'x');
  std::string long_chinese, kept_chinese;
  for (int i = 0; i < 90; ++i) long_chinese += "长", kept_chinese += i < 61 ? "长" : "";
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
           {long_style, "浅金", std::string(kMaxStyleStemChars - 3, 'x') + "_浅金"},
           {long_chinese, "浅金", kept_chinese + "_浅金"},
       }) {
    const std::string stem = ShadeStem(c.style, c.shade);
    EXPECT_EQ(stem, c.want) << c.style;
    EXPECT_LE(CharacterCount(stem), kMaxStyleStemChars);
    EXPECT_EQ(StyleStemFromPath(StylePictureName(stem)), stem);  // already within the rules
  }
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

// A colour hair cannot have with its strands showing is made as the nearest one that can, and
// the line says which: the colour the written hair's mean is.
TEST_F(Import, AColourOutOfReachIsMadeAsTheNearestAndSaidSo) {
  AddStyle(folder, "afro_black.bmp");
  const ShadeOutcome out = MakeShadeVariants("afro_black.bmp", "afro_black.bmp",
                                             {"#FF0000", "#000000", "#FFFFFF", "酒红"}, source,
                                             folder, ReaderOf(folder));
  ASSERT_EQ(out.variants.size(), 4u);
  const std::string says = "（这个颜色无法完全达到，已用最接近的 #";
  const Picture mask = folder.Load("afro_blackmask.bmp");
  for (int i = 0; i < 3; ++i) {
    const std::string text = VariantText(out.variants[i]);
    const size_t at = text.find(says);
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_EQ(text.substr(0, at), "已生成 " + out.variants[i].picture);
    const std::optional<Shade> nearest = ParseShade(text.substr(at + says.size() - 1, 7));
    ASSERT_TRUE(nearest) << text;
    const Picture made = folder.Load(out.variants[i].picture);
    double n = 0, L = 0, a = 0, b = 0;
    for (int y = 0; y < made.Height(); ++y)
      for (int x = 0; x < made.Width(); ++x) {
        if (mask.PixelBgr(x, y) != Bgr{}) continue;
        const Oklab c = BgrToOklab(made.PixelBgr(x, y));
        n += 1, L += c.L, a += c.a, b += c.b;
      }
    EXPECT_LE(DeltaE({float(L / n), float(a / n), float(b / n)}, BgrToOklab(nearest->mean)), 0.04)
        << text;
  }
  EXPECT_EQ(VariantText(out.variants[3]), "已生成 afro_酒红.bmp");
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
}

}  // namespace
}  // namespace coiffure
