#include "portraits.h"

#include <algorithm>
#include <cmath>

#include "hair_plaits.h"
#include "hair_styles.h"
#include "noise.h"

namespace coiffure::art {
namespace {

constexpr float kHairLeft = 50, kHairTop = 30;  // the hair frame inside the portrait

Rgb BackdropAt(const Sitting& s, float u, float v) {
  const Rgb c = s.backdrop_colour;
  switch (s.backdrop) {
    case Backdrop::kPlain:
      return c * (1.08f - 0.16f * v / kPortraitHeight);
    case Backdrop::kSky: {
      const Rgb sky = Mix(Rgb8(70, 128, 200), Rgb8(180, 208, 236), v / kPortraitHeight);
      const float cloud = SmoothStep(0.5f, 0.75f, Fbm(u / 90, v / 45, s.seed, 4));
      return Mix(sky, Rgb8(245, 245, 248), cloud * 0.9f);
    }
    case Backdrop::kFoliage: {
      const float leaves = Fbm(u / 5, v / 5, s.seed, 3);
      const float clumps = Fbm(u / 40, v / 40, s.seed + 1, 2);
      return Mix(c * 0.45f, c, Clamp01(leaves * 0.9f + clumps * 0.6f - 0.2f));
    }
    case Backdrop::kWoodGrain: {
      const float grain = ValueNoise(u / 1.6f, v / 40, s.seed) * 0.6f +
                          ValueNoise(u / 12, v / 200, s.seed + 2) * 0.4f;
      return c * (0.75f + 0.5f * grain);
    }
    case Backdrop::kBrick: {
      const float row = std::floor(v / 18);
      const float col = (u + (static_cast<int>(row) % 2) * 19) / 38;
      const bool mortar = v - row * 18 < 2.5f || (col - std::floor(col)) * 38 < 2.5f;
      const float shade =
          0.85f + 0.3f * Hash2(static_cast<int>(col), static_cast<int>(row), s.seed);
      return mortar ? Rgb8(170, 165, 155)
                    : c * (shade * (0.9f + 0.2f * Fbm(u / 3, v / 3, s.seed, 2)));
    }
  }
  return c;
}

// Shoulders in clothes, the neck, ears and a face with its features, in portrait units.
void DrawPerson(Canvas& c, const Sitting& s, float k) {
  auto P = [&](float x, float y) { return Vec2{(kHairLeft + x) * k, (kHairTop + y) * k}; };
  FillEllipse(c, P(170, 560), 210 * k, 150 * k, s.clothes, 1, k);
  FillRoundRect(c, P(128, 250).x, P(128, 250).y, P(212, 440).x, P(212, 440).y, 30 * k,
                s.skin * 0.85f, 1, k);
  for (float x : {74.f, 266.f}) FillEllipse(c, P(x, 218), 16 * k, 30 * k, s.skin * 0.9f, 1, k);
  using F = HeadFrame;
  // The head under the hair, so that short cuts show forehead, not backdrop, where they end.
  FillEllipse(c, P(F::kSkull.x, F::kSkull.y + 8), (F::kSkullRx - 14) * k, (F::kSkullRy - 10) * k,
              s.skin * 0.97f, 1, k);
  FillEllipse(c, P(F::kBrow.x, F::kBrow.y), F::kBrowRx * k, F::kBrowRy * k, s.skin, 1, k);
  FillEllipse(c, P(F::kJaw.x, F::kJaw.y), F::kJawRx * k, F::kJawRy * k, s.skin, 1, k);
  FillEllipse(c, P(170, 250), 60 * k, 70 * k, s.skin * 1.06f, 0.6f, 30 * k);  // light on the face
  for (float x : {140.f, 200.f}) {
    FillEllipse(c, P(x, 212), 13 * k, 6 * k, Rgb8(240, 236, 230), 1, k);
    FillEllipse(c, P(x, 212), 5 * k, 5 * k, Rgb8(50, 36, 30), 1, k);
    FillRoundRect(c, P(x - 15, 192).x, P(x - 15, 192).y, P(x + 15, 197).x, P(x + 15, 197).y, 2 * k,
                  s.skin * 0.45f, 1, k);
  }
  StrokeLine(c, P(166, 222), P(162, 258), 3 * k, s.skin * 0.8f);
  FillEllipse(c, P(170, 282), 20 * k, 6 * k, Mix(s.skin, Rgb8(170, 60, 70), 0.5f), 1, k);
}

// Soft focus (a [1 2 1] kernel each way, the passes doubled above 2 pixels a unit) and sensor
// noise.
void Camera(Canvas& c, float k, const Sitting& s) {
  const int w = c.Width(), h = c.Height();
  std::vector<Rgb> tmp(static_cast<size_t>(w) * h);
  const int passes = s.blur * (k > 2 ? 2 : 1);
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        tmp[static_cast<size_t>(y) * w + x] =
            (c.At(std::max(x - 1, 0), y) + c.At(x, y) * 2 + c.At(std::min(x + 1, w - 1), y)) *
            0.25f;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        auto t = [&](int yy) { return tmp[static_cast<size_t>(std::clamp(yy, 0, h - 1)) * w + x]; };
        c.At(x, y) = (t(y - 1) + t(y) * 2 + t(y + 1)) * 0.25f;
      }
  }
  Rng rng(s.seed * 977 + 5);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float n = (rng.Uniform() + rng.Uniform() + rng.Uniform() - 1.5f) * 0.025f * s.noise;
      Rgb& p = c.At(x, y);
      p = {Clamp01(p.r + n), Clamp01(p.g + n), Clamp01(p.b + n)};
    }
}

}  // namespace

