// The customer's own hair in a shade through the command line's one step: the photo a colour
// starts from, the marks kept for it, and what a refusal leaves.
#include "desk/own_hair/own_hair.h"

#include <gtest/gtest.h>

#include "colour/palette.h"
#include "desk/command_run.h"
#include "desk/own_hair/own_hair_look.h"
#include "native/import_fakes.h"

namespace coiffure {
namespace {

using importtest::FakeFolder;
using importtest::FakeSource;
using Bytes = std::vector<uint8_t>;
using Names = std::vector<std::string>;

constexpr int kW = 120, kH = 90;
const std::string kMarks = "C:\\marks.png", kSmallMarks = "C:\\small.png";

// Dark hair on the left over a light wall, a hair stroke in it and a not-hair stroke on the
// wall; the marks picture as an operator paints it.
struct OwnHairPlace {
  OwnHairPlace() {
    Picture photo = Picture::Create24(kW, kH, {200, 196, 190});
    RgbaImage marks = RgbaImage::Create(kW, kH);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        if (x < 50) std::fill_n(photo.Row(y) + 3 * x, 3, static_cast<uint8_t>(30 + (x + y) % 9));
        uint8_t* m = marks.Pixel(x, y);
        m[0] = m[1] = m[2] = 128, m[3] = 255;
        if (x > 10 && x < 30) m[0] = m[1] = 0, m[2] = 255;
        if (x > 80 && x < 100) m[0] = 255, m[1] = m[2] = 0;
      }
    original = photo.EncodeBmp24();
    folder.files["test.bmp"] = {"test.bmp", original};
    source.pictures[kMarks] = marks;
    source.pictures[kSmallMarks] = RgbaImage::Create(kW - 1, kH);
  }
  Bytes At(const std::string& name) { return folder.files.at(FakeFolder::Key(name)).second; }

  FakeFolder folder;
  FakeSource source;
  PhotoFolder photos{folder, importtest::ReaderOf(folder)};
  Bytes original;
};

TEST(OwnHair, ASecondColourStartsFromTheKeptOriginalWithTheMarksKeptForIt) {
  OwnHairPlace once, twice;
  ASSERT_TRUE(ApplyOwnShade(once.photos, once.source, "酒红", kMarks).done);
  const OwnShadeOutcome first = ApplyOwnShade(twice.photos, twice.source, "浅金", kMarks);
  EXPECT_EQ(first.text, "已换上发色 浅金，原照片保存在 ml_data\\原照片.bmp");
  ASSERT_TRUE(ApplyOwnShade(twice.photos, twice.source, "酒红", kMarks).done);
  EXPECT_EQ(twice.At("test.bmp"), once.At("test.bmp"));
  EXPECT_EQ(twice.At(kKeptPhotoName), twice.original);

  const OwnHairStart start = StartOwnHair(twice.photos);
  EXPECT_TRUE(start.original.kept);
  ASSERT_TRUE(start.marks);
  EXPECT_EQ(cutout::MarksOf(*start.marks, kW, kH).labels,
            cutout::ReadMarks(twice.source.pictures[kMarks], kW, kH).marks->labels);

  EXPECT_EQ(UndoOwnShade(twice.photos).text, "已恢复原照片");
  EXPECT_EQ(twice.At("test.bmp"), twice.original);
  EXPECT_TRUE(StartOwnHair(twice.photos).marks) << "the same photo keeps its marks";
  EXPECT_EQ(UndoOwnShade(twice.photos).text, std::string("未恢复原照片：") + kMsgNothingToRestore);
}

// Every line of the command and its count of what was not done; a refusal touches no file.
TEST(OwnHair, TheCommandLineSaysWhatItDidAndRefusesWithoutTouchingAFile) {
  struct Case {
    std::vector<OwnShadeAsked> asked;
    int undos;
    Names files;
    Names lines;
    int not_done;
  };
  const std::string done =
      "ml_data\\test.bmp 浅金：已换上发色 浅金，原照片保存在 ml_data\\原照片.bmp";
  const std::string no = "ml_data\\test.bmp 浅金：未换发色：";
  const Case cases[] = {
      {{{"浅金", kMarks}}, 0, {}, {done}, 0},
      {{{"浅金", kMarks}, {"酒红", kMarks}},
       1,
       {"a.png"},
       {done, "/own-shade 酒红：未使用：一次只能换一次发色或恢复一次原照片",
        "/own-shade-undo：未使用：一次只能换一次发色或恢复一次原照片",
        "a.png：未使用：给顾客照片换发色时不做别的"},
       3},
      {{{"金色", kMarks}},
       0,
       {},
       {"ml_data\\test.bmp 金色：未换发色：" + UnknownShadeMessage("金色")},
       1},
      {{{"", ""}}, 0, {}, {"/own-shade：没有给出发色名称"}, 1},
      {{{"浅金", ""}}, 0, {}, {"/own-shade 浅金：没有给出标记图"}, 1},
      {{{"浅金", kSmallMarks}}, 0, {}, {no + cutout::kMsgMarksOtherSize}, 1},
      {{{"浅金", "C:\\none.png"}}, 0, {}, {no + "无法读取标记图（" + kMsgNotAPicture + "）"}, 1},
      {{}, 1, {}, {std::string("ml_data\\test.bmp：未恢复原照片：") + kMsgNothingToRestore}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines[0]);
    OwnHairPlace place;
    ImportCommand command;
    command.own_shades = c.asked, command.own_shade_undos = c.undos, command.files = c.files;
    Names lines;
    EXPECT_EQ(RunOwnShade(command, place.source, place.photos, [&](auto l) { lines.push_back(l); }),
              c.not_done);
    EXPECT_EQ(lines, c.lines);
    if (c.not_done < static_cast<int>(c.lines.size())) continue;
    EXPECT_EQ(place.folder.Names(), Names{"test.bmp"});
    EXPECT_EQ(place.At("test.bmp"), place.original);
  }
}

TEST(OwnHair, APhotoReplacedMeanwhileIsNotRecolouredOver) {
  OwnHairPlace place;
  const OwnHairStart start = StartOwnHair(place.photos);
  const Bytes other = Picture::Create24(kW, kH, {1, 2, 3}).EncodeBmp24();
  place.folder.files["test.bmp"] = {"test.bmp", other};
  EXPECT_EQ(ReasonItFailed([&] { UseAsCustomerPhoto(place.photos, start, start.photo, {}); }),
            kMsgPhotoChangedMeanwhile);
  EXPECT_EQ(place.folder.Names(), Names{"test.bmp"});
  EXPECT_EQ(place.At("test.bmp"), other);
}

// The window's look reads the hair once a matte: a new matte must be read anew, not served
// from the one before.
TEST(OwnHair, TheLookFollowsEveryChangeOfMatteAndShade) {
  OwnHairPlace place;
  Picture photo;
  photo.LoadFromBytes(place.original);
  std::vector<uint8_t> left(kW * kH, 0), right(kW * kH, 0);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) (x < 50 ? left : right)[y * kW + x] = 255;
  OwnHairLook look;
  for (const auto& [matte, shade] : {std::pair{&left, "浅金"}, {&left, "酒红"}, {&right, "酒红"}}) {
    Picture want;
    OwnHair(photo, *matte).Recolour(FindShade(shade)->mean, want);
    EXPECT_EQ(look.Recolour(photo, *matte, FindShade(shade)->mean).photo.EncodeBmp24(),
              want.EncodeBmp24())
        << shade;
  }
}

}  // namespace
}  // namespace coiffure
