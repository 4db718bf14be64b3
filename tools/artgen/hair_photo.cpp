#include "hair_photo.h"

#include <algorithm>
#include <cmath>

#include "hair.h"
#include "imaging/oklab.h"
#include "noise.h"
#include "raster.h"

namespace coiffure::art {

namespace {

Rgb ToLin(Bgr c) {
  return {ByteToLinear(c.r), ByteToLinear(c.g), ByteToLinear(c.b)};
}
float Luminance(Rgb c) {
  return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b;
}

// The style's strands at the drawing size: each hair pixel's luminance over the hair's mean,
// and the hard coverage.
struct Strands {
  std::vector<float> pattern;
  std::vector<uint8_t> hard;
  int w = 0, h = 0;
};

Strands StrandsOf(int style) {
  const HairPair pair = RenderAtDrawingSize(LibraryStyles().at(style));
  Strands s{{}, {}, pair.colour.Width(), pair.colour.Height()};
  double sum = 0, n = 0;
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      const bool on = pair.mask.PixelBgr(x, y) == Bgr{};
      const float Y = Luminance(ToLin(pair.colour.PixelBgr(x, y)));
      s.pattern.push_back(on ? Y : 0);
      s.hard.push_back(on);
      sum += on ? Y : 0, n += on;
    }
  for (float& v : s.pattern) v = static_cast<float>(v / (sum / n));
  return s;
}

// A box blur of the hard coverage: the edge a cut-out gives, a few pixels soft.
std::vector<float> SoftCoverage(const Strands& s, int ox, int oy, int W, int H) {
  std::vector<float> m(static_cast<size_t>(W) * H);
  constexpr int r = 2;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      int n = 0;
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          const int sx = x + dx - ox, sy = y + dy - oy;
          n += sx >= 0 && sy >= 0 && sx < s.w && sy < s.h && s.hard[sy * s.w + sx];
        }
      m[static_cast<size_t>(y) * W + x] = n / float((2 * r + 1) * (2 * r + 1));
    }
  return m;
}

// What lies under the hair: the wall, clothes, neck and face, lit from the upper left.
Rgb Under(const PhotoRecipe& rc, Vec2 p, float x01, float y01) {
  const Rgb skin = ToLin({150, 178, 222}), cloth = ToLin({70, 58, 52});
  const float face = FaceDistance(p);
  const bool neck = std::abs(p.x - 170) < 52 && p.y > 280 && p.y < 410;
  if (face < 0 || neck) {
    const float shade = neck ? 0.7f : 0.72f + 0.28f * std::min(1.0f, -face / 30);
    return skin * shade;
  }
  if (p.y > 400 && std::abs(p.x - 170) < 180) return cloth;
  const float mottle = 0.93f + 0.14f * Fbm(x01 * 6, y01 * 6, 11, 3);
  return ToLin(rc.wall) * (mottle * (1.1f - 0.25f * y01));
}

float Gauss(Rng& rng) {
  const float u = std::max(rng.Uniform(), 1e-7f), v = rng.Uniform();
  return std::sqrt(-2 * std::log(u)) * std::cos(6.2831853f * v);
}

uint8_t Encode(float linear, float noise, bool crushed) {
  float v = LinearToSrgb(std::clamp(linear, 0.0f, 1.0f)) * 255 + noise;
  if (crushed) v = (v - 14) * 255 / 241;
  return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

HairPhoto DrawHairPhoto(const PhotoRecipe& rc) {
  const Strands strands = StrandsOf(rc.style);
  const int W = rc.width, H = rc.height;
  const int ox = (W - strands.w) / 2, oy = (H - strands.h) / 2;
  const std::vector<float> cover = SoftCoverage(strands, ox, oy, W, H);
  const Rgb hair = ToLin(rc.hair);
  Rng rng(97);
  const float noise_sd = 1.2f + 2.5f * (1 - std::min(rc.exposure, 1.0f));
  HairPhoto t{Picture::Create24(W, H), std::vector<uint8_t>(static_cast<size_t>(W) * H)};
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const float x01 = x / float(W), y01 = y / float(H);
      const Vec2 p{x - ox + 0.5f, y - oy + 0.5f};
      const int sx = x - ox, sy = y - oy;
      const bool inside = sx >= 0 && sy >= 0 && sx < strands.w && sy < strands.h;
      const float pattern = inside && strands.hard[sy * strands.w + sx]
                                ? std::pow(strands.pattern[sy * strands.w + sx], 0.6f)
                                : 0.85f;
      const float a = cover[static_cast<size_t>(y) * W + x];
      const float light = rc.exposure * (1.12f - 0.3f * y01 + 0.12f * (0.5f - x01));
      // The sheen is the surface's reflection: brighter and less of the hair's own colour.
      const float sheen = std::max(0.0f, pattern - 1.4f) * 0.06f;
      Rgb c = Mix(Under(rc, p, x01, y01), hair * pattern + Rgb{sheen, sheen, sheen}, a) * light;
      uint8_t* o = t.photo.Row(y) + 3 * x;
      const float grain = noise_sd * Gauss(rng);  // luminance noise, as a camera's mostly is
      o[0] = Encode(c.b, grain, rc.crushed), o[1] = Encode(c.g, grain, rc.crushed);
      o[2] = Encode(c.r, grain, rc.crushed);
      t.matte[static_cast<size_t>(y) * W + x] = static_cast<uint8_t>(std::lround(255 * a));
    }
  return t;
}

const std::vector<PhotoRecipe>& PhotoRecipes() {
  static const std::vector<PhotoRecipe> recipes = {
      {"black hair, JPEG 85", {22, 22, 26}, 1.0f, false, {190, 196, 200}, 85, 2},
      {"black hair, dark photo, crushed blacks, JPEG 75",
       {20, 21, 26},
       0.55f,
       true,
       {120, 128, 134},
       75,
       0},
      {"black hair on a dark wall, JPEG 90", {24, 24, 28}, 0.9f, false, {30, 32, 36}, 90, 5},
      {"dark brown hair, JPEG 80", {30, 42, 62}, 1.0f, false, {200, 205, 210}, 80, 7},
      {"red hair, JPEG 85", {38, 70, 150}, 1.0f, false, {170, 180, 185}, 85, 3},
      {"light blonde hair, JPEG 85", {110, 170, 205}, 1.0f, false, {150, 140, 120}, 85, 9},
      {"grey hair, JPEG 90", {150, 152, 155}, 0.95f, false, {90, 80, 70}, 90, 11},
  };
  return recipes;
}

}  // namespace coiffure::art
