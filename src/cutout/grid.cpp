#include "cutout/grid.h"

#include <algorithm>
#include <cmath>

namespace coiffure::cutout {
namespace {

struct Plane {
  int width = 0, height = 0;
  std::vector<float> v;
  float& At(int x, int y) { return v[static_cast<size_t>(y) * width + x]; }
  float Get(int x, int y) const {
    x = std::clamp(x, 0, width - 1);
    y = std::clamp(y, 0, height - 1);
    return v[static_cast<size_t>(y) * width + x];
  }
};

// Box means of k x k photo pixels in linear light, then OKLab: the fine copy.
std::vector<Oklab> ReduceToFine(const RgbaImage& photo, int k, int fw, int fh) {
  std::vector<Oklab> fine(static_cast<size_t>(fw) * fh);
  std::vector<float> sums(static_cast<size_t>(fw) * 3);
  std::vector<int> counts(fw);
  for (int fy = 0; fy < fh; ++fy) {
    std::fill(sums.begin(), sums.end(), 0.f);
    std::fill(counts.begin(), counts.end(), 0);
    for (int y = fy * k; y < std::min(photo.height, (fy + 1) * k); ++y) {
      const uint8_t* p = photo.Pixel(0, y);
      for (int x = 0; x < photo.width; ++x, p += 4) {
        float* s = &sums[static_cast<size_t>(x / k) * 3];
        s[0] += ByteToLinear(p[2]);
        s[1] += ByteToLinear(p[1]);
        s[2] += ByteToLinear(p[0]);
        ++counts[x / k];
      }
    }
    for (int fx = 0; fx < fw; ++fx) {
      const float n = static_cast<float>(std::max(counts[fx], 1));
      const float* s = &sums[static_cast<size_t>(fx) * 3];
      fine[static_cast<size_t>(fy) * fw + fx] = LinearToOklab({s[0] / n, s[1] / n, s[2] / n});
    }
  }
  return fine;
}

// Per cell: mean colour, gradient energy and the structure tensor of the fine lightness.
struct CellSums {
  Plane jxx, jyy, jxy;
  Plane sx, sy, magnitude;  // signed gradient sums and the sum of magnitudes
};

CellSums MeasureCells(Grid& g, const std::vector<Oklab>& fine, int fw, int fh) {
  CellSums t;
  for (Plane* p : {&t.jxx, &t.jyy, &t.jxy, &t.sx, &t.sy, &t.magnitude}) {
    p->width = g.width;
    p->height = g.height;
    p->v.assign(g.Size(), 0.f);
  }
  g.lab.assign(g.Size(), Oklab{});
  g.energy.assign(g.Size(), 0.f);
  std::vector<int> count(g.Size(), 0);
  auto L = [&](int x, int y) {
    return fine[static_cast<size_t>(std::clamp(y, 0, fh - 1)) * fw + std::clamp(x, 0, fw - 1)].L;
  };
  for (int y = 0; y < fh; ++y)
    for (int x = 0; x < fw; ++x) {
      const size_t c = static_cast<size_t>(y / 2) * g.width + x / 2;
      const float gx = 0.5f * (L(x + 1, y) - L(x - 1, y));
      const float gy = 0.5f * (L(x, y + 1) - L(x, y - 1));
      const Oklab& f = fine[static_cast<size_t>(y) * fw + x];
      g.lab[c].L += f.L;
      g.lab[c].a += f.a;
      g.lab[c].b += f.b;
      g.energy[c] += std::abs(gx) + std::abs(gy);
      t.jxx.v[c] += gx * gx;
      t.jyy.v[c] += gy * gy;
      t.jxy.v[c] += gx * gy;
      t.sx.v[c] += gx;
      t.sy.v[c] += gy;
      t.magnitude.v[c] += std::sqrt(gx * gx + gy * gy);
      ++count[c];
    }
  for (size_t c = 0; c < g.Size(); ++c) {
    const float n = static_cast<float>(std::max(count[c], 1));
    g.lab[c] = {g.lab[c].L / n, g.lab[c].a / n, g.lab[c].b / n};
    g.energy[c] = std::log(0.002f + g.energy[c] / n);
  }
  return t;
}

// Mean over (2r + 1)^2 cells, separably.
Plane Blur(const Plane& in, int r) {
  Plane tmp = in, out = in;
  const float n = 2.f * r + 1;
  for (int y = 0; y < in.height; ++y)
    for (int x = 0; x < in.width; ++x) {
      float s = 0;
      for (int k = -r; k <= r; ++k) s += in.Get(x + k, y);
      tmp.At(x, y) = s / n;
    }
  for (int y = 0; y < in.height; ++y)
    for (int x = 0; x < in.width; ++x) {
      float s = 0;
      for (int k = -r; k <= r; ++k) s += tmp.Get(x, y + k);
      out.At(x, y) = s / n;
    }
  return out;
}

// Where 2% and 98% of the values lie, so a few outliers do not waste the bins.
std::pair<float, float> Spread(std::vector<float> v) {
  if (v.empty()) return {0.f, 1.f};
  const size_t lo = v.size() / 50, hi = v.size() - 1 - v.size() / 50;
  std::nth_element(v.begin(), v.begin() + lo, v.end());
  const float a = v[lo];
  std::nth_element(v.begin(), v.begin() + hi, v.end());
  const float b = v[hi];
  return {a, std::max(b, a + 1e-3f)};
}

int Bin(float v, std::pair<float, float> range, int bins) {
  const float t = (v - range.first) / (range.second - range.first);
  return std::clamp(static_cast<int>(t * bins), 0, bins - 1);
}

void AssignBins(Grid& g, const CellSums& t) {
  const Plane xx = Blur(t.jxx, 1), yy = Blur(t.jyy, 1), xy = Blur(t.jxy, 1);
  const Plane wide = Blur(Plane{g.width, g.height, g.energy}, 3);
  const Plane sx = Blur(t.sx, 1), sy = Blur(t.sy, 1), mag = Blur(t.magnitude, 1);
  std::vector<float> chan[4];
  for (const Oklab& c : g.lab) {
    chan[0].push_back(c.L);
    chan[1].push_back(c.a);
    chan[2].push_back(c.b);
  }
  const auto rl = Spread(chan[0]), ra = Spread(chan[1]), rb = Spread(chan[2]);
  const auto re = Spread(g.energy), rw = Spread(wide.v);
  constexpr int n = kColourBinsPerAxis;
  g.colour_bin.resize(g.Size());
  g.texture_bin.resize(g.Size());
  for (size_t c = 0; c < g.Size(); ++c) {
    const Oklab& v = g.lab[c];
    g.colour_bin[c] =
        static_cast<uint16_t>((Bin(v.L, rl, n) * n + Bin(v.a, ra, n)) * n + Bin(v.b, rb, n));
    const float d = xx.v[c] - yy.v[c], tr = xx.v[c] + yy.v[c];
    const float coherence = std::sqrt(d * d + 4 * xy.v[c] * xy.v[c]) / (tr + 1e-6f);
    // One edge between two plain regions has gradients that all point the same way; strands
    // alternate dark and light, so theirs cancel out.
    const float swing = 1 - std::hypot(sx.v[c], sy.v[c]) / (mag.v[c] + 1e-6f);
    const int energy = (Bin(g.energy[c], re, kEnergyBins) * kWideEnergyBins +
                        Bin(wide.v[c], rw, kWideEnergyBins)) *
                           kSwingBins +
                       Bin(swing, {0.f, 1.f}, kSwingBins);
    g.texture_bin[c] =
        static_cast<uint8_t>(energy * kCoherenceBins + Bin(coherence, {0.f, 1.f}, kCoherenceBins));
  }
}

constexpr float kStepCost = 0.01f;  // per cell, so distance grows even across flat colour
constexpr float kSmoothness = 1.2f;

void Smooth(Grid& g) {
  g.smooth.resize(g.Size());
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x) {
      Oklab s{};
      int n = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int xx = x + dx, yy = y + dy;
          if (xx < 0 || yy < 0 || xx >= g.width || yy >= g.height) continue;
          const Oklab& c = g.lab[static_cast<size_t>(yy) * g.width + xx];
          s = {s.L + c.L, s.a + c.a, s.b + c.b};
          ++n;
        }
      g.smooth[static_cast<size_t>(y) * g.width + x] = {s.L / n, s.a / n, s.b / n};
    }
}

