#include "desk/chooser/shade_chooser.h"

#include <gtest/gtest.h>

#include "desk/desk_rows.h"
#include "desk/preview/preview.h"
#include "native/import_fakes.h"

namespace coiffure {
namespace {

using importtest::AddStyle;
using importtest::FakeFolder;
using importtest::FakeSource;
using importtest::ReaderOf;
using Names = std::vector<std::string>;

TEST(ShadeChooser, OffersTheStylesTheGalleryListsAtTheLibrarysTop) {
  const std::vector<DirEntry> entries = {
      {"afro_black.bmp", kAttrArchive},
      {"afro_blackmask.bmp", kAttrArchive},
      {"Mask.bmp", 0},  // listed by the gallery: "mask" is matched with its case
      {".coiffure-7-1-colour.tmp", kAttrHidden},
      {".hidden.bmp", kAttrHidden},
      {"extra.bmp", kAttrDirectory},
      {"notes.txt", 0},
      {"长发黑色.BMP", kAttrReadOnly},
      {"damask.bmp", 0},
  };
  EXPECT_EQ(OfferedStyles(entries), (Names{"afro_black.bmp", "Mask.bmp", "长发黑色.BMP"}));
  const FolderNames names(entries);
  EXPECT_TRUE(names.Has("AFRO_BLACKMASK.bmp"));  // as the file system compares
  EXPECT_TRUE(names.Has("长发黑色.bmp"));
  EXPECT_FALSE(names.Has("afro_浅金.bmp"));
}

// The plan names each variant as it will be written: what the shade code then writes into the
// same library, style by style, is exactly the plan.
TEST(ShadeChooser, ThePlanNamesEachVariantAsItIsThenWritten) {
  const Shade gold = *FindShade("浅金"), copper = *FindShade("铜橙");
  const Shade own = CustomShade({0x3A, 0x6B, 0x2E});
  struct Case {
    Names library, styles;
    std::vector<Shade> shades;
    Names want;
  };
  for (const Case& c : std::vector<Case>{
           {{"afro_black.bmp", "bob_black.bmp"},
            {"afro_black.bmp", "bob_black.bmp"},
            {gold, copper},
            {"afro_浅金.bmp", "afro_铜橙.bmp", "bob_浅金.bmp", "bob_铜橙.bmp"}},
           // Two styles that give one name, one of them taken already (in another case).
           {{"afro_black.bmp", "afro_brown.bmp", "AFRO_浅金.BMP"},
            {"afro_black.bmp", "afro_brown.bmp"},
            {gold},
            {"afro_浅金_2.bmp", "afro_浅金_3.bmp"}},
           {{"长发黑色.bmp", "盘发.bmp"},
            {"长发黑色.bmp", "盘发.bmp"},
            {own},
            {"长发自选2E6B3A.bmp", "盘发_自选2E6B3A.bmp"}},
           {{"a.b.bmp"}, {"a.b.bmp"}, {gold}, {"a_b_浅金.bmp"}},
       }) {
    FakeFolder folder;
    for (const std::string& name : c.library)
      if (name.find(".BMP") == std::string::npos)
        AddStyle(folder, name);
      else
        folder.files[FakeFolder::Key(name)] = {name, {1}};
    const auto in_library = [&](const std::string& n) { return folder.Exists(n); };
    const std::vector<PlannedVariant> plan = PlanVariants(c.styles, c.shades, in_library);
    Names planned;
    for (const PlannedVariant& v : plan) planned.push_back(v.picture);
    EXPECT_EQ(planned, c.want);

    std::vector<std::string> asked;
    for (const Shade& s : c.shades) asked.push_back(ShadeArgument(s));
    FakeSource source;
    Names written;
    for (const std::string& style : c.styles)
      for (const ImportResult& v :
           MakeShadeVariants(style, style, asked, source, folder, ReaderOf(folder)).variants)
        written.push_back(v.picture);
    EXPECT_EQ(written, c.want);
  }
}

// The button counts only what can be made: a style without its mask, or a variant without a
// free name, is planned with its refusal and left out of what is handed to the shade code.
TEST(ShadeChooser, OnlyTheVariantsThatCanBeMadeAreCountedAndHandedOver) {
  const Shade gold = *FindShade("浅金"), copper = *FindShade("铜橙");
  const std::vector<Shade> shades = {gold, copper};
  struct Case {
    Names styles;
    std::function<bool(const std::string&)> in_library;
    std::vector<std::string> why_not;
    std::string make, plan;
  };
  const auto lone_lacks_mask = [](const std::string& n) { return n == "bobmask.bmp"; };
  const auto every_name_taken = [](const std::string&) { return true; };
  for (const Case& c : std::vector<Case>{
           {{"bob.bmp"}, lone_lacks_mask, {"", ""}, "生成 2 款新发型(&M)", "2 款，"},
           {{"bob.bmp", "lone.bmp"},
            lone_lacks_mask,
            {"", "", kMsgNoMask, kMsgNoMask},
            "生成 2 款新发型(&M)",
            "4 款（2 款不能生成），"},
           {{"bob.bmp"},
            every_name_taken,
            {kMsgNoFreeName, kMsgNoFreeName},
            "生成新发型(&M)",
            "2 款（2 款不能生成），"},
       }) {
    const std::vector<PlannedVariant> plan = PlanVariants(c.styles, shades, c.in_library);
    std::vector<std::string> why_not;
    for (const PlannedVariant& v : plan) why_not.push_back(v.why_not);
    EXPECT_EQ(why_not, c.why_not) << c.styles.back();
    const std::vector<VariantChoice> makeable = MakeableVariants(plan, c.styles, shades);
    EXPECT_EQ(MakeCaption(makeable.size()), c.make);
    EXPECT_EQ(PlanCaption(plan.size(), makeable.size()),
              "3. 将生成的新发型(&L)：" + c.plan + "单击一行，右边显示它的预览");
    for (const VariantChoice& v : makeable) EXPECT_EQ(v.style, "bob.bmp");
  }
}

// Two rows of six palette swatches and the custom one under the third column.
TEST(ShadeChooser, ArrowKeysMoveThroughTheSwatchGridAsItIsDrawn) {
  struct Case {
    size_t from;
    Arrow arrow;
    bool custom;
    size_t want;
  };
  for (const Case& c : std::vector<Case>{{2, Arrow::kDown, false, 8},
                                         {8, Arrow::kUp, false, 2},
                                         {8, Arrow::kDown, true, 12},
                                         {8, Arrow::kDown, false, 8},
                                         {12, Arrow::kUp, true, 8},
                                         {11, Arrow::kRight, false, 0},
                                         {11, Arrow::kRight, true, 12},
                                         {0, Arrow::kLeft, true, 12}}) {
    EXPECT_EQ(SwatchAfterArrow(c.from, c.arrow, 12, 6, c.custom), c.want)
        << c.from << " " << static_cast<int>(c.arrow);
  }
  EXPECT_EQ(PaletteShadeOf(FindShade("酒红")->mean),
            size_t(FindShade("酒红") - ShadePalette().data()));
  EXPECT_FALSE(PaletteShadeOf({0x3A, 0x6B, 0x2E}));
}

TEST(ShadeChooser, ThePreviewShowsTheStyleInTheShadeClickedLast) {
  const std::vector<PlannedVariant> plan = {
      {0, 0, "", ""}, {0, 1, "", ""}, {1, 0, "", ""}, {1, 1, "", ""}};
  struct Case {
    size_t style, shade;
    int want;
  };
  for (const Case& c : std::vector<Case>{{1, 1, 3}, {0, 1, 1}, {1, 5, 2}, {9, 1, 0}})
    EXPECT_EQ(VariantToPreview(plan, c.style, c.shade), c.want) << c.style << " " << c.shade;
  EXPECT_EQ(VariantToPreview({}, 0, 0), -1);
}

// The preview of a variant not yet made is the desk's preview of the pair once it is made.
TEST(ShadeChooser, AVariantsPreviewIsThePreviewOfWhatIsWritten) {
  FakeFolder folder;
  AddStyle(folder, "afro_black.bmp");
  AddStyle(folder, "lone.bmp");
  folder.Remove("lonemask.bmp");
  const Shade gold = *FindShade("浅金");
  Frame before, after;
  const std::string caption = ComposeVariantPreview("afro_black.bmp", gold, "afro_浅金.bmp",
                                                    ReaderOf(folder), "no photo.bmp", before);
  EXPECT_EQ(caption.rfind("预览：afro_black.bmp 换成浅金，生成后保存为 afro_浅金.bmp。", 0), 0u)
      << caption;
  FakeSource source;
  MakeShadeVariants("afro_black.bmp", "afro_black.bmp", {"浅金"}, source, folder, ReaderOf(folder));
  ComposePairPreview({}, folder.Load("afro_浅金.bmp"), folder.Load("afro_浅金mask.bmp"), after);
  EXPECT_EQ(before.bgr, after.bgr);
  EXPECT_NE(before.At(264, 222), kTeal);  // the hair is there

  // A colour out of reach is previewed as the nearest, and the caption says so.
  const std::string red = ComposeVariantPreview("afro_black.bmp", CustomShade({0, 0, 255}), "",
                                                ReaderOf(folder), "no photo.bmp", before);
  EXPECT_EQ(
      red.rfind("预览：afro_black.bmp 换成自选FF0000（这个颜色无法完全达到，已用最接近的 #", 0), 0u)
      << red;

  std::string why_not;
  const std::string refusal = ComposeVariantPreview("lone.bmp", gold, "lone_浅金.bmp",
                                                    ReaderOf(folder), "", before, &why_not);
  EXPECT_EQ(refusal, std::string("lone.bmp 不能换成浅金：") + kMsgNoMask + "。");
  EXPECT_EQ(why_not, kMsgNoMask);
  EXPECT_EQ(before.At(264, 222), kTeal);
}

TEST(ShadeChooser, ShadesAreAskedForByNamesTheShadeCodeReadsBack) {
  for (const Shade& s : {*FindShade("玫瑰粉"), CustomShade({0x3A, 0x6B, 0x2E})}) {
    const std::optional<Shade> back = ParseShade(ShadeArgument(s));
    ASSERT_TRUE(back) << s.name;
    EXPECT_EQ(back->name, s.name);
    EXPECT_EQ(back->mean, s.mean);
  }
  EXPECT_EQ(ShadeArgument(CustomShade({0x3A, 0x6B, 0x2E})), "#2E6B3A");
  const DeskRow made = VariantRow({"bob.bmp", true, "bob_浅金.bmp", ""}, "浅金", "C:\\lib\\");
  EXPECT_EQ(made.file, "bob.bmp 浅金");
  EXPECT_EQ(made.result, "已生成 bob_浅金.bmp");
  EXPECT_EQ(made.preview.mask, "C:\\lib\\bob_浅金mask.bmp");
  const DeskRow refused = VariantRow({"bob.bmp", false, "", kMsgNoMask}, "浅金", "C:\\lib\\");
  EXPECT_EQ(refused.result, std::string("未生成：") + kMsgNoMask);
  EXPECT_EQ(refused.preview.kind, PreviewSubject::Kind::kNothing);
  EXPECT_EQ(VariantsMadeNotice(2, 1).rfind("已生成 2 款新发型。重新启动 Coiffure", 0), 0u);
  EXPECT_NE(VariantsMadeNotice(2, 1).find("另有 1 款没有生成"), std::string::npos);
  EXPECT_EQ(VariantsMadeNotice(0, 3).find("已生成"), std::string::npos);
}

// A list of many styles keeps the thumbnails asked for lately; a cell is made again only for a
// style that lost it.
TEST(ShadeChooser, ThumbnailCellsGoToTheStylesShownLately) {
  ThumbnailSlots slots(2);
  struct Step {
    size_t style;
    int cell;
    bool fresh;
  };
  for (const Step& s : std::vector<Step>{{0, 0, true},
                                         {1, 1, true},
                                         {0, 0, false},
                                         {2, 1, true},  // 1 was asked for longest ago
                                         {1, 0, true},  // and now 0
                                         {2, 1, false},
                                         {1, 0, false},
                                         {0, 1, true}}) {
    const ThumbnailSlots::Slot got = slots.For(s.style);
    EXPECT_EQ(got.cell, s.cell) << s.style;
    EXPECT_EQ(got.fresh, s.fresh) << s.style;
  }
}

}  // namespace
}  // namespace coiffure
