// The import's vector loops as the Windows compiler builds them (its calling convention, its
// stack, the assembler's unaligned moves for the wide registers), run on the platform: every
// form the processor offers gives the plain form's bits.
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

#include "imaging/loops.h"
#include "import/pair_rows.h"
#include "import/resample_rows.h"

namespace coiffure {
namespace {

// Random colours; each 4 x 4 tile fully transparent, fully opaque or of any alphas.
RgbaImage Tiles(int w, int h) {
  std::mt19937 rng(static_cast<uint32_t>(w * 7 + h));
  RgbaImage img = RgbaImage::Create(w, h);
  for (uint8_t& b : img.bgra) b = static_cast<uint8_t>(rng() >> 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t kind = (static_cast<uint32_t>(x / 4 * 31 + y / 4 * 17) * 2654435761u) >> 30;
      uint8_t& a = img.Pixel(x, y)[3];
      a = kind == 0 ? 0 : kind == 1 ? 255 : a;
    }
  for (const int y : {0, h - 1})
    for (const int x : {0, w - 1}) img.Pixel(x, y)[3] = 255;  // the box is the whole picture
  return img;
}

TEST(ImportLoops, EveryFormTheProcessorRunsGivesThePlainBits) {
  const RgbaImage img = Tiles(202, 98);
  std::vector<resample::Extent> extents;
  const std::optional<pair_rows::Box> box = pair_rows::VisibleBox(img, BestLoops(), &extents);
  ASSERT_TRUE(box);
  const resample::Window window{&img, box->x0, box->y0, box->width, box->height, 3, &extents};
  // Halving the picture, halving the window with its margin, near 2, near 4, enlarging.
  const Size sizes[] = {{101, 49}, {104, 52}, {100, 47}, {51, 25}, {450, 211}};
  for (const Loops loops : RunnableLoops()) {
    SCOPED_TRACE(static_cast<int>(loops));
    for (const Size size : sizes) {
      EXPECT_EQ(resample::ResampleWith(img, size, loops).bgra,
                resample::ResampleWith(img, size, Loops::kPlain).bgra);
      EXPECT_EQ(resample::ResampleWindow(window, size, loops).bgra,
                resample::ResampleWindow(window, size, Loops::kPlain).bgra);
    }
    const HairstylePair pair = pair_rows::MakePairWith(img, loops);
    const HairstylePair plain = pair_rows::MakePairWith(img, Loops::kPlain);
    EXPECT_EQ(pair.hair_pixels, plain.hair_pixels);
    for (int y = 0; y < img.height; ++y) {
      ASSERT_TRUE(std::equal(pair.colour.Row(y), pair.colour.Row(y) + pair.colour.Stride(),
                             plain.colour.Row(y)));
      ASSERT_TRUE(
          std::equal(pair.mask.Row(y), pair.mask.Row(y) + pair.mask.Stride(), plain.mask.Row(y)));
    }
  }
}

}  // namespace
}  // namespace coiffure
