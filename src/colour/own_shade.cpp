#include "colour/own_shade.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "imaging/oklab.h"

namespace coiffure {

namespace {

// How far (in pixels) a strand's colour is looked for from the edge inwards; a strand that
// reaches further from the hair takes the hair's mean colour.
constexpr int kStrandReach = 12;

// The lightness of the hair as cut follows the photo's at least this closely (the rule's 0.9,
// with room for another's measuring of it). The edge's pixels are part background, which keeps
// its own lightness, so a light shade on dark hair can pull the whole below it: the curve is
// then straightened, as little as will do, up to kStraightest, where that is enough.
constexpr double kHeldCorrelation = 0.91;
constexpr float kStraightest = 0.99f, kStraightening = 0.01f;
// A straighter curve that lands further than this from the shade's mean is not taken.
constexpr float kStraightReach = 0.015f;
// From half the pixel on, a strand counts as hair in the correlation, as the cut-out's does.
constexpr uint8_t kHalf = 128;

struct Linear {
  float c[3] = {0, 0, 0};
  float n = 0;  // 0: not known yet
};

Linear LinearOf(const uint8_t* bgr) {
  return {{ByteToLinear(bgr[0]), ByteToLinear(bgr[1]), ByteToLinear(bgr[2])}, 1};
}

uint16_t LevelOfLinear(const float* c) {
  const uint8_t bgr[3] = {LinearToByte(c[0]), LinearToByte(c[1]), LinearToByte(c[2])};
  return static_cast<uint16_t>(LevelOf(bgr));
}

}  // namespace

OwnHair::OwnHair(const Picture& photo, std::span<const uint8_t> matte) : photo_(photo) {
  photo_.ConvertTo24();
  const size_t pixels = static_cast<size_t>(photo_.Width()) * photo_.Height();
  if (matte.size() != pixels) throw std::invalid_argument("matte and photo differ in size");
  matte_.assign(matte.begin(), matte.end());
  levels_.assign(pixels, 0);
  std::array<uint64_t, kCodes> weights{};
  level_pixels_.assign(kHairLevels, 0);
  level_lightness_.assign(kHairLevels, 0);
  const auto count = [&](double lightness) {
    lightness_sum_ += lightness, lightness_squares_ += lightness * lightness, counted_ += 1;
  };
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < Width(); ++x) {
      const size_t i = static_cast<size_t>(y) * Width() + x;
      if (matte_[i] != 255) continue;
      const uint8_t* p = photo_.Row(y) + 3 * x;
      levels_[i] = static_cast<uint16_t>(LevelOf(p));
      weights[levels_[i] >> 2] += 255;
      const float lightness = BgrToOklab({p[0], p[1], p[2]}).L;
      ++level_pixels_[levels_[i]], level_lightness_[levels_[i]] += lightness;
      count(lightness);
    }
  FindStrands();
  for (const Edge& e : edges_) {
    weights[e.level >> 2] += matte_[e.pixel];
    if (e.lightness >= 0) count(e.lightness);
  }
  for (int code = 0; code < kCodes; ++code) {
    weights_[code] = static_cast<double>(weights[code]);
    has_hair_ = has_hair_ || weights[code] > 0;
  }
}

// The strand of an edge pixel is mixed with what lies behind it; its own colour is the
// hair's just inside, spread outwards ring by ring, each pixel the mean of its known
// neighbours.
void OwnHair::FindStrands() {
  const int w = Width(), h = Height();
  std::vector<Linear> known(matte_.size());
  Linear mean;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const size_t i = static_cast<size_t>(y) * w + x;
      if (matte_[i] != 255) continue;
      known[i] = LinearOf(photo_.Row(y) + 3 * x);
      for (int c = 0; c < 3; ++c) mean.c[c] += known[i].c[c];
      mean.n += 1;
    }
  for (int ring = 0; ring < kStrandReach; ++ring) {
    std::vector<Linear> next = known;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const size_t i = static_cast<size_t>(y) * w + x;
        if (known[i].n > 0 || matte_[i] == 0) continue;
        Linear sum;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
            const Linear& k = known[static_cast<size_t>(ny) * w + nx];
            if (k.n == 0) continue;
            for (int c = 0; c < 3; ++c) sum.c[c] += k.c[c];
            sum.n += 1;
          }
        if (sum.n > 0) {
          for (float& c : sum.c) c /= sum.n;
          next[i] = {{sum.c[0], sum.c[1], sum.c[2]}, 1};
        }
      }
    known.swap(next);
  }
  if (mean.n > 0)
    for (float& c : mean.c) c /= mean.n;
  for (size_t i = 0; i < matte_.size(); ++i) {
    if (matte_[i] == 0 || matte_[i] == 255) continue;
    const Linear& strand = known[i].n > 0 ? known[i] : mean;
    const uint8_t* p = photo_.Row(static_cast<int>(i / w)) + 3 * (i % w);
    const float lightness = matte_[i] >= kHalf ? BgrToOklab({p[0], p[1], p[2]}).L : -1;
    Edge e{i, {strand.c[0], strand.c[1], strand.c[2]}, 0, lightness};
    e.level = LevelOfLinear(e.strand);
    edges_.push_back(e);
  }
}

