#include "cutout/refine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace coiffure::cutout {
namespace {

constexpr int kReach = 6;  // how far to look for the colours of the two sides
constexpr int kOuterBand = 4;
// Sensor noise and JPEG ringing move a colour a little towards the other side: such small mixes
// are not strands.
constexpr float kNoiseMix = 0.1f;
// Below this difference (OKLab) between the two sides' colours, the colours cannot tell the
// mix apart, and the boundary follows the cells' decision.
constexpr float kMinContrast = 0.03f, kFullContrast = 0.10f;

// The two colours a pixel of the band mixes, in linear light, where light adds up.
struct Sides {
  LinearRgb hair, back;
  float confidence = 0;
};

// Cells with a cell of `side` within r of them (a square), by separable running counts.
std::vector<uint8_t> Near(const Grid& g, const std::vector<uint8_t>& hair, uint8_t side, int r) {
  const int w = g.width, h = g.height;
  std::vector<int> across(g.Size(), 0);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = hair.data() + static_cast<size_t>(y) * w;
    int count = 0;
    for (int x = 0; x < std::min(r, w); ++x) count += row[x] == side;
    for (int x = 0; x < w; ++x) {
      if (x + r < w) count += row[x + r] == side;
      if (x - r - 1 >= 0) count -= row[x - r - 1] == side;
      across[static_cast<size_t>(y) * w + x] = count;
    }
  }
  std::vector<uint8_t> out(g.Size(), 0);
  for (int x = 0; x < w; ++x) {
    int count = 0;
    for (int y = 0; y < std::min(r, h); ++y) count += across[static_cast<size_t>(y) * w + x];
    for (int y = 0; y < h; ++y) {
      if (y + r < h) count += across[static_cast<size_t>(y + r) * w + x];
      if (y - r - 1 >= 0) count -= across[static_cast<size_t>(y - r - 1) * w + x];
      out[static_cast<size_t>(y) * w + x] = count > 0;
    }
  }
  return out;
}

// The band: cells of the hair with a neighbour off it, and cells off the hair up to four cells
// from it, where loose strands reach out.
std::vector<uint8_t> Band(const Grid& g, const std::vector<uint8_t>& hair) {
  const std::vector<uint8_t> near_hair = Near(g, hair, 1, kOuterBand);
  const std::vector<uint8_t> near_back = Near(g, hair, 0, 1);
  std::vector<uint8_t> band(g.Size());
  for (size_t c = 0; c < g.Size(); ++c) band[c] = hair[c] ? near_back[c] : near_hair[c];
  return band;
}

// The mean colour of the nearest cells of one side: the smallest window holding a few of them,
// so that a face behind the hair does not tint the background's colour.
bool NearestSide(const Grid& g, const std::vector<uint8_t>& hair, int x, int y, uint8_t side,
                 Oklab& mean) {
  for (int r = 1; r <= kReach; ++r) {
    Oklab sum{};
    int n = 0;
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx) {
        const int nx = x + dx, ny = y + dy;
        if (nx < 0 || ny < 0 || nx >= g.width || ny >= g.height) continue;
        const size_t c = static_cast<size_t>(ny) * g.width + nx;
        if (hair[c] != side) continue;
        sum = {sum.L + g.lab[c].L, sum.a + g.lab[c].a, sum.b + g.lab[c].b};
        ++n;
      }
    if (n >= 3) {
      mean = {sum.L / n, sum.a / n, sum.b / n};
      return true;
    }
  }
  return false;
}

Sides LocalSides(const Grid& g, const std::vector<uint8_t>& hair, int x, int y) {
  Sides out;
  Oklab h, b;
  if (!NearestSide(g, hair, x, y, 1, h) || !NearestSide(g, hair, x, y, 0, b)) return out;
  out.hair = OklabToLinear(h);
  out.back = OklabToLinear(b);
  out.confidence =
      std::clamp((DeltaE(h, b) - kMinContrast) / (kFullContrast - kMinContrast), 0.f, 1.f);
  return out;
}

// How far a colour lies from the background's towards the hair's, 0..1.
// How much the pixel is believed: a colour far off the line between the two (skin next to the
// hair, a third object) is no mix of them, and the cells' decision stands there.
struct Mix {
  float alpha = 0, belief = 0;
};