Portrait DrawPortrait(const Sitting& s, float k) {
  const int w = static_cast<int>(std::lround(kPortraitWidth * k));
  const int h = static_cast<int>(std::lround(kPortraitHeight * k));
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) c.At(x, y) = BackdropAt(s, (x + 0.5f) / k, (y + 0.5f) / k);
  DrawPerson(c, s, k);
  const int hw = static_cast<int>(std::lround(kHairWidth * k));
  const int hh = static_cast<int>(std::lround(kHairHeight * k));
  const HairPair hair = Enlarge(RenderAtDrawingSize(s.style), hw, hh);
  Portrait out;
  out.hair.assign(static_cast<size_t>(w) * h, 0);
  const int ox = static_cast<int>(std::lround(kHairLeft * k));
  const int oy = static_cast<int>(std::lround(kHairTop * k));
  for (int y = 0; y < hh && y + oy < h; ++y)
    for (int x = 0; x < hw && x + ox < w; ++x) {
      if (hair.mask.Row(y)[3 * x] != 0) continue;
      const uint8_t* p = hair.colour.Row(y) + 3 * x;  // blue, green, red
      c.At(x + ox, y + oy) = Rgb8(p[2], p[1], p[0]);
      out.hair[static_cast<size_t>(y + oy) * w + x + ox] = 1;
    }
  Camera(c, k, s);
  out.photo = c.ToPicture();
  return out;
}

std::vector<Sitting> PortraitSittings() {
  const Rgb light = Rgb8(226, 190, 165), medium = Rgb8(188, 138, 104), dark = Rgb8(112, 74, 54);
  using B = Backdrop;
  return {
      {"straight_sky",
       "straight",
       LongStraight("a", kDarkBrown, 41),
       B::kSky,
       {},
       light,
       Rgb8(40, 60, 110),
       1},
      {"straight_similar", "straight", LongStraight("b", kBlonde, 42), B::kPlain,
       Rgb8(200, 168, 112), light, Rgb8(240, 240, 235), 2},
      {"wavy_foliage", "wavy", LongWavy("c", kAuburn, 43), B::kFoliage, Rgb8(90, 130, 60), light,
       Rgb8(30, 30, 34), 3},
      {"wavy_grain_similar", "wavy", LongWavy("d", kChestnut, 44), B::kWoodGrain, Rgb8(120, 70, 38),
       medium, Rgb8(200, 200, 190), 4},
      {"curly_plain", "curly", Curly("e", kBrown, 45), B::kPlain, Rgb8(150, 165, 185), medium,
       Rgb8(150, 30, 40), 5},
      {"curly_foliage_similar", "curly", Curly("f", kDarkBrown, 46), B::kFoliage, Rgb8(100, 72, 45),
       light, Rgb8(60, 90, 60), 6},
      {"kinky_sky", "kinky", Afro("g", kBlack, 47), B::kSky, {}, dark, Rgb8(230, 180, 40), 7},
      {"kinky_similar", "kinky", Afro("h", kBlack, 48), B::kPlain, Rgb8(48, 44, 46), dark,
       Rgb8(200, 90, 40), 8},
      {"braids_plain", "braids", Braids("i", kBlack, 49), B::kPlain, Rgb8(215, 210, 200), dark,
       Rgb8(80, 40, 110), 9},
      {"braids_brick_similar", "braids", Braids("j", kDarkBrown, 50), B::kBrick, Rgb8(96, 52, 36),
       medium, Rgb8(220, 220, 225), 10},
      {"dreadlocks_sky",
       "dreadlocks",
       Dreadlocks("k", kBrown, 51),
       B::kSky,
       {},
       dark,
       Rgb8(240, 240, 240),
       11},
      {"dreadlocks_similar", "dreadlocks", Dreadlocks("l", kBlack, 52), B::kWoodGrain,
       Rgb8(52, 40, 34), dark, Rgb8(40, 100, 150), 12},
      {"short_crop_similar", "short", Crop("m", kDarkBrown, 53), B::kPlain, Rgb8(72, 48, 34), light,
       Rgb8(30, 40, 70), 13},
      {"short_buzz_brick", "short", Buzz("n", kBlack, 54), B::kBrick, Rgb8(150, 70, 50), medium,
       Rgb8(100, 100, 100), 14},
      {"short_sidepart_sky",
       "short",
       SidePart("o", kBlack, 55),
       B::kSky,
       {},
       light,
       Rgb8(20, 20, 24),
       15},
      {"bangs_grain_similar", "straight", Bangs("p", kBlonde, 56), B::kWoodGrain,
       Rgb8(190, 150, 95), light, Rgb8(120, 20, 40), 16},
  };
}

std::vector<Sitting> HeldOutSittings() {
  const std::vector<Sitting> base = PortraitSittings();
  std::vector<Sitting> out = base;
  const char* kBackdrops[] = {"plain", "sky", "foliage", "grain", "brick"};
  const size_t n = base.size();
  for (size_t i = 0; i < n; ++i) {
    Sitting& s = out[i];
    const Sitting& other = base[(i + 5) % n];
    s.backdrop = other.backdrop;
    s.backdrop_colour = i % 2 ? s.style.palette.base * 1.2f : other.backdrop_colour;
    s.skin = base[(i + 3) % n].skin;
    s.clothes = base[(i + 7) % n].clothes;
    s.seed += 100;
    s.style.seed += 100;
    s.name = s.kind + "_" + kBackdrops[static_cast<int>(s.backdrop)] + (i % 2 ? "_similar" : "");
  }
  return out;
}

}  // namespace coiffure::art
