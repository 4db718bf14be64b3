// Today's bits of the reduction and the whole conversion, pinned by digest: the digests were
// taken from the straightforward loops (one pass per stage, no shortcuts) before the faster
// paths replaced them, so any shortcut that changes a single byte fails here.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

#include "import/convert.h"

namespace coiffure {
namespace {

uint64_t Fnv(uint64_t h, const uint8_t* p, size_t n) {
  for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001b3ull;
  return h;
}
uint64_t Digest(const std::vector<uint8_t>& bytes) {
  return Fnv(0xcbf29ce484222325ull, bytes.data(), bytes.size());
}
uint64_t Digest(const HairstylePair& pair) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (const Picture* p : {&pair.colour, &pair.mask}) {
    const uint32_t size[2] = {static_cast<uint32_t>(p->Width()),
                              static_cast<uint32_t>(p->Height())};
    h = Fnv(h, reinterpret_cast<const uint8_t*>(size), sizeof size);
    for (int y = 0; y < p->Height(); ++y) h = Fnv(h, p->Row(y), p->Stride());
  }
  return h;
}

// Random colours; alphas a mix of 0, 255, 1, 254 and any.
RgbaImage Varied(int w, int h, uint32_t seed) {
  std::mt19937 rng(seed);
  RgbaImage img = RgbaImage::Create(w, h);
  for (uint8_t& b : img.bgra) b = static_cast<uint8_t>(rng() >> 24);
  for (size_t i = 3; i < img.bgra.size(); i += 4) {
    const uint8_t kinds[] = {0, 255, 1, 254, img.bgra[i]};
    img.bgra[i] = kinds[(rng() >> 8) % 5];
  }
  return img;
}

// Noise colours on a disc: opaque inside, a soft ring, transparent (with colour) outside; the
// disc sits off centre so that the crop is not symmetric.
RgbaImage CutOut(int w, int h, uint32_t seed) {
  RgbaImage img = Varied(w, h, seed);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double dx = (x - 0.55 * w) / (0.4 * w), dy = (y - 0.45 * h) / (0.4 * h);
      const double a = std::clamp((1.0 - std::sqrt(dx * dx + dy * dy)) / 0.15, 0.0, 1.0);
      img.Pixel(x, y)[3] = static_cast<uint8_t>(a * 255 + 0.5);
    }
  }
  return img;
}

// Opaque, each 2 x 2 block's channels summing to a different total: halved, every total from
// 0 to 1020 is rounded once.
RgbaImage EveryBlockSum() {
  RgbaImage img = RgbaImage::Create(2 * 64, 2 * 17);
  for (int k = 0; k < 64 * 17; ++k) {
    const int totals[3] = {k % 1021, (k * 7 + 3) % 1021, (k * 13 + 500) % 1021};
    for (int i = 0; i < 4; ++i) {
      uint8_t* p = img.Pixel(2 * (k % 64) + i % 2, 2 * (k / 64) + i / 2);
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(totals[c] / 4 + (i < totals[c] % 4));
      p[3] = 255;
    }
  }
  return img;
}

TEST(ImportPinned, ReductionKeepsItsBits) {
  EXPECT_EQ(Digest(Resample(EveryBlockSum(), {64, 17}).bgra), 17008943498597524565u);

  struct Case {
    int w, h;
    Size size;
    uint64_t digest;
  };
  // Exact halving (even, odd and one-pixel outputs), halving one axis only, ratios near 2 and
  // near 4, reduce-and-enlarge, enlargement.
  for (const Case& c : {
           Case{64, 48, {32, 24}, 7808960384527960164u},
           Case{74, 50, {37, 25}, 10693860280015312400u},
           Case{2, 200, {1, 100}, 10486192954154445629u},
           Case{1002, 6, {501, 3}, 12632396749415374833u},
           Case{64, 48, {32, 48}, 5703661238137858023u},
           Case{397, 211, {201, 107}, 17919926507856151490u},
           Case{1210, 403, {300, 100}, 15265982871529815702u},
           Case{50, 37, {17, 29}, 13430015081284969109u},
           Case{13, 11, {40, 30}, 5005068867910604558u},
       }) {
    const RgbaImage img = Varied(c.w, c.h, static_cast<uint32_t>(c.w * 7919 + c.h));
    EXPECT_EQ(Digest(Resample(img, c.size).bgra), c.digest)
        << c.w << "x" << c.h << " to " << c.size.width << "x" << c.size.height;
  }
}

// The cut-out with its corners made visible, on a larger transparent canvas: its crop is
// exactly its own size plus the margin.
RgbaImage Framed(int w, int h, uint32_t seed) {
  RgbaImage inner = CutOut(w, h, seed);
  for (const int y : {0, h - 1})
    for (const int x : {0, w - 1}) inner.Pixel(x, y)[3] = 255;
  RgbaImage img = RgbaImage::Create(w + 90, h + 70);
  for (int y = 0; y < h; ++y) std::copy_n(inner.Pixel(0, y), w * 4, img.Pixel(50, 30 + y));
  return img;
}

TEST(ImportPinned, ConversionKeepsItsBits) {
  struct Case {
    RgbaImage img;
    uint64_t digest;
  };
  // Reduced, reduced by exactly half (a crop of 2000 x 400), kept, enlarged and padded.
  const Case cases[] = {{CutOut(2400, 1000, 1), 10359752619243416930u},
                        {Framed(1924, 324, 2), 109083375972696057u},
                        {CutOut(700, 500, 3), 372563597493051412u},
                        {CutOut(150, 90, 4), 15051979981895669091u},
                        {CutOut(81, 333, 5), 14781204606231207106u}};
  for (const Case& c : cases) {
    const std::optional<HairstylePair> pair = ConvertToHairstyle(c.img);
    ASSERT_TRUE(pair);
    EXPECT_EQ(Digest(*pair), c.digest) << c.img.width << "x" << c.img.height;
  }
  const std::optional<RgbaImage> halved = CropToVisible(cases[1].img);
  ASSERT_TRUE(halved);
  EXPECT_EQ(FittedSize(halved->width, halved->height), (Size{1000, 200}));
  // Straight into the error diffusion: every kind of alpha, widths around a vector's.
  const std::pair<int, uint64_t> widths[] = {
      {1, 2045634918967632716u},  {3, 12125840495806738575u},  {15, 7429267213103124200u},
      {16, 8315710456070396953u}, {17, 11794549681663533208u}, {33, 16675312172872550561u}};
  for (const auto& [w, digest] : widths)
    EXPECT_EQ(Digest(MakePair(Varied(w, 9, static_cast<uint32_t>(w)))), digest) << w;
}

}  // namespace
}  // namespace coiffure