Mix Projection(const Sides& s, LinearRgb p) {
  const float fx = s.hair.r - s.back.r, fy = s.hair.g - s.back.g, fz = s.hair.b - s.back.b;
  const float px = p.r - s.back.r, py = p.g - s.back.g, pz = p.b - s.back.b;
  const float len2 = std::max(fx * fx + fy * fy + fz * fz, 1e-9f);
  const float t = (px * fx + py * fy + pz * fz) / len2;
  const float off2 = std::max(0.f, (px * px + py * py + pz * pz) / len2 - t * t);
  const float beyond = std::max(-t, t - 1);
  const float belief =
      std::clamp(2 - 2 * std::sqrt(off2), 0.f, 1.f) * std::clamp(2 - 2.5f * beyond, 0.f, 1.f);
  const float a = std::clamp((t - kNoiseMix) / (1 - 2 * kNoiseMix), 0.f, 1.f);
  return {a, belief};
}

// The cells' decision at a photo pixel, bilinear between cell centres.
float CellValue(const Grid& g, const std::vector<uint8_t>& hair, float cx, float cy) {
  cx = std::clamp(cx, 0.f, g.width - 1.f);
  cy = std::clamp(cy, 0.f, g.height - 1.f);
  const int x0 = static_cast<int>(cx), y0 = static_cast<int>(cy);
  const int x1 = std::min(x0 + 1, g.width - 1), y1 = std::min(y0 + 1, g.height - 1);
  const float tx = cx - x0, ty = cy - y0;
  auto h = [&](int x, int y) {
    return static_cast<float>(hair[static_cast<size_t>(y) * g.width + x]);
  };
  return (h(x0, y0) * (1 - tx) + h(x1, y0) * tx) * (1 - ty) +
         (h(x0, y1) * (1 - tx) + h(x1, y1) * tx) * ty;
}

void RefineCell(const RgbaImage& photo, const Grid& g, const std::vector<uint8_t>& hair, int cx,
                int cy, std::vector<uint8_t>& alpha) {
  const Sides s = LocalSides(g, hair, cx, cy);
  const int x0 = cx * g.scale, x1 = std::min(photo.width, x0 + g.scale);
  const int y0 = cy * g.scale, y1 = std::min(photo.height, y0 + g.scale);
  const float inv = 1.f / g.scale;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const float prior = CellValue(g, hair, (x + 0.5f) * inv - 0.5f, (y + 0.5f) * inv - 0.5f);
      float a = prior;
      if (s.confidence > 0) {
        const uint8_t* p = photo.Pixel(x, y);
        const Mix m = Projection(s, {ByteToLinear(p[2]), ByteToLinear(p[1]), ByteToLinear(p[0])});
        const float w = s.confidence * m.belief;
        a = w * m.alpha + (1 - w) * prior;
      }
      alpha[static_cast<size_t>(y) * photo.width + x] = static_cast<uint8_t>(std::lround(a * 255));
    }
}

void FillCells(const RgbaImage& photo, const Grid& g, const std::vector<uint8_t>& hair,
               const std::vector<uint8_t>& band, std::vector<uint8_t>& alpha) {
  for (int y = 0; y < photo.height; ++y) {
    uint8_t* row = alpha.data() + static_cast<size_t>(y) * photo.width;
    const size_t base = static_cast<size_t>(y / g.scale) * g.width;
    for (int cx = 0; cx < g.width; ++cx) {
      if (band[base + cx]) continue;
      const int x0 = cx * g.scale, n = std::min(photo.width, x0 + g.scale) - x0;
      std::memset(row + x0, hair[base + cx] ? 255 : 0, n);
    }
  }
}

void EnforceMarks(const Marks& marks, std::vector<uint8_t>& alpha) {
  for (size_t i = 0; i < alpha.size(); ++i) {
    const Mark m = marks.labels[i];
    if (m == Mark::kHair)
      alpha[i] = std::max<uint8_t>(alpha[i], 128);
    else if (m != Mark::kUndecided)
      alpha[i] = 0;
  }
}

}  // namespace

void RefineMatte(const RgbaImage& photo, const Grid& g, const CellMatte& cells, const Marks& marks,
                 std::vector<uint8_t>& alpha) {
  alpha.assign(static_cast<size_t>(photo.width) * photo.height, 0);
  const std::vector<uint8_t> band = Band(g, cells.hair);
  FillCells(photo, g, cells.hair, band, alpha);
  for (int cy = 0; cy < g.height; ++cy)
    for (int cx = 0; cx < g.width; ++cx)
      if (band[static_cast<size_t>(cy) * g.width + cx])
        RefineCell(photo, g, cells.hair, cx, cy, alpha);
  EnforceMarks(marks, alpha);
}

}  // namespace coiffure::cutout
