// The customer's own hair recoloured under its soft matte, on photos made with what real ones
// have: JPEG blocks, crushed blacks, skin and a wall beside the hair.
#include "colour/own_shade.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

#include "colour/palette.h"
#include "imaging/oklab.h"
#include "native/colour/hair_photos.h"
#include "native/colour/hair_quality.h"

namespace coiffure {
namespace {

TEST(OwnShade, EveryPhotoIntoEveryShadeOnTheHairAndNothingOffIt) {
  for (const test::PhotoRecipe& recipe : test::PhotoRecipes()) {
    const test::TestPhoto t = test::MakePhoto(recipe);
    const OwnHair hair(t.photo, t.matte);
    const std::vector<uint8_t> on = test::MatteRegion(t.matte, 128);
    const std::vector<uint8_t> inside = test::MatteRegion(t.matte, 255);
    Picture out;
    for (const Shade& shade : ShadePalette()) {
      SCOPED_TRACE(recipe.name + " -> " + shade.name);
      EXPECT_TRUE(hair.Recolour(shade.mean, out).exact);
      const test::HairFigures f = test::MeasureHair(t.photo, out, on, shade.mean);
      const test::HairFigures steps = test::MeasureHair(t.photo, out, inside, shade.mean);
      std::printf("%-48s %-4s %s | r inside %.3f\n", recipe.name.c_str(), shade.name.c_str(),
                  test::FiguresRow(f).c_str(), steps.r);
      EXPECT_LE(f.delta_e, 0.04);
      // Along the edge a pixel is part strand, part skin or wall, which keeps its own
      // lightness: there the result cannot follow the source's (dark hair made light over a
      // light wall is light at every share), so the lightness is held to the source's where the
      // pixel is hair alone.
      EXPECT_GE(steps.r, 0.9);
      EXPECT_LE(f.clipped, 0.01);
      EXPECT_LE(steps.max_step, 3.0);
      EXPECT_LE(steps.blockiness, steps.source_blockiness * 1.05);
      EXPECT_LE(steps.speck, 5.0);
      int64_t changed_off_hair = 0;
      for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
          changed_off_hair += t.matte[static_cast<size_t>(y) * out.Width() + x] == 0 &&
                              out.PixelBgr(x, y) != t.photo.PixelBgr(x, y);
      EXPECT_EQ(changed_off_hair, 0);
    }
  }
}

// One colour under a matte that runs from 0 to 255: each pixel takes its matte's share of the
// change in linear light, the same whatever shade came before.
TEST(OwnShade, PartialStrandsTakeTheirShareOfTheChangeInLinearLight) {
  constexpr int kW = 256, kH = 24;
  const Bgr source{40, 52, 70};
  Picture photo = Picture::Create24(kW, kH, source);
  std::vector<uint8_t> matte(kW * kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) matte[y * kW + x] = static_cast<uint8_t>(y < 4 ? 255 : x);
  const OwnHair hair(photo, matte);
  Picture out, other;
  const Bgr shade = FindShade("浅金")->mean;
  hair.Recolour(FindShade("酒红")->mean, other);
  hair.Recolour(shade, out);
  const Bgr full = out.PixelBgr(0, 0);
  for (int x = 0; x < kW; ++x) {
    const float a = x / 255.0f;
    const Bgr got = out.PixelBgr(x, 10);
    const auto want = [&](uint8_t s, uint8_t f) {
      return 255 * LinearToSrgb(ByteToLinear(s) + a * (ByteToLinear(f) - ByteToLinear(s)));
    };
    ASSERT_NEAR(got.b, want(source.b, full.b), 0.51) << x;
    ASSERT_NEAR(got.g, want(source.g, full.g), 0.51) << x;
    ASSERT_NEAR(got.r, want(source.r, full.r), 0.51) << x;
  }
  EXPECT_EQ(out.PixelBgr(0, 10), source);  // matte 0
  hair.Recolour(FindShade("酒红")->mean, out);
  EXPECT_EQ(out.EncodeBmp24(), other.EncodeBmp24());
}

TEST(OwnShade, RefusesAMatteOfAnotherSizeAndLeavesAPhotoWithoutHairAsItWas) {
  const Picture photo = Picture::Create24(30, 20, {10, 20, 30});
  EXPECT_THROW(OwnHair(photo, std::vector<uint8_t>(30 * 19)), std::invalid_argument);
  const OwnHair none(photo, std::vector<uint8_t>(30 * 20, 0));
  EXPECT_FALSE(none.HasHair());
  Picture out;
  none.Recolour(FindShade("浅金")->mean, out);
  EXPECT_EQ(out.EncodeBmp24(), photo.EncodeBmp24());
}

}  // namespace
}  // namespace coiffure
