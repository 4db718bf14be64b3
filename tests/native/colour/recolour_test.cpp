// The hair-colour variants measured as a colourist would check them: the mean colour reached,
// light and shade kept, no new clipping, nothing outside the hair touched. Over generated
// sources of every lightness and texture, and over every shipped style into every shade.
#include "colour/recolour.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>

#include "colour/palette.h"
#include "colour/recolour_rows.h"
#include "hair.h"
#include "imaging/oklab.h"
#include "native/bmp_builder.h"

namespace coiffure {
namespace {

constexpr Bgr kBlack{0, 0, 0}, kWhite{255, 255, 255};

struct Quality {
  double delta_e = 0;       // hair's mean OKLab colour from the shade's
  double r = 1;             // Pearson r of OKLab lightness, result against source
  double source_sd = 0;     // the source hair's lightness spread
  double result_sd = 0;     // the result's
  double clipped = 0;       // share of hair pixels with a channel newly at 0 or 255
  int64_t outside_lit = 0;  // pixels off the hair that are not black
};

bool NewlyClipped(Bgr src, Bgr out) {
  auto clipped = [](uint8_t o, uint8_t s) { return (o == 0 || o == 255) && o != s; };
  return clipped(out.b, src.b) || clipped(out.g, src.g) || clipped(out.r, src.r);
}

Quality Measure(const Picture& colour, const Picture& mask, const Picture& out, Bgr shade) {
  Quality q;
  double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0, sa = 0, sb = 0, clipped = 0;
  for (int y = 0; y < colour.Height(); ++y)
    for (int x = 0; x < colour.Width(); ++x) {
      const Bgr m = mask.PixelBgr(x, y), o = out.PixelBgr(x, y);
      if (m != kBlack) {
        q.outside_lit += m == kWhite && o != kBlack;
        continue;
      }
      const Oklab s = BgrToOklab(colour.PixelBgr(x, y)), r = BgrToOklab(o);
      n += 1, sx += s.L, sy += r.L, sxx += s.L * s.L, syy += r.L * r.L, sxy += s.L * r.L;
      sa += r.a, sb += r.b;
      clipped += NewlyClipped(colour.PixelBgr(x, y), o);
    }
  const Oklab want = BgrToOklab(shade);
  q.delta_e = std::hypot(sy / n - want.L, sa / n - want.a, sb / n - want.b);
  const double vx = sxx / n - sx * sx / n / n, vy = syy / n - sy * sy / n / n;
  q.source_sd = std::sqrt(std::max(0.0, vx));
  q.result_sd = std::sqrt(std::max(0.0, vy));
  q.r = (sxy / n - sx * sy / n / n) / std::sqrt(vx * vy);
  q.clipped = clipped / n;
  return q;
}

// The thresholds, one place for both tables. A result proportional to its source but with
// hardly any spread would pass the correlation as a flat patch: its strands must still show.
void ExpectGood(const Quality& q) {
  EXPECT_LE(q.delta_e, 0.04);
  if (q.source_sd >= 0.03) {
    EXPECT_GE(q.r, 0.9);
    EXPECT_GE(q.result_sd, 0.02);
  }
  EXPECT_LE(q.clipped, 0.01);
  EXPECT_EQ(q.outside_lit, 0);
}

struct Worst {
  double delta_e = 0, r = 1, clipped = 0, spread = 1;
  void Add(const Quality& q) {
    delta_e = std::max(delta_e, q.delta_e);
    if (q.source_sd >= 0.03) r = std::min(r, q.r), spread = std::min(spread, q.result_sd);
    clipped = std::max(clipped, q.clipped);
  }
  void Print(const char* what) const {
    std::printf(
        "%s: worst dE %.4f, lowest r %.4f, largest clipped share %.4f%%, least spread %.4f\n", what,
        delta_e, r, 100 * clipped, spread);
  }
};

// A generated style: an oval of hair on a white mask, its colour the base scaled in linear
// light by a lightness pattern, smooth or in strands with sheen, and a loud colour off the hair
// that must not survive.
struct Source {
  const char* name;
  Bgr base;
  bool strands;
  bool flat = false;  // one colour: nothing may be invented in it
};

void Generate(const Source& s, Picture& colour, Picture& mask) {
  constexpr int kW = 240, kH = 260;
  colour = Picture::Create24(kW, kH, {0, 255, 0});
  mask = Picture::Create24(kW, kH, kWhite);
  std::mt19937 rng(7);
  std::normal_distribution<float> jitter(0, 1);
  std::vector<float> strand(kW);
  for (float& v : strand) v = jitter(rng);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const float dx = (x - kW / 2.0f) / (kW * 0.45f), dy = (y - kH / 2.0f) / (kH * 0.45f);
      if (dx * dx + dy * dy > 1) continue;
      float light = s.flat ? 1 : 0.2f + 0.9f * (1 - dy);  // lit from above
      if (s.strands) {
        const int column = (x + y / 6) % kW;  // strands run down at a slant
        light *= 1 + 0.35f * strand[column] + 0.08f * jitter(rng);
        light += 0.9f * std::exp(-std::pow((dy + 0.35f) / 0.08f, 2.0f)) * (strand[column] > 0);
      }
      auto channel = [&](uint8_t v) {
        const float lin = ByteToLinear(v) * std::max(light, 0.0f);
        return static_cast<uint8_t>(std::lround(255 * LinearToSrgb(std::min(lin, 1.0f))));
      };
      uint8_t* c = colour.Row(y) + 3 * x;
      c[0] = channel(s.base.b), c[1] = channel(s.base.g), c[2] = channel(s.base.r);
      uint8_t* m = mask.Row(y) + 3 * x;
      m[0] = m[1] = m[2] = 0;
    }
}

TEST(Recolour, GeneratedSourcesReachEveryShadeAndKeepTheirLightAndShade) {
  Worst worst;
  for (const Source& s :
       {Source{"dark", {26, 26, 30}, false}, Source{"dark", {26, 26, 30}, true},
        Source{"mid", {38, 60, 92}, false}, Source{"mid", {38, 60, 92}, true},
        Source{"light", {96, 158, 196}, false}, Source{"light", {96, 158, 196}, true},
        Source{"grey", {146, 148, 150}, false}, Source{"grey", {146, 148, 150}, true},
        Source{"flat", {40, 50, 70}, false, true}}) {
    Picture colour, mask;
    Generate(s, colour, mask);
    for (const Shade& shade : ShadePalette()) {
      SCOPED_TRACE(std::string(s.name) + (s.strands ? " strands -> " : " -> ") + shade.name);
      Picture out;
      EXPECT_TRUE(RecolourHair(colour, mask, shade.mean, out).exact);
      const Quality q = Measure(colour, mask, out, shade.mean);
      ExpectGood(q);
      worst.Add(q);
      if (s.flat) {
        EXPECT_EQ(out.PixelBgr(120, 80), out.PixelBgr(120, 200));
      } else {
        EXPECT_GE(q.source_sd, 0.03);  // so that every one is held to the r bound
      }
    }
  }
  worst.Print("generated sources");
}

// Colours of one's own: those hair can have are reached; at the ends of the range and at full
// saturation the nearest colour that keeps the strands is, and said to be, and it is what the
// hair's mean is.
TEST(Recolour, OwnColoursReachTheNearestThatKeepsTheStrands) {
  struct Case {
    Bgr asked;
    bool exact;
  };
  Picture colour, mask;
  Generate({"mid", {38, 60, 92}, true}, colour, mask);
  for (const Case c :
       {Case{{0x3A, 0x6B, 0x2E}, true}, Case{{0x10, 0x10, 0x60}, true},
        Case{{0xD0, 0xD0, 0xD0}, true}, Case{kBlack, false}, Case{kWhite, false},
        Case{{0, 0, 255}, false}, Case{{255, 0, 0}, false}, Case{{0, 255, 0}, false}}) {
    SCOPED_TRACE(CustomShade(c.asked).name);
    Picture out;
    const ShadeReach reach = RecolourHair(colour, mask, c.asked, out);
    EXPECT_EQ(reach.exact, c.exact);
    if (c.exact) {
      EXPECT_LE(DeltaE(BgrToOklab(reach.reached), BgrToOklab(c.asked)), 0.04);
    }
    const Quality q = Measure(colour, mask, out, reach.reached);
    ExpectGood(q);
  }
}

TEST(Recolour, EveryShippedStyleInEveryShade) {
  Worst worst;
  for (const art::HairStyle& style : art::LibraryStyles()) {
    const art::HairPair pair = art::RenderHair(style);
    for (const Shade& shade : ShadePalette()) {
      SCOPED_TRACE(style.name + " -> " + shade.name);
      const Picture out = RecolourHair(pair.colour, pair.mask, shade.mean);
      const Quality q = Measure(pair.colour, pair.mask, out, shade.mean);
      ExpectGood(q);
      worst.Add(q);
    }
  }
  worst.Print("16 shipped styles x 12 shades");
}

// The row passes against the plain per-pixel rule, over masks that mix white, black and grey
// in runs of every length, so that whole runs, mixed runs and row ends all occur.
TEST(RecolourRows, MatchThePerPixelRuleAtEveryWidth) {
  std::mt19937 rng(3);
  LevelColours colours{};
  for (uint32_t& c : colours) c = rng() & 0xFFFFFF;
  colours[kOffLevel] = 0;
  for (int width : {1, 2, 17, 18, 19, 33, 34, 35, 50, 64, 100, 257}) {
    std::vector<uint8_t> colour(3 * width), mask(3 * width), out(3 * width, 0xAB);
    for (uint8_t& b : colour) b = static_cast<uint8_t>(rng());
    for (int x = 0; x < width;) {  // stretches of one mask value
      const int n = 1 + static_cast<int>(rng() % 40);
      const uint8_t v = std::array<uint8_t, 4>{0, 255, 255, 128}[rng() % 4];
      for (int i = x; i < std::min(width, x + n); ++i)
        mask[3 * i] = mask[3 * i + 1] = mask[3 * i + 2] = v;
      x += n;
    }
    if (width > 5) mask[3 * 5 + 1] = 254;  // white in two channels only is hair
    for (const Loops loops : RunnableLoops()) {
      LevelCounts counts{};
      CountRowLevels(colour.data(), mask.data(), width, counts, loops);
      WriteRowColours(colour.data(), mask.data(), width, colours, out.data(), loops);
      std::array<uint32_t, kCodes + 1> want_counts{};
      for (int x = 0; x < width; ++x) {
        const bool white = mask[3 * x] == 255 && mask[3 * x + 1] == 255 && mask[3 * x + 2] == 255;
        const int level = white ? kOffLevel : LevelOf(&colour[3 * x]);
        if (!white) ++want_counts[level >> 2];
        const uint32_t want = colours[level];
        ASSERT_EQ(out[3 * x] | out[3 * x + 1] << 8 | out[3 * x + 2] << 16, want)
            << "width " << width << " x " << x << " loops " << static_cast<int>(loops);
      }
      for (int code = 0; code < kCodes; ++code) {
        uint32_t sum = 0;
        for (const auto& way : counts) sum += way[code];
        ASSERT_EQ(sum, want_counts[code]) << code;
      }
    }
  }
}

// A 32-bit colour picture and an 8-bit mask are read as what they show; pictures of two sizes
// are refused, and a mask without hair gives a black picture.
TEST(Recolour, ReadsAnyDepthAndRefusesPicturesOfTwoSizes) {
  Picture colour, mask;
  Generate({"mid", {38, 60, 92}, true}, colour, mask);
  bmptest::BmpLayout c32{.width = colour.Width(), .height = -colour.Height(), .bpp = 32};
  bmptest::BmpLayout m8{.width = mask.Width(), .height = -mask.Height(), .bpp = 8};
  m8.palette = {kBlack, kWhite};
  for (int y = 0; y < colour.Height(); ++y)
    for (int x = 0; x < colour.Width(); ++x) {
      const Bgr c = colour.PixelBgr(x, y);
      c32.data.insert(c32.data.end(), {c.b, c.g, c.r, 0});
      m8.data.push_back(mask.PixelBgr(x, y) == kWhite);
    }
  Picture colour_32, mask_8;
  colour_32.LoadFromBytes(bmptest::BuildBmp(c32));
  mask_8.LoadFromBytes(bmptest::BuildBmp(m8));
  const Bgr shade = ShadePalette()[6].mean;
  EXPECT_EQ(RecolourHair(colour_32, mask_8, shade).EncodeBmp24(),
            RecolourHair(colour, mask, shade).EncodeBmp24());
  EXPECT_THROW(RecolourHair(colour, Picture::Create24(10, 10), shade), std::invalid_argument);
  const Picture none =
      RecolourHair(colour, Picture::Create24(colour.Width(), colour.Height(), kWhite), shade);
  EXPECT_EQ(none.EncodeBmp24(), Picture::Create24(colour.Width(), colour.Height()).EncodeBmp24());
}

}  // namespace
}  // namespace coiffure
