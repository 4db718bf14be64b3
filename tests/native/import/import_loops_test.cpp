// Every vector form of the import's loops this processor runs gives the plain form's bits.
#include <gtest/gtest.h>
#include <random>

#include "imaging/loops.h"
#include "import/convert.h"
#include "import/pair_rows.h"
#include "import/resample_rows.h"

namespace coiffure {
namespace {

const char* Name(Loops loops) {
  return loops == Loops::kPlain ? "plain" : loops == Loops::kSse2 ? "SSE2" : "AVX2";
}

// Alpha in square tiles of `tile` pixels, each tile fully transparent, fully opaque, faint
// (where a colour is its sum over a tiny alpha, so rounding shows) or any alphas, so that
// vectors see blocks of each kind and blocks that mix them. Colours random.
RgbaImage Tiled(int w, int h, int tile, uint32_t seed) {
  std::mt19937 rng(seed);
  RgbaImage img = RgbaImage::Create(w, h);
  for (uint8_t& b : img.bgra) b = static_cast<uint8_t>(rng() >> 24);
  std::vector<uint32_t> kind(static_cast<size_t>((w / tile + 1) * (h / tile + 1)));
  for (uint32_t& k : kind) k = rng() % 4;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t& a = img.Pixel(x, y)[3];
      const uint32_t k = kind[static_cast<size_t>(y / tile * (w / tile + 1) + x / tile)];
      a = k == 0 ? 0 : k == 1 ? 255 : k == 2 ? 1 + a % 2 : a;
    }
  }
  return img;
}

struct Shape {
  int w, h;
  Size size;
};

// Exact halving to widths below, at and around a vector's (1, 3, 4, 7, 8, 9, 17, 33 pixels),
// with one-pixel rows; then ratios near 2, near 4, whole, reduce-and-enlarge, enlargement.
const Shape kShapes[] = {
    {2, 2, {1, 1}},         {6, 2, {3, 1}},         {8, 4, {4, 2}},          {14, 6, {7, 3}},
    {16, 2, {8, 1}},        {18, 10, {9, 5}},       {34, 8, {17, 4}},        {66, 6, {33, 3}},
    {398, 212, {199, 106}}, {397, 211, {201, 107}}, {1210, 403, {300, 100}}, {60, 45, {20, 15}},
    {50, 37, {17, 29}},     {13, 11, {40, 30}},     {3, 1, {1, 1}},          {1, 5, {7, 2}},
};

TEST(ImportLoops, ResamplingGivesThePlainBitsInEveryForm) {
  for (const Shape& s : kShapes) {
    for (const int tile : {1, 3, 8, 16}) {
      const RgbaImage img = Tiled(s.w, s.h, tile, static_cast<uint32_t>(s.w * 31 + tile));
      const std::vector<uint8_t> plain = resample::ResampleWith(img, s.size, Loops::kPlain).bgra;
      for (const Loops loops : RunnableLoops()) {
        ASSERT_EQ(resample::ResampleWith(img, s.size, loops).bgra, plain)
            << Name(loops) << " " << s.w << "x" << s.h << " to " << s.size.width << "x"
            << s.size.height << " tiles " << tile;
      }
    }
  }
}

// A window with a margin gives what cutting it out with the margin and resampling gives.
TEST(ImportLoops, AWindowResamplesAsItsCopyWould) {
  const RgbaImage img = Tiled(120, 90, 5, 7);
  struct Case {
    int x0, y0, w, h, margin;
    Size size;
  };
  for (const Case& c : {Case{10, 7, 96, 70, 2, {50, 37}}, Case{3, 1, 81, 60, 3, {29, 22}},
                        Case{0, 0, 120, 90, 5, {65, 50}}, Case{50, 40, 9, 11, 2, {40, 44}}}) {
    RgbaImage copy = RgbaImage::Create(c.w + 2 * c.margin, c.h + 2 * c.margin);
    for (int y = 0; y < c.h; ++y)
      std::copy_n(img.Pixel(c.x0, c.y0 + y), c.w * 4, copy.Pixel(c.margin, c.margin + y));
    const std::vector<uint8_t> want = resample::ResampleWith(copy, c.size, Loops::kPlain).bgra;
    for (const Loops loops : RunnableLoops()) {
      const resample::Window window{&img, c.x0, c.y0, c.w, c.h, c.margin};
      ASSERT_EQ(resample::ResampleWindow(window, c.size, loops).bgra, want)
          << Name(loops) << " window " << c.w << "x" << c.h << " margin " << c.margin;
    }
  }
}

