// The artwork generator's drawing primitives, noise and outline helpers.
#include <cmath>
#include <gtest/gtest.h>
#include <set>

#include "hair.h"
#include "hair_shapes.h"
#include "icons.h"
#include "noise.h"
#include "preview.h"
#include "raster.h"

namespace coiffure::art {
namespace {

constexpr float kPi = 3.14159265f;

float TotalCoverage(const Canvas& c) {
  float s = 0;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) s += c.Coverage(x, y);
  return s;
}

TEST(Raster, FilledShapesCoverTheirArea) {
  Canvas e(64, 64);
  FillEllipse(e, {32, 32}, 20, 12, {1, 1, 1});
  EXPECT_NEAR(TotalCoverage(e), kPi * 20 * 12, 0.02f * kPi * 20 * 12);
  EXPECT_FLOAT_EQ(e.Coverage(32, 32), 1);
  EXPECT_FLOAT_EQ(e.Coverage(32, 50), 0);  // beyond the 12-pixel radius and its soft edge

  Canvas r(40, 40);
  FillRoundRect(r, 10, 10, 30, 20, 0, {1, 1, 1});
  EXPECT_NEAR(TotalCoverage(r), 200, 4);

  // A concave L: a fill that assumed a convex outline would cover the notch.
  Canvas l(40, 40);
  FillPolygon(l, {{5, 5}, {25, 5}, {25, 15}, {15, 15}, {15, 35}, {5, 35}}, {1, 1, 1});
  EXPECT_NEAR(TotalCoverage(l), 20 * 10 + 10 * 20, 6);
  EXPECT_LT(l.Coverage(20, 25), 0.01f);
}

TEST(Raster, ShapesPartlyOutsideAreClipped) {
  Canvas c(10, 10);
  FillEllipse(c, {0, 0}, 8, 8, {1, 0, 0});
  StrokeLine(c, {-20, 5}, {30, 5}, 2, {0, 1, 0});
  FillPolygon(c, {{-5, -5}, {50, -5}, {-5, 50}}, {0, 0, 1});
  EXPECT_GT(c.Coverage(0, 0), 0.99f);
  EXPECT_GT(c.Coverage(9, 5), 0.5f);
}

TEST(Raster, LinesKeepTheirWidthAndJointsAreNotDoubled) {
  Canvas line(60, 20);
  StrokeLine(line, {5, 10}, {55, 10}, 3, {1, 1, 1});
  float column = 0;
  for (int y = 0; y < 20; ++y) column += line.Coverage(30, y);
  EXPECT_NEAR(column, 3, 0.2f);

  // The same line as many short segments with half opacity: overlapping ends must not add up.
  Canvas one(60, 20), many(60, 20);
  StrokePolyline(one, {{5, 10}, {55, 10}}, 2.4f, {1, 1, 1}, 0.5f);
  std::vector<Vec2> pts;
  for (int i = 0; i <= 25; ++i) pts.push_back({5 + 2.f * i, 10});
  StrokePolyline(many, pts, 2.4f, {1, 1, 1}, 0.5f);
  for (int y = 7; y <= 13; ++y)
    for (int x = 6; x < 54; ++x)
      EXPECT_NEAR(many.Coverage(x, y), one.Coverage(x, y), 1e-4f) << x << "," << y;
}

TEST(Raster, BlendAccumulatesCoverageAndIgnoresOutsidePixels) {
  Canvas c(2, 2, {0, 0, 0});
  c.Blend(0, 0, {1, 0, 0}, 0.5f);
  c.Blend(0, 0, {1, 0, 0}, 0.5f);
  EXPECT_FLOAT_EQ(c.Coverage(0, 0), 0.75f);
  EXPECT_FLOAT_EQ(c.At(0, 0).r, 0.75f);
  c.Blend(-1, 0, {1, 1, 1}, 1);
  c.Blend(0, 2, {1, 1, 1}, 1);
  EXPECT_FLOAT_EQ(TotalCoverage(c), 0.75f);
}

TEST(Raster, PictureIsBgrWithRounding) {
  Canvas c(2, 1);
  c.At(0, 0) = {1, 0, 0};
  c.At(1, 0) = {0.5f, 2, -1};  // out-of-range values are clamped
  const Picture p = c.ToPicture();
  EXPECT_EQ(p.PixelBgr(0, 0), (Bgr{0, 0, 255}));
  EXPECT_EQ(p.PixelBgr(1, 0), (Bgr{0, 255, 128}));
}

TEST(Raster, EllipseDistanceIsSignedAndMetric) {
  EXPECT_LT(EllipseDistance({50, 50}, {50, 50}, 30, 10), 0);
  EXPECT_NEAR(EllipseDistance({85, 50}, {50, 50}, 30, 10), 5, 0.5f);
  EXPECT_NEAR(EllipseDistance({50, 65}, {50, 50}, 30, 10), 5, 0.5f);
  EXPECT_NEAR(EllipseDistance({50, 45}, {50, 50}, 30, 10), -5, 0.5f);
}

TEST(Raster, BezierRunsFromFirstToLastPoint) {
  const auto pts = Bezier({0, 0}, {10, 0}, {10, 10}, {20, 10}, 8);
  ASSERT_EQ(pts.size(), 9u);
  EXPECT_FLOAT_EQ(pts.front().x, 0);
  EXPECT_FLOAT_EQ(pts.back().x, 20);
  EXPECT_FLOAT_EQ(pts.back().y, 10);
  EXPECT_NEAR(pts[4].x, 10, 1e-4f);  // symmetric control points meet in the middle
}

TEST(Noise, RandomNumbersAreReproducibleAndInRange) {
  Rng a(42), b(42), c(43);
  std::set<int> ints;
  bool differs = false;
  for (int i = 0; i < 1000; ++i) {
    const float u = a.Uniform();
    EXPECT_EQ(u, b.Uniform());
    differs |= u != c.Uniform();
    EXPECT_GE(u, 0);
    EXPECT_LT(u, 1);
    const int n = a.Int(7);
    b.Int(7);
    EXPECT_GE(n, 0);
    EXPECT_LT(n, 7);
    ints.insert(n);
  }
  EXPECT_TRUE(differs);
  EXPECT_EQ(ints.size(), 7u);
  EXPECT_EQ(a.Int(0), 0);
}

TEST(Noise, ValueNoiseIsSmoothAndMeetsItsLattice) {
  for (int i = 0; i < 50; ++i) {
    EXPECT_FLOAT_EQ(ValueNoise(i, 2 * i, 9), Hash2(i, 2 * i, 9));
    const float x = i * 0.37f, y = i * 0.11f;
    EXPECT_LT(std::abs(ValueNoise(x, y, 9) - ValueNoise(x + 0.01f, y, 9)), 0.05f);
    const float f = Fbm(x, y, 9, 4);
    EXPECT_GE(f, 0);
    EXPECT_LE(f, 1);
  }
  EXPECT_NE(Hash2(1, 2, 3), Hash2(2, 1, 3));
}

TEST(Shapes, SignedOutlinesAndTubes) {
  EXPECT_NEAR(Box({15, 15}, 10, 10, 30, 30, 0), 5, 1e-4f);
  EXPECT_NEAR(Box({35, 20}, 10, 10, 30, 30, 0), -5, 1e-4f);
  EXPECT_GT(SmoothUnion(1, 1, 4), 1);  // blends outward where both shapes meet
  EXPECT_FLOAT_EQ(Cut(3, -2), 2);
  EXPECT_FLOAT_EQ(Cut(3, 1), -1);

  Vec2 along;
  const std::vector<Vec2> path{{0, 0}, {0, 100}};
  EXPECT_NEAR(Tube({0, 0}, path, 20, 10, &along), 20, 1e-3f);
  EXPECT_NEAR(Tube({0, 100}, path, 20, 10, &along), 10, 1e-3f);
  EXPECT_NEAR(Tube({15, 50}, path, 20, 10, &along), 0, 1e-3f);
  EXPECT_FLOAT_EQ(along.y, 1);
}

// Topmost row of the face opening in column x.
int HairlineRow(int x, float tilt, float arch) {
  for (int y = 0; y < kHairHeight; ++y)
    if (FaceOpening({x + 0.5f, y + 0.5f}, 0, 5, tilt, arch) > 0) return y;
  return -1;
}

TEST(Shapes, HairlineTiltAndArchMoveOnlyTheForehead) {
  const int cx = static_cast<int>(HeadFrame::kCx);
  EXPECT_LT(HairlineRow(cx + 60, 0.2f, 0), HairlineRow(cx - 60, 0.2f, 0) - 10);
  EXPECT_LT(HairlineRow(cx, 0, 16), HairlineRow(cx, 0, 0) - 8);
  // The chin stays where it is.
  for (float tilt : {-0.2f, 0.f, 0.2f})
    EXPECT_GT(FaceOpening({HeadFrame::kCx, 300}, 0, 5, tilt, 10), 0);
  EXPECT_LT(FaceOpening({HeadFrame::kCx, 340}, 0, 5, 0.2f, 10), 0);
}

TEST(Icons, KeyReplacesWhatIsLessThanHalfDrawn) {
  Canvas c(3, 1, Rgb8(212, 208, 200));
  c.Blend(0, 0, {0, 0, 0}, 0.49f);
  c.Blend(1, 0, {0, 0, 0}, 0.51f);
  const Picture p = KeyedPicture(c);
  EXPECT_EQ(p.PixelBgr(0, 0), kKey);
  EXPECT_NE(p.PixelBgr(1, 0), kKey);
  EXPECT_EQ(p.PixelBgr(2, 0), kKey);
}

TEST(Preview, SheetCompositesByMaskAndColour) {
  const Picture photo = Picture::Create24(512, 512, {10, 200, 30});
  HairPair pair{Picture::Create24(100, 100), Picture::Create24(100, 100, {255, 255, 255})};
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x) {
      uint8_t* m = pair.mask.Row(y) + 3 * x;
      m[0] = m[1] = m[2] = 0;
      uint8_t* c = pair.colour.Row(y) + 3 * x;
      c[0] = 1, c[1] = 2, c[2] = 250;
    }
  // A rectangle 200 x 200 in the photo: its top half is hair.
  const Picture sheet = ContactSheet(photo, {pair}, {100, 100, 300, 300});
  int hair = 0, photo_px = 0, other = 0;
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x) {
      const Bgr p = sheet.PixelBgr(x, y);
      if (p == Bgr{1, 2, 250})
        ++hair;
      else if (p == Bgr{10, 200, 30})
        ++photo_px;
      else
        ++other;
    }
  EXPECT_EQ(hair, 200 * 100);  // the stretched hair block, nothing lost to the crop
  EXPECT_GT(photo_px, 0);
  EXPECT_GT(other, 0);  // the empty cells and the frame's background
}

}  // namespace
}  // namespace coiffure::art
