#include <cmath>
#include <gtest/gtest.h>
#include <random>

#include "import/convert.h"
#include "import/resample_rows.h"

namespace coiffure {
namespace {

// The rule read plainly, in doubles: each source pixel counts with the area of it the output
// pixel covers, its colour also with its alpha. Colours are 0 where the alpha rounds to 0.
RgbaImage ModelResample(const RgbaImage& img, Size size) {
  RgbaImage out = RgbaImage::Create(size.width, size.height);
  const double sx = double(img.width) / size.width, sy = double(img.height) / size.height;
  for (int oy = 0; oy < size.height; ++oy) {
    for (int ox = 0; ox < size.width; ++ox) {
      const double x0 = ox * sx, x1 = (ox + 1) * sx, y0 = oy * sy, y1 = (oy + 1) * sy;
      double area = 0, alpha = 0, colour[3] = {};
      for (int y = int(y0); y < std::min<double>(img.height, y1); ++y) {
        const double wy = std::min(y1, y + 1.0) - std::max(y0, double(y));
        for (int x = int(x0); x < std::min<double>(img.width, x1); ++x) {
          const double w = wy * (std::min(x1, x + 1.0) - std::max(x0, double(x)));
          const uint8_t* p = img.Pixel(x, y);
          area += w;
          alpha += w * p[3];
          for (int c = 0; c < 3; ++c) colour[c] += w * p[3] * p[c];
        }
      }
      uint8_t* d = out.Pixel(ox, oy);
      d[3] = static_cast<uint8_t>(std::floor(alpha / area + 0.5));
      for (int c = 0; c < 3; ++c)
        d[c] = d[3] == 0 ? 0 : static_cast<uint8_t>(std::floor(colour[c] / alpha + 0.5));
    }
  }
  return out;
}

// Random colours; the alphas mix fully transparent, fully opaque, nearly transparent and any.
RgbaImage RandomPicture(int w, int h, uint32_t seed) {
  std::mt19937 rng(seed);
  RgbaImage img = RgbaImage::Create(w, h);
  for (uint8_t& b : img.bgra) b = static_cast<uint8_t>(rng());
  for (size_t i = 3; i < img.bgra.size(); i += 4) {
    const uint8_t kinds[] = {0, 255, 1, img.bgra[i]};
    img.bgra[i] = kinds[rng() % 4];
  }
  return img;
}

// Within one level of the model, pixel by pixel. Where either alpha is 0 the colours are
// undefined, so only the alphas are compared there.
void ExpectNearModel(const RgbaImage& ours, const RgbaImage& model) {
  ASSERT_EQ(ours.bgra.size(), model.bgra.size());
  for (int y = 0; y < model.height; ++y) {
    for (int x = 0; x < model.width; ++x) {
      const uint8_t *a = ours.Pixel(x, y), *b = model.Pixel(x, y);
      const int channels = a[3] == 0 || b[3] == 0 ? 1 : 4;
      for (int c = 4 - channels; c < 4; ++c)
        ASSERT_LE(std::abs(a[c] - b[c]), 1) << x << "," << y << " channel " << c;
      if (a[3] == 0) {
        ASSERT_EQ(a[0] | a[1] | a[2], 0) << x << "," << y;
      }
    }
  }
}

TEST(ImportResample, FollowsTheModelForAnyRatioWithBothLoops) {
  struct Case {
    int w, h;
    Size size;
  };
  // Halving; reductions by ratios that are not whole; reducing one axis while enlarging the
  // other; enlargements, one from a picture narrower than a vector.
  for (const Case c :
       {Case{64, 48, {32, 24}}, Case{101, 67, {25, 17}}, Case{7, 5, {3, 2}}, Case{50, 37, {17, 29}},
        Case{13, 11, {40, 30}}, Case{3, 2, {200, 133}}, Case{5, 100000, {2, 2}}}) {
    SCOPED_TRACE(::testing::Message()
                 << c.w << "x" << c.h << " to " << c.size.width << "x" << c.size.height);
    const RgbaImage img = RandomPicture(c.w, c.h, static_cast<uint32_t>(c.w * 31 + c.h));
    const RgbaImage fast = Resample(img, c.size);
    ExpectNearModel(fast, ModelResample(img, c.size));
    // The plain loops are what builds without the vector ones run: same bits.
    EXPECT_EQ(resample::ResampleWith(img, c.size, false).bgra, fast.bgra);
  }
  // One output row of 70000 opaque white rows: more than one exact sum of row pairs can hold.
  RgbaImage white = RgbaImage::Create(5, 70000);
  std::fill(white.bgra.begin(), white.bgra.end(), uint8_t{255});
  for (const bool vectors : {true, false})
    EXPECT_EQ(resample::ResampleWith(white, {2, 1}, vectors).bgra, std::vector<uint8_t>(8, 255));
}

}  // namespace
}  // namespace coiffure