// A step costs a little for its length and more for the change of smoothed colour and of
// texture it crosses.
void StepCosts(Grid& g) {
  const float len[4] = {1, 1.414f, 1, 1.414f};
  for (int k = 0; k < 4; ++k) {
    g.step[k].assign(g.Size(), 1e9f);
    for (int y = 0; y < g.height; ++y)
      for (int x = 0; x < g.width; ++x) {
        const int nx = x + kStepDx[k], ny = y + kStepDy[k];
        if (nx < 0 || ny < 0 || nx >= g.width) continue;
        const size_t c = static_cast<size_t>(y) * g.width + x;
        const size_t n = static_cast<size_t>(ny) * g.width + nx;
        g.step[k][c] = len[k] * kStepCost + DeltaE(g.smooth[c], g.smooth[n]) +
                       0.05f * std::abs(g.energy[c] - g.energy[n]);
      }
  }
}

// GrabCut's contrast: neighbours whose colours differ more than usual in this photo are
// bound loosely.
void Links(Grid& g) {
  double sum = 0;
  size_t pairs = 0;
  for (size_t c = 0; c + 1 < g.Size(); ++c) {
    const float d = DeltaE(g.lab[c], g.lab[c + 1]);
    sum += d * d;
    ++pairs;
  }
  const float beta =
      static_cast<float>(1.0 / (2.0 * std::max(sum / std::max<size_t>(pairs, 1), 1e-6)));
  g.link_right.assign(g.Size(), 0.f);
  g.link_down.assign(g.Size(), 0.f);
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x) {
      const size_t c = static_cast<size_t>(y) * g.width + x;
      auto weight = [&](size_t n) {
        const float d = DeltaE(g.lab[c], g.lab[n]);
        return kSmoothness * std::exp(-beta * d * d);
      };
      if (x + 1 < g.width) g.link_right[c] = weight(c + 1);
      if (y + 1 < g.height) g.link_down[c] = weight(c + g.width);
    }
}

}  // namespace

Grid BuildGrid(const RgbaImage& photo) {
  Grid g;
  if (photo.width <= 0 || photo.height <= 0) return g;
  int k = 1;
  while (int64_t{photo.width} * photo.height > kFinePixels * k * k) ++k;
  const int fw = (photo.width + k - 1) / k, fh = (photo.height + k - 1) / k;
  g.scale = 2 * k;
  g.width = (fw + 1) / 2;
  g.height = (fh + 1) / 2;
  const std::vector<Oklab> fine = ReduceToFine(photo, k, fw, fh);
  const CellSums t = MeasureCells(g, fine, fw, fh);
  AssignBins(g, t);
  Smooth(g);
  StepCosts(g);
  Links(g);
  return g;
}

}  // namespace coiffure::cutout
