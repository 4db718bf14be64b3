#include "cutout/marks.h"

#include <gtest/gtest.h>
#include <limits>

namespace coiffure::cutout {
namespace {

RgbaImage Filled(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
  RgbaImage img = RgbaImage::Create(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = img.Pixel(x, y);
      p[0] = b, p[1] = g, p[2] = r, p[3] = a;
    }
  return img;
}

void Paint(RgbaImage& img, int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
  uint8_t* p = img.Pixel(x, y);
  p[0] = b, p[1] = g, p[2] = r, p[3] = a;
}

TEST(CutoutMarks, ExactColoursOnlyAreMarksAndAlphaIsIgnored) {
  struct Case {
    uint8_t r, g, b, a;
    Mark want;
  };
  for (const Case& c : std::vector<Case>{
           {255, 0, 0, 255, Mark::kHair},
           {255, 0, 0, 0, Mark::kHair},  // transparent red is still red
           {0, 0, 255, 17, Mark::kNotHair},
           {0, 0, 0, 255, Mark::kOutside},
           {0, 0, 0, 0, Mark::kOutside},
           {254, 0, 0, 255, Mark::kUndecided},  // JPEG's near-red decides nothing
           {255, 1, 0, 255, Mark::kUndecided},
           {0, 0, 254, 255, Mark::kUndecided},
           {1, 0, 0, 255, Mark::kUndecided},
           {255, 0, 255, 255, Mark::kUndecided},
           {128, 128, 128, 255, Mark::kUndecided},
       }) {
    RgbaImage img = Filled(3, 2, 200, 200, 200);
    Paint(img, 0, 0, 255, 0, 0);  // one hair pixel, so the picture is accepted
    Paint(img, 2, 1, c.r, c.g, c.b, c.a);
    const MarksReading got = ReadMarks(img, 3, 2);
    ASSERT_TRUE(got.marks) << got.error;
    EXPECT_EQ(got.marks->At(2, 1), c.want) << int(c.r) << "," << int(c.g) << "," << int(c.b);
    EXPECT_EQ(got.marks->At(1, 0), Mark::kUndecided);
  }
}

TEST(CutoutMarks, RefusesOtherSizesAndMarksWithoutHair) {
  struct Case {
    RgbaImage img;
    int w, h;
    const char* error;
  };
  RgbaImage torn = Filled(4, 4, 255, 0, 0);
  torn.bgra.resize(10);  // fewer bytes than its size claims
  for (const Case& c : std::vector<Case>{
           {Filled(4, 3, 255, 0, 0), 3, 4, kMsgMarksOtherSize},
           {Filled(4, 3, 255, 0, 0), 4, 4, kMsgMarksOtherSize},
           {Filled(0, 0, 255, 0, 0), 1, 1, kMsgMarksOtherSize},
           {torn, 4, 4, kMsgMarksOtherSize},
           {Filled(4, 3, 0, 0, 255), 4, 3, kMsgMarksNoHair},
           {Filled(4, 3, 254, 0, 0), 4, 3, kMsgMarksNoHair},
           {Filled(4, 3, 0, 0, 0), 4, 3, kMsgMarksNoHair},
       }) {
    const MarksReading got = ReadMarks(c.img, c.w, c.h);
    EXPECT_FALSE(got.marks);
    EXPECT_STREQ(got.error.c_str(), c.error);
  }
}

TEST(CutoutMarks, SizeFitsTheUprightOrTheStoredPhoto) {
  struct Case {
    int mw, mh, sw, sh, uw, uh;
    MarksFit want;
  };
  for (const Case& c : std::vector<Case>{
           {40, 30, 40, 30, 40, 30, MarksFit::kUpright},
           {30, 40, 40, 30, 30, 40, MarksFit::kUpright},  // drawn on the photo turned upright
           {40, 30, 40, 30, 30, 40, MarksFit::kStored},   // drawn on the file as stored
           {40, 40, 40, 30, 30, 40, MarksFit::kOtherSize},
           {0, 0, 40, 30, 30, 40, MarksFit::kOtherSize},
       })
    EXPECT_EQ(FitMarks(c.mw, c.mh, c.sw, c.sh, c.uw, c.uh), c.want);
}

TEST(CutoutMarks, StrokesPaintTheBrushInsideTheBoxAndANewBoxKeepsThem) {
  Marks m = Marks::Create(20, 10);
  SetBox(m, {2, 1, 15, 9});
  EXPECT_EQ(m.At(1, 5), Mark::kOutside);
  EXPECT_EQ(m.At(15, 5), Mark::kOutside);  // x1 is past the box
  EXPECT_EQ(m.At(14, 8), Mark::kUndecided);
  const Point line[] = {{4.5f, 4.5f}, {18.5f, 4.5f}};
  PaintStroke(m, line, 1.f, Mark::kHair);
  EXPECT_EQ(m.At(4, 4), Mark::kHair);
  EXPECT_EQ(m.At(10, 3), Mark::kHair);  // centre 1 pixel from the line
  EXPECT_EQ(m.At(10, 2), Mark::kUndecided);
  EXPECT_EQ(m.At(3, 4), Mark::kHair);  // the round end
  EXPECT_EQ(m.At(3, 3), Mark::kUndecided);
  EXPECT_EQ(m.At(16, 4), Mark::kOutside);  // never past the box
  const Point dab[] = {{10.5f, 4.5f}};
  PaintStroke(m, dab, 0.f, Mark::kNotHair);  // the smallest brush still paints its pixel
  EXPECT_EQ(m.At(10, 4), Mark::kNotHair);
  PaintStroke(m, dab, 3.f, Mark::kOutside);  // not a stroke kind
  EXPECT_EQ(m.At(10, 4), Mark::kNotHair);
  const Point nan[] = {{1, 1}, {std::numeric_limits<float>::quiet_NaN(), 2}};
  PaintStroke(m, nan, 2.f, Mark::kHair);  // nothing at all
  EXPECT_EQ(m.At(2, 1), Mark::kUndecided);
  const Point far[] = {{1e30f, -1e30f}, {-1e30f, 1e30f}};
  PaintStroke(m, far, 1.f, Mark::kHair);
  EXPECT_EQ(m.At(7, 7), Mark::kUndecided);
  const Point huge[] = {{10.5f, 4.5f}};
  PaintStroke(m, huge, 5e5f, Mark::kHair);  // a huge brush covers the box, and only the box
  EXPECT_EQ(m.At(2, 1), Mark::kHair);
  EXPECT_EQ(m.At(1, 1), Mark::kOutside);

  SetBox(m, {0, 0, 20, 10});
  EXPECT_EQ(m.At(1, 5), Mark::kUndecided);
  EXPECT_EQ(m.At(4, 4), Mark::kHair);
  SetBox(m, {-50, -50, 7, 100});  // clipped to the photo
  EXPECT_EQ(m.At(6, 9), Mark::kUndecided);
  EXPECT_EQ(m.At(7, 0), Mark::kOutside);
}

TEST(CutoutMarks, ASketchGivesTheMarksOfItsBoxAndStrokesInOrder) {
  Sketch sketch{Box{1, 1, 9, 9}, {}};
  sketch.strokes.push_back({{{2.5f, 5.5f}, {8.5f, 5.5f}}, 1.f, Mark::kHair});
  sketch.strokes.push_back({{{5.5f, 5.5f}}, 0.5f, Mark::kNotHair});  // painted over the first
  const Marks m = MarksOf(sketch, 10, 10);
  EXPECT_EQ(m.At(0, 0), Mark::kOutside);
  EXPECT_EQ(m.At(4, 5), Mark::kHair);
  EXPECT_EQ(m.At(5, 5), Mark::kNotHair);
  sketch.strokes.pop_back();  // undo
  EXPECT_EQ(MarksOf(sketch, 10, 10).At(5, 5), Mark::kHair);
  EXPECT_EQ(MarksOf(Sketch{}, 10, 10).At(0, 0), Mark::kUndecided);
}

}  // namespace
}  // namespace coiffure::cutout
