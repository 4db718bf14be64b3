// The cut-out window's work: a large photo's shown copy, the matte at both sizes, a cancelled
// update, and a photo known again by its pixels alone.
#include "desk/cutout/cutout_work.h"

#include <gtest/gtest.h>

namespace coiffure {
namespace {

RgbaImage Photo(int w, int h) {
  RgbaImage img = RgbaImage::Create(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = img.Pixel(x, y);
      const bool hair = x < w / 2;
      p[0] = hair ? 30 : 210, p[1] = hair ? 35 : 200, p[2] = hair ? 50 : 190, p[3] = 255;
    }
  return img;
}

TEST(CutoutWork, ALargePhotoIsShownSmallerAndItsMatteComesAtBothSizes) {
  const PreparedPhoto p = PreparePhoto(Photo(3200, 1800));
  EXPECT_EQ(p.shown->width, kShownSide);
  EXPECT_EQ(p.shown->height, 900);
  cutout::Sketch sketch;
  sketch.strokes.push_back({{{400, 900}, {1200, 900}}, 40, cutout::Mark::kHair});
  sketch.strokes.push_back({{{2800, 900}}, 40, cutout::Mark::kNotHair});
  const std::optional<WorkedMatte> m = WorkOutMatte(p, sketch, nullptr);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->matte.alpha.size(), 3200u * 1800u);
  ASSERT_EQ(m->shown.size(), size_t{kShownSide} * 900);
  EXPECT_EQ(m->shown[450 * kShownSide + 300], 255);
  EXPECT_EQ(m->shown[450 * kShownSide + 1400], 0);
  const std::atomic<bool> cancelled{true};
  EXPECT_FALSE(WorkOutMatte(p, sketch, &cancelled));
  EXPECT_EQ(PreparePhoto(Photo(40, 30)).shown->width, 40) << "a small photo as it is";
}

TEST(CutoutWork, APhotoIsKnownAgainByItsPixelsAndNotWhenOneDiffers) {
  const RgbaImage a = Photo(51, 37);
  RgbaImage b = a;
  EXPECT_EQ(PhotoFingerprint(a), PhotoFingerprint(b));
  b.Pixel(50, 36)[1] ^= 1;
  EXPECT_NE(PhotoFingerprint(a), PhotoFingerprint(b));
  RgbaImage c = a;
  std::swap(c.width, c.height);  // the same bytes turned
  EXPECT_NE(PhotoFingerprint(a), PhotoFingerprint(c));
}

}  // namespace
}  // namespace coiffure
