// Photographed hair, as the desk imports it as a style, into every shade: the colour rules, and
// what dark hair made light must not show (bands, specks, the JPEG's blocks).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

#include "colour/palette.h"
#include "colour/recolour.h"
#include "imaging/oklab.h"
#include "native/colour/hair_photos.h"
#include "native/colour/hair_quality.h"

namespace coiffure {
namespace {

std::vector<Shade> ByLightness() {
  std::vector<Shade> shades = ShadePalette();
  std::stable_sort(shades.begin(), shades.end(), [](const Shade& a, const Shade& b) {
    return BgrToOklab(a.mean).L < BgrToOklab(b.mean).L;
  });
  return shades;
}

TEST(PhotoShades, EveryPhotoIntoEveryShadeKeepsItsStrandsWithoutBandsSpecksOrBlocks) {
  for (const test::PhotoRecipe& recipe : test::PhotoRecipes()) {
    const test::TestPhoto photo = test::MakePhoto(recipe);
    const std::vector<uint8_t> hair = test::MaskRegion(photo.style_mask);
    double darker_sd = 0;
    std::string darker = "none";
    for (const Shade& shade : ByLightness()) {
      SCOPED_TRACE(recipe.name + " -> " + shade.name);
      const Picture out = RecolourHair(photo.style_colour, photo.style_mask, shade.mean);
      const test::HairFigures f = test::MeasureHair(photo.style_colour, out, hair, shade.mean);
      std::printf("%-48s %-4s %s\n", recipe.name.c_str(), shade.name.c_str(),
                  test::FiguresRow(f).c_str());
      EXPECT_LE(f.delta_e, 0.04);
      EXPECT_GE(f.r, 0.9);
      EXPECT_LE(f.clipped, 0.01);
      EXPECT_LE(f.max_step, 3.0);
      EXPECT_LE(f.blockiness, f.source_blockiness * 1.05);
      EXPECT_LE(f.speck, 5.0);
      EXPECT_GE(f.sd, darker_sd - 0.05) << "less spread than the darker " << darker;
      darker_sd = f.sd, darker = shade.name;
    }
  }
}

}  // namespace
}  // namespace coiffure