// A window that knows where each row's visible pixels are skips the rest, and gives the same
// bits: a ragged diamond of every kind of alpha, with rows of nothing across its middle.
TEST(ImportLoops, AWindowSkipsWhatItsRowsShowTransparent) {
  RgbaImage img = Tiled(141, 103, 3, 11);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (std::abs(x - 70) + std::abs(y - 51) > 60 - (x * 7 + y) % 5 || (y >= 50 && y < 53))
        img.Pixel(x, y)[3] = 0;
  for (const Loops loops : RunnableLoops()) {
    std::vector<resample::Extent> extents;
    const std::optional<pair_rows::Box> box = pair_rows::VisibleBox(img, loops, &extents);
    ASSERT_TRUE(box);
    const std::optional<pair_rows::Box> plain_box = pair_rows::VisibleBox(img, Loops::kPlain);
    ASSERT_EQ(box, plain_box);
    for (const int margin : {2, 3}) {
      RgbaImage copy = RgbaImage::Create(box->width + 2 * margin, box->height + 2 * margin);
      for (int y = 0; y < box->height; ++y)
        std::copy_n(img.Pixel(box->x0, box->y0 + y), box->width * 4,
                    copy.Pixel(margin, margin + y));
      const resample::Window window{&img,        box->x0, box->y0, box->width,
                                    box->height, margin,  &extents};
      for (const Size size : {Size{61, 53}, Size{40, 41}, Size{300, 251}, Size{7, 3}})
        ASSERT_EQ(resample::ResampleWindow(window, size, loops).bgra,
                  resample::ResampleWith(copy, size, Loops::kPlain).bgra)
            << Name(loops) << " margin " << margin << " to " << size.width << "x" << size.height;
    }
  }
}

std::vector<uint8_t> Bytes(const Picture& p) {
  std::vector<uint8_t> out;
  for (int y = 0; y < p.Height(); ++y) out.insert(out.end(), p.Row(y), p.Row(y) + p.Stride());
  return out;
}

// The two-level pair and the visible box, at widths below, at and around the vectors' (the
// wider stores stop short of the row's end), for every kind of alpha.
TEST(ImportLoops, PairAndBoxGiveThePlainResultsInEveryForm) {
  for (const int w : {1, 2, 4, 5, 7, 8, 9, 10, 11, 15, 16, 17, 18, 33, 101}) {
    for (const int tile : {1, 3, 8}) {
      const RgbaImage img = Tiled(w, 7, tile, static_cast<uint32_t>(w * 13 + tile));
      const HairstylePair plain = pair_rows::MakePairWith(img, Loops::kPlain);
      for (const Loops loops : RunnableLoops()) {
        const HairstylePair pair = pair_rows::MakePairWith(img, loops);
        ASSERT_EQ(Bytes(pair.colour), Bytes(plain.colour)) << Name(loops) << " " << w;
        ASSERT_EQ(Bytes(pair.mask), Bytes(plain.mask)) << Name(loops) << " " << w;
        ASSERT_EQ(pair.hair_pixels, plain.hair_pixels) << Name(loops) << " " << w;
        ASSERT_EQ(pair_rows::VisibleBox(img, loops), pair_rows::VisibleBox(img, Loops::kPlain));
      }
    }
  }
  // The outermost visible pixels of a row anywhere, alone or each with a visible neighbour
  // inside, on either side of a vector's edge; none at all.
  const RgbaImage clear = RgbaImage::Create(37, 3);
  for (const Loops loops : RunnableLoops()) EXPECT_FALSE(pair_rows::VisibleBox(clear, loops));
  const std::pair<int, int> outermost[] = {{0, 0},  {0, 1},  {1, 2},   {2, 3},   {3, 4},   {0, 36},
                                           {5, 36}, {0, 31}, {31, 32}, {32, 35}, {35, 36}, {5, 33}};
  for (const auto& [a, b] : outermost) {
    for (const bool neighbours : {false, true}) {
      RgbaImage img = clear;
      img.Pixel(a, 1)[3] = 1;
      img.Pixel(b, 1)[3] = 200;
      if (neighbours) img.Pixel(std::min(a + 1, b), 1)[3] = img.Pixel(std::max(b - 1, a), 1)[3] = 9;
      for (const Loops loops : RunnableLoops())
        EXPECT_EQ(pair_rows::VisibleBox(img, loops), (pair_rows::Box{a, 1, b - a + 1, 1}))
            << Name(loops) << " " << a << "-" << b;
    }
  }
}

}  // namespace
}  // namespace coiffure
