#include "import/customer_photo.h"

#include <cmath>
#include <gtest/gtest.h>

#include "gallery/scan.h"
#include "import/naming.h"
#include "native/import_fakes.h"

namespace coiffure {
namespace {

using importtest::FakeFolder;
using importtest::FakeSource;
using Names = std::vector<std::string>;

TEST(CustomerPhoto, TheWholePictureFitsThePaintBoxWithOneSideAtItsLimit) {
  struct Case {
    int w, h;
    Size want;
  };
  for (const Case& c : std::vector<Case>{
           {3024, 4032, {333, 444}},  // a phone's portrait
           {4032, 3024, {529, 397}},  // and its landscape
           {640, 480, {529, 397}},    // a webcam's
           {1058, 888, {529, 444}},   // the box's own proportions
           {530, 444, {529, 443}},
           {529, 445, {528, 444}},
           {20000, 3, {529, 1}},  // never a side of 0
           {3, 20000, {1, 444}},
           {529, 444, {529, 444}},  // fits already: kept, never enlarged
           {100, 50, {100, 50}},
       }) {
    EXPECT_EQ(PhotoSize(c.w, c.h), c.want) << c.w << "x" << c.h;
  }
}

double LinearOf(uint8_t v) {
  const double c = v / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

TEST(CustomerPhoto, TransparencyShowsWhiteMixedInLinearLight) {
  RgbaImage img = RgbaImage::Create(4, 1);
  const uint8_t pixels[4][4] = {
      {10, 20, 30, 255}, {10, 20, 30, 0}, {0, 0, 0, 128}, {0, 0, 255, 64}};
  for (int x = 0; x < 4; ++x) std::copy_n(pixels[x], 4, img.Pixel(x, 0));
  const Picture p = FlattenOnWhite(img);
  ASSERT_EQ(p.BitsPerPixel(), 24);
  EXPECT_EQ(p.PixelBgr(0, 0), (Bgr{10, 20, 30}));
  EXPECT_EQ(p.PixelBgr(1, 0), (Bgr{255, 255, 255}));
  // Half-covering black lets through half the white's light (not half its code value, 128).
  const Bgr half = p.PixelBgr(2, 0);
  EXPECT_NEAR(LinearOf(half.g), 1 - 128 / 255.0, 0.004);
  EXPECT_EQ(half.r, half.g);
  const Bgr red = p.PixelBgr(3, 0);  // a quarter red over white: red stays full, the others dim
  EXPECT_EQ(red.r, 255);
  EXPECT_NEAR(LinearOf(red.g), 1 - 64 / 255.0, 0.005);
}

TEST(CustomerPhoto, AReductionAveragesAreasRatherThanPickingPixels) {
  RgbaImage checks = RgbaImage::Create(1058, 888);
  for (int y = 0; y < 888; ++y)
    for (int x = 0; x < 1058; ++x) {
      uint8_t* p = checks.Pixel(x, y);
      p[0] = p[1] = p[2] = (x + y) % 2 ? 255 : 0;
      p[3] = 255;
    }
  const Picture photo = MakeCustomerPhoto(checks);
  ASSERT_EQ(photo.Width(), 529);
  ASSERT_EQ(photo.Height(), 444);
  for (int y = 0; y < 444; y += 37)
    for (int x = 0; x < 529; x += 41)
      EXPECT_NEAR(photo.PixelBgr(x, y).g, 127.5, 1) << x << "," << y;
}

class Photo : public ::testing::Test {
 protected:
  void SetUp() override {
    RgbaImage portrait = RgbaImage::Create(600, 800);
    for (size_t i = 3; i < portrait.bgra.size(); i += 4) portrait.bgra[i] = 255;
    source.pictures["C:\\in\\portrait.jpg"] = portrait;
    folder.files["test.bmp"] = {"test.bmp", {1, 2, 3}};
  }
  FakeFolder folder;
  FakeSource source;
};

TEST_F(Photo, ReplacesTestBmpInOneMoveWithA24BitPictureAndLeavesNothingElse) {
  const PhotoResult r = ReplaceCustomerPhoto("C:\\in\\portrait.jpg", source, folder);
  ASSERT_TRUE(r.replaced) << r.message;
  EXPECT_EQ(r.size, (Size{333, 444}));
  EXPECT_EQ(folder.Names(), Names{"test.bmp"});
  const Picture p = folder.Load("test.bmp");
  EXPECT_EQ(p.BitsPerPixel(), 24);
  EXPECT_EQ(p.Width(), 333);
  EXPECT_EQ(p.Height(), 444);
  EXPECT_EQ(PhotoResultText(r), "已换为顾客照片（333 × 444）");
}

TEST_F(Photo, ARefusalSaysWhyAndLeavesTheOldPhotoByteForByte) {
  for (const importtest::RefusalCase& c : std::vector<importtest::RefusalCase>{
           {"C:\\in\\notes.txt", nullptr, kMsgNotAPicture},
           {"", nullptr, kMsgNoPhotoFile},
           {"C:\\in\\portrait.jpg", [](FakeFolder& f) { f.can_create = false; },
            kMsgFolderNotWritable},
           {"C:\\in\\portrait.jpg", [](FakeFolder& f) { f.writes_left = 0; },
            kMsgFolderNotWritable},
           {"C:\\in\\portrait.jpg", [](FakeFolder& f) { f.moves_left = 0; }, kMsgPhotoNotReplaced},
       }) {
    FakeFolder f;
    f.files["test.bmp"] = {"test.bmp", {1, 2, 3}};
    if (c.fault) c.fault(f);
    const PhotoResult r = ReplaceCustomerPhoto(c.path, source, f);
    EXPECT_FALSE(r.replaced) << c.path;
    EXPECT_EQ(r.message, c.message) << c.path;
    EXPECT_EQ(PhotoResultText(r), std::string("未换照片：") + c.message);
    EXPECT_EQ(f.Names(), Names{"test.bmp"}) << c.path;
    EXPECT_EQ(f.files["test.bmp"].second, (std::vector<uint8_t>{1, 2, 3})) << c.path;
  }
}

TEST(TemporaryNames, HiddenFromTheScanAndApartForEachProcessAndSerial) {
  const std::string a = TemporaryName(4242, 0, "colour");
  for (const std::string& name : {a, TemporaryName(0, 7, "mask"), TemporaryName(1, 1, "photo")}) {
    EXPECT_EQ(name[0], '.') << name;
    EXPECT_FALSE(MatchesBmpPattern(name)) << name;
  }
  EXPECT_NE(a, TemporaryName(4243, 0, "colour"));
  EXPECT_NE(a, TemporaryName(4242, 1, "colour"));
  EXPECT_NE(a, TemporaryName(4242, 0, "mask"));
  // Another process's numbers must not run together into ours: 1-23 against 12-3.
  EXPECT_NE(TemporaryName(1, 23, "mask"), TemporaryName(12, 3, "mask"));
}

}  // namespace
}  // namespace coiffure
