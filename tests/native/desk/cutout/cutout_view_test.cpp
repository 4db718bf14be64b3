// The cut-out window's picture: the photo fitted, planes brought to its size, and what each
// look draws where the matte says hair and where it says not.
#include "desk/cutout/cutout_view.h"

#include <gtest/gtest.h>
#include <numeric>

namespace coiffure {
namespace {

TEST(CutoutView, ThePhotoIsFittedCentredAndItsPointsMapBackToThePhoto) {
  struct Case {
    int pw, ph, aw, ah;
    ViewRect rect;
  };
  for (const Case& c : std::vector<Case>{{4000, 3000, 800, 700, {0, 50, 800, 600}},
                                         {3000, 4000, 800, 700, {137, 0, 525, 700}},
                                         {100, 50, 800, 700, {0, 150, 800, 400}},
                                         {10, 10, 0, 700, {}}}) {
    EXPECT_EQ(FitPhoto(c.pw, c.ph, c.aw, c.ah), c.rect) << c.pw << "x" << c.ph;
  }
  const ViewMap map({0, 50, 800, 600}, 4000, 3000);
  const cutout::Point corner = map.ToPhoto(0, 50), last = map.ToPhoto(799, 649);
  EXPECT_FLOAT_EQ(corner.x, 2.5f);
  EXPECT_FLOAT_EQ(last.y, 2997.5f);
  cutout::Sketch sketch;
  sketch.box = cutout::Box{100, 200, 4000, 3000};
  sketch.strokes.push_back({{{50, 60}}, 10, cutout::Mark::kHair});
  const cutout::Sketch shown = SketchOnView(sketch, map);
  EXPECT_EQ(shown.box->x0, 20);
  EXPECT_EQ(shown.box->y1, 600);
  EXPECT_FLOAT_EQ(shown.strokes[0].points[0].y, 12.f);
  EXPECT_FLOAT_EQ(shown.strokes[0].radius, 2.f);
}

TEST(CutoutView, APlaneResizedKeepsItsMeansAndItsValuesWhereItIsEnlarged) {
  const std::vector<uint8_t> plane = {0, 255, 255, 255, 0, 0, 255, 100};
  EXPECT_EQ(ResizePlane(plane, 4, 2, 2, 1), (std::vector<uint8_t>{64, 216}));
  EXPECT_EQ(ResizePlane(plane, 4, 2, 4, 2), plane);
  EXPECT_EQ(ResizePlane({{10, 200}}, 2, 1, 4, 2),
            (std::vector<uint8_t>{10, 10, 200, 200, 10, 10, 200, 200}));
  std::vector<uint8_t> big(300 * 200);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7 % 251);
  const std::vector<uint8_t> small = ResizePlane(big, 300, 200, 100, 50);
  const double mean = std::accumulate(big.begin(), big.end(), 0.0) / big.size();
  EXPECT_NEAR(std::accumulate(small.begin(), small.end(), 0.0) / small.size(), mean, 0.5);
  EXPECT_EQ(ResizePlane(big, 300, 201, 10, 10), std::vector<uint8_t>(100)) << "a wrong size";
}

// A grey photo whose left half the matte calls hair, a hair stroke at (1, 1) and a not-hair
// stroke at (6, 6), shown at (2, 3) in a 12 x 12 picture.
class Looks : public ::testing::Test {
 protected:
  void SetUp() override {
    photo = RgbaImage::Create(8, 8);
    for (size_t i = 0; i < photo.bgra.size(); ++i) photo.bgra[i] = 200;
    marks = cutout::Marks::Create(8, 8);
    marks.labels[1 * 8 + 1] = cutout::Mark::kHair;
    marks.labels[6 * 8 + 6] = cutout::Mark::kNotHair;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) matte[y * 8 + x] = x < 4 ? 255 : 0;
    frame.Resize(12, 12);
  }
  Bgr At(int x, int y) const { return frame.At(x + 2, y + 3); }
  RgbaImage photo;
  cutout::Marks marks;
  std::vector<uint8_t> matte = std::vector<uint8_t>(64);
  Frame frame;
  const ViewRect rect{2, 3, 8, 8};
};

TEST_F(Looks, TheMarksLookDimsWhatIsNotHairOutlinesTheHairAndTintsTheStrokes) {
  ComposeMarksLook({&photo, &marks, &matte}, rect, frame);
  EXPECT_EQ(frame.At(0, 0), kViewBackground);
  EXPECT_EQ(At(2, 5), (Bgr{200, 200, 200})) << "hair as it is";
  EXPECT_LT(At(6, 2).g, 80) << "not hair dimmed";
  EXPECT_EQ(At(3, 4), kOutlineColour);
  EXPECT_EQ(At(4, 4), kOutlineColour);
  EXPECT_GT(At(1, 1).r, At(1, 1).b + 60) << "a hair stroke is red";
  EXPECT_GT(At(6, 6).b, At(6, 6).r + 40) << "a not-hair stroke is blue";
  // Before the first matte only the outside of the box is dimmed, and nothing is outlined.
  cutout::SetBox(marks, {0, 0, 5, 8});
  ComposeMarksLook({&photo, &marks, nullptr}, rect, frame);
  EXPECT_EQ(At(4, 4), (Bgr{200, 200, 200}));
  EXPECT_LT(At(6, 2).g, 80);
}

TEST_F(Looks, TheChequerLookShowsThePhotoWhereTheMatteDoesAndTheChequerElsewhere) {
  matte[0] = 128;
  ComposeChequerLook({&photo, &marks, &matte}, rect, frame);
  EXPECT_EQ(At(2, 2), (Bgr{200, 200, 200}));
  EXPECT_EQ(At(6, 2).g, 255);
  EXPECT_EQ(At(6, 7).g, 255);
  EXPECT_EQ(At(0, 0).g, (200 * 128 + 255 * 127 + 127) / 255) << "half and half";
  ComposeChequerLook({&photo, &marks, nullptr}, rect, frame);
  EXPECT_EQ(At(2, 2).g, 255);
}

}  // namespace
}  // namespace coiffure
