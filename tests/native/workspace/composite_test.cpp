#include "workspace/composite.h"

#include <gtest/gtest.h>

namespace coiffure {
namespace {

Picture Solid(int w, int h, Bgr c) {
  return Picture::Create24(w, h, c);
}

TEST(Handles, DerivedFromCornersWithTruncatingDivision) {
  Workspace ws;
  ws.Reset();
  ws.UpdateHandles();
  const std::array<Point, 8> want{
      {{0, 0}, {0, 100}, {0, 200}, {100, 200}, {200, 200}, {200, 100}, {200, 0}, {100, 0}}};
  EXPECT_EQ(ws.HairHandles, want);

  ws.SetHairRect({10, 10, 111, 61});
  ws.UpdateHandles();
  EXPECT_EQ(ws.HairHandles[7].x, 60);
  EXPECT_EQ(ws.HairHandles[1].y, 35);

  ws.SetHairRect({-11, 0, 0, 0});
  ws.UpdateHandles();
  EXPECT_EQ(ws.HairHandles[3].x, -5);  // truncated toward zero, not -6
}

TEST(Handles, ExtremeCoordinatesDoNotOverflow) {
  Workspace ws;
  ws.SetHairRect({INT32_MAX - 1, INT32_MIN + 1, INT32_MAX, INT32_MIN + 3});
  ws.UpdateHandles();
  EXPECT_EQ(ws.HairHandles[7].x, INT32_MAX - 1);
  EXPECT_EQ(ws.HairHandles[1].y, INT32_MIN + 2);
}

TEST(Composite, PhotoCentredWithTruncation) {
  EXPECT_EQ(PhotoOrigin(529, 444, 640, 480), (Point{-55, -18}));
  EXPECT_EQ(PhotoOrigin(529, 444, 320, 240), (Point{104, 102}));
}

TEST(Composite, MaskAndColourCombineBitwise) {
  Workspace ws;
  ws.Reset();
  ws.Photo = Solid(529, 444, {0x5A, 0xA5, 0xFF});
  // Mask white on the left half (photo shows), black on the right (hair).
  ws.HairMask = Picture::Create24(2, 1, {255, 255, 255});
  ws.HairMask.Row(0)[3] = ws.HairMask.Row(0)[4] = ws.HairMask.Row(0)[5] = 0;
  ws.HairImage = Picture::Create24(2, 1, {0, 0, 0});
  ws.HairImage.Row(0)[3] = 0x11;
  ws.HairImage.Row(0)[4] = 0x22;
  ws.HairImage.Row(0)[5] = 0x33;
  ws.SetHairRect({10, 10, 30, 20});
  Frame f;
  f.Resize(529, 444);
  EXPECT_EQ(ComposeWorkspace(ws, f), "x:10  y:10");
  EXPECT_EQ(f.At(10, 10), (Bgr{0x5A, 0xA5, 0xFF}));  // photo through the white mask
  EXPECT_EQ(f.At(19, 19), (Bgr{0x5A, 0xA5, 0xFF}));
  EXPECT_EQ(f.At(20, 10), (Bgr{0x11, 0x22, 0x33}));  // hair colour on the black mask
  EXPECT_EQ(f.At(29, 19), (Bgr{0x11, 0x22, 0x33}));
  EXPECT_EQ(f.At(30, 10), (Bgr{0x5A, 0xA5, 0xFF}));  // right edge is exclusive
  EXPECT_EQ(f.At(20, 20), (Bgr{0x5A, 0xA5, 0xFF}));  // bottom edge is exclusive
}

TEST(Composite, BackgroundShowsWhereThePhotoDoesNot) {
  Workspace ws;
  ws.Reset();
  ws.Photo = Solid(320, 240, {1, 2, 3});
  Frame f;
  f.Resize(529, 444);
  ComposeWorkspace(ws, f);
  EXPECT_EQ(f.At(103, 200), kTeal);
  EXPECT_EQ(f.At(104, 102), (Bgr{1, 2, 3}));
  EXPECT_EQ(f.At(423, 341), (Bgr{1, 2, 3}));
  EXPECT_EQ(f.At(424, 341), kTeal);
}

TEST(Composite, NegativeExtentMirrors) {
  Frame f;
  f.Resize(4, 1);
  Picture src = Picture::Create24(4, 1);
  for (int x = 0; x < 4; ++x) src.Row(0)[3 * x] = static_cast<uint8_t>(x + 1);
  // Right 0, Left 3: columns 1 to 3 are covered, column 0 is not.
  StretchPicture(f, src, {3, 0, 0, 1}, RasterOp::Copy);
  EXPECT_EQ(f.At(0, 0).b, 0);
  EXPECT_EQ(f.At(1, 0).b, 3);
  EXPECT_EQ(f.At(3, 0).b, 1);
  f.Fill({});
  StretchPicture(f, src, {0, 0, 4, 1}, RasterOp::Copy);
  EXPECT_EQ(f.At(0, 0).b, 1);
  EXPECT_EQ(f.At(3, 0).b, 4);
}

TEST(Composite, StretchRepeatsAndDropsPixels) {
  Frame f;
  f.Resize(8, 2);
  Picture src = Picture::Create24(2, 1);
  src.Row(0)[0] = 10;
  src.Row(0)[3] = 20;
  StretchPicture(f, src, {0, 0, 8, 2}, RasterOp::Copy);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(f.At(x, 1).b, x < 4 ? 10 : 20) << x;
  Picture wide = Picture::Create24(300, 1);
  for (int x = 0; x < 300; ++x) wide.Row(0)[3 * x] = static_cast<uint8_t>(x % 256);
  f.Resize(3, 1);
  StretchPicture(f, wide, {0, 0, 3, 1}, RasterOp::Copy);
  EXPECT_EQ(f.At(0, 0).b, 0);
  EXPECT_EQ(f.At(1, 0).b, 100);
  EXPECT_EQ(f.At(2, 0).b, 200);
}

TEST(Composite, HugeRectangleIsClippedAndStillSamplesCorrectly) {
  Frame f;
  f.Resize(529, 444);
  Picture src = Picture::Create24(2, 2, {0, 0, 0});
  src.Row(1)[3] = 99;  // bottom-right source pixel
  StretchPicture(f, src, {-100000, -100000, 100000, 100000}, RasterOp::Copy);
  EXPECT_EQ(f.At(0, 0).b, 99);  // (0,0) lies in the lower-right quarter of the rectangle
  f.Fill({});
  StretchPicture(f, src, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, RasterOp::Copy);
  EXPECT_EQ(f.At(0, 0).b, 99);
}

TEST(Composite, HandleSquaresOnlyWhenSelectedAndClipped) {
  Workspace ws;
  ws.Reset();
  Frame f;
  f.Resize(529, 444);
  ComposeWorkspace(ws, f);
  EXPECT_EQ(f.At(0, 0), kTeal);
  ws.HairSelected = true;
  EXPECT_EQ(ComposeWorkspace(ws, f), "x:0  y:0");
  EXPECT_EQ(f.At(0, 0), (Bgr{255, 255, 255}));  // inside the square around (0, 0)
  EXPECT_EQ(f.At(1, 1), (Bgr{255, 255, 255}));
  EXPECT_EQ(f.At(2, 2), (Bgr{0, 0, 0}));  // ring: X + 2, Y + 2
  EXPECT_EQ(f.At(3, 3), kTeal);
  // Handle 5 at (200, 200): ring from 197 to 202, white 198..201.
  EXPECT_EQ(f.At(197, 200), (Bgr{0, 0, 0}));
  EXPECT_EQ(f.At(198, 199), (Bgr{255, 255, 255}));
  EXPECT_EQ(f.At(202, 202), (Bgr{0, 0, 0}));
  EXPECT_EQ(f.At(203, 203), kTeal);
}

TEST(Composite, StatusTextCarriesSigns) {
  EXPECT_EQ(PositionText({-20, -5, 0, 0}), "x:-20  y:-5");
}

TEST(Composite, EmptyPicturesDrawNothing) {
  Workspace ws;
  ws.Reset();
  Frame f;
  f.Resize(10, 10);
  ComposeWorkspace(ws, f);
  EXPECT_EQ(f.At(5, 5), kTeal);
  Frame none;
  none.Resize(0, 0);
  ws.Photo = Picture::Create24(5, 5);
  ComposeWorkspace(ws, none);  // a collapsed paint box
}

}  // namespace
}  // namespace coiffure
