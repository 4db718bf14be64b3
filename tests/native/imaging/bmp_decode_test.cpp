#include <gtest/gtest.h>

#include "imaging/picture.h"
#include "native/bmp_builder.h"

namespace coiffure {
namespace {

using bmptest::BmpLayout;
using bmptest::BuildBmp;
using bmptest::PackRows;
using Grid = std::vector<std::vector<Bgr>>;
using Values = std::vector<std::vector<uint32_t>>;

Picture Decode(const BmpLayout& s) {
  Picture p;
  p.LoadFromBytes(BuildBmp(s));
  return p;
}

// The picture's colours read both ways (row reader and single pixel), which must agree.
Grid Colours(const Picture& p) {
  Grid g(p.Height(), std::vector<Bgr>(p.Width()));
  std::vector<uint8_t> row(static_cast<size_t>(p.Width()) * 3);
  for (int y = 0; y < p.Height(); ++y) {
    p.ReadRowBgr(y, row.data());
    for (int x = 0; x < p.Width(); ++x) {
      g[y][x] = {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
      EXPECT_EQ(g[y][x], p.PixelBgr(x, y)) << "at " << x << "," << y;
    }
  }
  return g;
}

Grid Lookup(const Values& idx, const std::vector<Bgr>& palette) {
  Grid g;
  for (const auto& r : idx) {
    g.emplace_back();
    for (uint32_t i : r) g.back().push_back(i < palette.size() ? palette[i] : Bgr{});
  }
  return g;
}

const std::vector<Bgr> kPalette16 = {
    {0, 0, 0},       {255, 255, 255}, {10, 20, 30},    {40, 50, 60},
    {70, 80, 90},    {100, 110, 120}, {130, 140, 150}, {160, 170, 180},
    {190, 200, 210}, {220, 230, 240}, {1, 2, 3},       {4, 5, 6},
    {7, 8, 9},       {11, 12, 13},    {14, 15, 16},    {17, 18, 19}};

// Indexes for a 7 x 3 picture (odd width, so rows need padding and partial bytes).
Values IndexGrid(int bpp) {
  const uint32_t top = (1u << bpp) - 1;
  Values v(3, std::vector<uint32_t>(7));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) v[y][x] = static_cast<uint32_t>(x * 3 + y * 5) % (top + 1);
  return v;
}

TEST(BmpDecode, PaletteDepthsKeepTheirDepthAndColoursInBothOrientations) {
  for (int bpp : {1, 4, 8}) {
    std::vector<Bgr> palette(size_t{1} << bpp);
    for (size_t i = 0; i < palette.size(); ++i)
      palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
    const Values idx = IndexGrid(bpp);
    for (bool top_down : {false, true}) {
      BmpLayout s{.width = 7, .height = top_down ? -3 : 3, .bpp = uint16_t(bpp)};
      s.palette = palette;
      s.data = PackRows(idx, bpp, top_down);
      const Picture p = Decode(s);
      SCOPED_TRACE(std::to_string(bpp) + (top_down ? " top-down" : " bottom-up"));
      EXPECT_EQ(p.BitsPerPixel(), bpp);
      EXPECT_EQ(p.Width(), 7);
      EXPECT_EQ(p.Height(), 3);
      EXPECT_EQ(Colours(p), Lookup(idx, palette));
    }
  }
}

TEST(BmpDecode, TrueColourDepthsInBothOrientations) {
  const Values bgr = {{0x010203, 0xFFFFFF, 0x000000}, {0x123456, 0xABCDEF, 0x7F8081}};
  // Expected with BI_RGB rules: 24 and 32 bits are 8-8-8; 16 bits is 5-5-5.
  for (bool top_down : {false, true}) {
    for (int bpp : {24, 32}) {
      Values v = bgr;
      if (bpp == 32)
        for (auto& r : v)
          for (auto& x : r) x |= 0xA5000000;  // the fourth byte is ignored
      BmpLayout s{.width = 3, .height = top_down ? -2 : 2, .bpp = uint16_t(bpp)};
      s.data = PackRows(v, bpp, top_down);
      const Picture p = Decode(s);
      EXPECT_EQ(p.BitsPerPixel(), bpp);
      EXPECT_EQ(p.PixelBgr(0, 0), (Bgr{0x03, 0x02, 0x01}));
      EXPECT_EQ(p.PixelBgr(1, 0), (Bgr{0xFF, 0xFF, 0xFF}));
      EXPECT_EQ(p.PixelBgr(1, 1), (Bgr{0xEF, 0xCD, 0xAB}));
      EXPECT_EQ(Colours(p)[1][2], (Bgr{0x81, 0x80, 0x7F}));
    }
    // 0RRRRRGGGGGBBBBB: five-bit channels spread to eight bits with their high bits repeated.
    BmpLayout s{.width = 3, .height = top_down ? -1 : 1, .bpp = 16};
    s.data = PackRows({{0x7FFF, 0x4210, 0x001F | 0x8000}}, 16, top_down);
    const Grid g = Colours(Decode(s));
    EXPECT_EQ(g[0][0], (Bgr{255, 255, 255}));
    EXPECT_EQ(g[0][1], (Bgr{0x84, 0x84, 0x84}));
    EXPECT_EQ(g[0][2], (Bgr{255, 0, 0}));  // top bit unused
  }
}

TEST(BmpDecode, CoreHeaderWithThreeBytePalette) {
  const Values idx = IndexGrid(4);
  BmpLayout s{.header_size = 12, .width = 7, .height = 3, .bpp = 4};
  s.palette = kPalette16;
  s.data = PackRows(idx, 4);
  EXPECT_EQ(Colours(Decode(s)), Lookup(idx, kPalette16));

  BmpLayout t{.header_size = 12, .width = 2, .height = 1, .bpp = 24};
  t.data = PackRows({{0x102030, 0x405060}}, 24);
  EXPECT_EQ(Colours(Decode(t))[0][1], (Bgr{0x60, 0x50, 0x40}));
}

TEST(BmpDecode, EveryInfoHeaderSizeReadsTheSamePixels) {
  const Values idx = IndexGrid(8);
  for (uint32_t size : {40u, 52u, 56u, 64u, 108u, 124u}) {
    BmpLayout s{.header_size = size, .width = 7, .height = 3, .bpp = 8};
    s.palette = kPalette16;
    s.colours_used = 16;
    Values small = idx;
    for (auto& r : small)
      for (auto& v : r) v %= 16;
    s.data = PackRows(small, 8);
    EXPECT_EQ(Colours(Decode(s)), Lookup(small, kPalette16)) << size;
  }
}

TEST(BmpDecode, BitfieldsFromEveryPlaceMasksCanLive) {
  // 5-6-5: red 0xF800, green 0x07E0, blue 0x001F.
  const std::array<uint32_t, 3> m565{0xF800, 0x07E0, 0x001F};
  for (uint32_t size : {40u, 52u, 56u, 108u, 124u}) {
    BmpLayout s{.header_size = size, .width = 3, .height = -1, .bpp = 16, .compression = 3};
    s.masks = m565;
    s.data = PackRows({{0xFFFF, 0x07E0, 0x8010}}, 16, true);
    const Picture p = Decode(s);
    EXPECT_EQ(p.BitsPerPixel(), 16);
    EXPECT_EQ(Colours(p)[0], (std::vector<Bgr>{{255, 255, 255}, {0, 255, 0}, {0x84, 0, 0x84}}))
        << size;
  }
}

TEST(BmpDecode, OddMasksExpandToFullRange) {
  // 16 bits 4-4-4 in unusual order (blue high), 32 bits 10-10-10, and a 3-bit and a 1-bit mask.
  BmpLayout a{.width = 2, .height = 1, .bpp = 16, .compression = 3};
  a.masks = std::array<uint32_t, 3>{0x00F0, 0x000F, 0x0F00};
  a.data = PackRows({{0x0A5F, 0x0000}}, 16);
  EXPECT_EQ(Colours(Decode(a))[0][0], (Bgr{0xAA, 0xFF, 0x55}));

  BmpLayout b{.width = 2, .height = 1, .bpp = 32, .compression = 3};
  b.masks = std::array<uint32_t, 3>{0x3FF00000, 0x000FFC00, 0x000003FF};
  b.data = PackRows({{0x3FF00000 | (0x200u << 10) | 0x0FF, 0xC0000000}}, 32);
  const Grid g = Colours(Decode(b));
  EXPECT_EQ(g[0][0], (Bgr{0x3F, 0x80, 0xFF}));  // top eight of ten bits
  EXPECT_EQ(g[0][1], (Bgr{0, 0, 0}));           // bits outside every mask are ignored

  BmpLayout c{.width = 2, .height = 1, .bpp = 16, .compression = 3};
  c.masks = std::array<uint32_t, 3>{0x0E00, 0x0100, 0};  // red 3 bits, green 1 bit, no blue
  c.data = PackRows({{0x0B00, 0x0400}}, 16);
  const Grid h = Colours(Decode(c));
  EXPECT_EQ(h[0][0], (Bgr{0, 255, 0xB6}));  // 101 -> 10110110
  EXPECT_EQ(h[0][1], (Bgr{0, 0, 0x49}));    // 010 -> 01001001
}

TEST(BmpDecode, ShortPaletteAndIndexesPastItAreBlack) {
  BmpLayout s{.width = 4, .height = 1, .bpp = 8, .colours_used = 2};
  s.palette = {{1, 2, 3}, {4, 5, 6}};
  s.data = PackRows({{0, 1, 2, 255}}, 8);
  EXPECT_EQ(Colours(Decode(s))[0], (std::vector<Bgr>{{1, 2, 3}, {4, 5, 6}, {0, 0, 0}, {0, 0, 0}}));

  // More entries claimed than the depth can index: only the first 2^bpp are read.
  BmpLayout t{.width = 2, .height = 1, .bpp = 1, .colours_used = 3};
  t.palette = {{9, 9, 9}, {7, 7, 7}};  // the third entry is not even in the file
  t.pixel_offset = 14 + 40 + 8;
  t.data = PackRows({{1, 0}}, 1);
  EXPECT_EQ(Colours(Decode(t))[0], (std::vector<Bgr>{{7, 7, 7}, {9, 9, 9}}));
}

TEST(BmpDecode, PixelDataAtAnOffsetBeyondThePalette) {
  BmpLayout s{.width = 1, .height = 1, .bpp = 24};
  s.pixel_offset = 200;
  s.data = {1, 2, 3, 0};
  EXPECT_EQ(Decode(s).PixelBgr(0, 0), (Bgr{1, 2, 3}));
}

TEST(BmpDecode, LastRowWithoutPaddingIsAccepted) {
  BmpLayout s{.width = 1, .height = 2, .bpp = 24};
  s.data = {1, 2, 3, 0, 4, 5, 6};  // bottom row padded, top row not
  const Picture p = Decode(s);
  EXPECT_EQ(p.PixelBgr(0, 1), (Bgr{1, 2, 3}));
  EXPECT_EQ(p.PixelBgr(0, 0), (Bgr{4, 5, 6}));
}

std::vector<Bgr> Palette(size_t n) {
  std::vector<Bgr> p(n);
  for (size_t i = 0; i < n; ++i) p[i] = {uint8_t(i), uint8_t(100 + i), uint8_t(200 - i)};
  return p;
}

TEST(BmpDecode, Rle8RunsLiteralsDeltasAndLineEnds) {
  // 6 x 4 picture, stream lines counted from the bottom.
  BmpLayout s{.width = 6, .height = 4, .bpp = 8, .compression = 1, .colours_used = 16};
  s.palette = Palette(16);
  s.data = {
      3, 7, 0, 3, 1, 2, 9, 0,  // bottom: run of three 7s, literal 1 2 9 (+pad)
      0, 0,                    // end of line
      0, 2, 2, 1,              // delta: skip to x=2 of line 2
      2, 5,                    // two 5s at x=2,3
      0, 0,                    // line 2 ends at once; line 3 starts
      6, 4,                    // full line of 4s
      0, 1,                    // end of picture
  };
  const Picture p = Decode(s);
  EXPECT_EQ(p.BitsPerPixel(), 8);
  const Values idx = {
      {4, 4, 4, 4, 4, 4}, {0, 0, 5, 5, 0, 0}, {0, 0, 0, 0, 0, 0}, {7, 7, 7, 1, 2, 9}};
  EXPECT_EQ(Colours(p), Lookup(idx, s.palette));
  EXPECT_EQ(p.Row(3)[5], 9);  // stored as indexes, top row first
}

TEST(BmpDecode, Rle4RunsAlternateNibblesAndLiteralsPad) {
  BmpLayout s{.width = 7, .height = 2, .bpp = 4, .compression = 2};
  s.palette = Palette(16);
  s.data = {
      5, 0x12,                       // 1 2 1 2 1
      0, 2,    1,    0,              // delta one pixel right, same line
      1, 0xF0,                       // F at x=6
      0, 0,                          // end of line
      0, 5,    0xAB, 0xCD, 0xE0, 0,  // literal A B C D E, padded to a word
      0, 1,
  };
  const Picture p = Decode(s);
  EXPECT_EQ(p.BitsPerPixel(), 4);
  const Values idx = {{0xA, 0xB, 0xC, 0xD, 0xE, 0, 0}, {1, 2, 1, 2, 1, 0, 0xF}};
  EXPECT_EQ(Colours(p), Lookup(idx, s.palette));
}

TEST(BmpDecode, RleEndingEarlyLeavesTheRestAtIndexZero) {
  BmpLayout s{.width = 3, .height = 3, .bpp = 8, .compression = 1};
  s.palette = {{9, 8, 7}, {1, 1, 1}};
  s.colours_used = 2;
  s.data = {1, 1, 0, 1};
  const Grid g = Colours(Decode(s));
  EXPECT_EQ(g[2][0], (Bgr{1, 1, 1}));
  EXPECT_EQ(g[0][0], (Bgr{9, 8, 7}));
  EXPECT_EQ(g[2][2], (Bgr{9, 8, 7}));
}

}  // namespace
}  // namespace coiffure
