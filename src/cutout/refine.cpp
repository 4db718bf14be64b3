#include "cutout/refine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace coiffure::cutout {
namespace {

constexpr int kReach = 2;  // cells each side whose colours describe the two sides locally
// Below this difference (OKLab) between the two sides' colours, the colours cannot tell the
// mix apart, and the boundary follows the cells' decision.
constexpr float kMinContrast = 0.03f, kFullContrast = 0.10f;

struct Sides {
  Oklab hair, back;
  float confidence = 0;
};

// The band: cells with a neighbour on the other side.
std::vector<uint8_t> Band(const Grid& g, const std::vector<uint8_t>& hair) {
  std::vector<uint8_t> band(g.Size(), 0);
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x) {
      const size_t c = static_cast<size_t>(y) * g.width + x;
      for (int dy = -1; dy <= 1 && !band[c]; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= g.width || ny >= g.height) continue;
          if (hair[static_cast<size_t>(ny) * g.width + nx] != hair[c]) band[c] = 1;
        }
    }
  return band;
}

Sides LocalSides(const Grid& g, const std::vector<uint8_t>& hair, int x, int y) {
  Oklab sum[2] = {};
  float n[2] = {0, 0};
  for (int dy = -kReach; dy <= kReach; ++dy)
    for (int dx = -kReach; dx <= kReach; ++dx) {
      const int nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= g.width || ny >= g.height) continue;
      const size_t c = static_cast<size_t>(ny) * g.width + nx;
      const int s = hair[c];
      sum[s] = {sum[s].L + g.lab[c].L, sum[s].a + g.lab[c].a, sum[s].b + g.lab[c].b};
      n[s] += 1;
    }
  Sides out;
  if (n[0] == 0 || n[1] == 0) return out;
  out.back = {sum[0].L / n[0], sum[0].a / n[0], sum[0].b / n[0]};
  out.hair = {sum[1].L / n[1], sum[1].a / n[1], sum[1].b / n[1]};
  const float contrast = DeltaE(out.hair, out.back);
  out.confidence = std::clamp((contrast - kMinContrast) / (kFullContrast - kMinContrast), 0.f, 1.f);
  return out;
}

// How far a colour lies from the background's towards the hair's, 0..1.
float Projection(const Sides& s, Oklab p) {
  const float fx = s.hair.L - s.back.L, fy = s.hair.a - s.back.a, fz = s.hair.b - s.back.b;
  const float px = p.L - s.back.L, py = p.a - s.back.a, pz = p.b - s.back.b;
  const float len2 = fx * fx + fy * fy + fz * fz;
  return std::clamp((px * fx + py * fy + pz * fz) / std::max(len2, 1e-9f), 0.f, 1.f);
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
        const float mix = Projection(s, BgrToOklab({p[0], p[1], p[2]}));
        a = s.confidence * mix + (1 - s.confidence) * prior;
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