Bgr OwnHair::EdgeColour(const Edge& e, const LevelColours& colours) const {
  const uint32_t c = colours[e.level];
  const float share = matte_[e.pixel] / 255.0f;
  const uint8_t* from = photo_.Row(static_cast<int>(e.pixel / Width())) + 3 * (e.pixel % Width());
  uint8_t to[3];
  // What lies behind the strand, as the pixel and the strand's colour tell it; kept within
  // what light can be, so that a strand found lighter or darker than it is clips nothing.
  for (int ch = 0; ch < 3; ++ch) {
    const float behind =
        std::clamp((ByteToLinear(from[ch]) - share * e.strand[ch]) / (1 - share), 0.0f, 1.0f);
    const float strand = ByteToLinear(static_cast<uint8_t>(c >> (8 * ch)));
    to[ch] = LinearToByte(share * strand + (1 - share) * behind);
  }
  return {to[0], to[1], to[2]};
}

double OwnHair::LightnessCorrelation(const LevelColours& colours) const {
  double sum = 0, squares = 0, cross = 0;
  for (int level = 0; level < kHairLevels; ++level) {
    if (level_pixels_[level] == 0) continue;
    const uint32_t c = colours[level];
    const double l = BgrToOklab({uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)}).L;
    sum += level_pixels_[level] * l, squares += level_pixels_[level] * l * l;
    cross += level_lightness_[level] * l;
  }
  for (const Edge& e : edges_) {
    if (e.lightness < 0) continue;
    const double l = BgrToOklab(EdgeColour(e, colours)).L;
    sum += l, squares += l * l, cross += e.lightness * l;
  }
  const double n = counted_;
  if (n < 2) return 1;
  const double source = lightness_squares_ / n - (lightness_sum_ / n) * (lightness_sum_ / n);
  const double result = squares / n - (sum / n) * (sum / n);
  if (source <= 1e-12 || result <= 1e-12) return 1;
  return (cross / n - lightness_sum_ / n * sum / n) / std::sqrt(source * result);
}

// The style's curve, unless the hair as cut then strays too far from the photo's lightness;
// nothing is given up where no straighter curve follows it closely enough (the edge alone then
// pulls it down), nor for one that misses the shade.
ShadeReach OwnHair::FitColours(Bgr shade, LevelColours& colours) const {
  const ShadeReach reach = ColoursOfLevels(weights_, shade, colours);
  if (LightnessCorrelation(colours) >= kHeldCorrelation) return reach;
  LevelColours tried;
  for (float floor = ShadeCurve::kLeastCorrelation + kStraightening;
       floor <= kStraightest + kStraightening / 2; floor += kStraightening) {
    const ShadeReach r = ColoursOfLevels(weights_, shade, tried, floor);
    if (DeltaE(BgrToOklab(r.reached), BgrToOklab(shade)) > kStraightReach) break;
    if (LightnessCorrelation(tried) < kHeldCorrelation) continue;
    colours = tried;
    return r;
  }
  return reach;
}

ShadeReach OwnHair::Recolour(Bgr shade, Picture& out) const {
  if (out.Width() != Width() || out.Height() != Height() || out.BitsPerPixel() != 24)
    out = Picture::Create24(Width(), Height());
  LevelColours colours;
  const ShadeReach reach = FitColours(shade, colours);
  for (int y = 0; y < Height(); ++y) {
    uint8_t* to = out.Row(y);
    std::memcpy(to, photo_.Row(y), 3 * static_cast<size_t>(Width()));
    const size_t first = static_cast<size_t>(y) * Width();
    for (int x = 0; x < Width(); ++x) {
      if (matte_[first + x] != 255) continue;
      const uint32_t c = colours[levels_[first + x]];
      to[3 * x] = static_cast<uint8_t>(c), to[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      to[3 * x + 2] = static_cast<uint8_t>(c >> 16);
    }
  }
  for (const Edge& e : edges_) {
    const Bgr c = EdgeColour(e, colours);
    uint8_t* to = out.Row(static_cast<int>(e.pixel / Width())) + 3 * (e.pixel % Width());
    to[0] = c.b, to[1] = c.g, to[2] = c.r;
  }
  return reach;
}

}  // namespace coiffure
