#include "native/colour/hair_quality.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "imaging/oklab.h"

namespace coiffure::test {

namespace {

bool NewlyClipped(Bgr src, Bgr out) {
  auto clipped = [](uint8_t o, uint8_t s) { return (o == 0 || o == 255) && o != s; };
  return clipped(out.b, src.b) || clipped(out.g, src.g) || clipped(out.r, src.r);
}

bool OneCodeApart(Bgr a, Bgr b) {
  return std::abs(a.b - b.b) <= 1 && std::abs(a.g - b.g) <= 1 && std::abs(a.r - b.r) <= 1;
}

double Percentile(std::vector<double> v, double p) {
  const size_t k = static_cast<size_t>(p * (v.size() - 1));
  std::nth_element(v.begin(), v.begin() + k, v.end());
  return v[k];
}

struct Steps {
  double edge = 0, inner = 0, n_edge = 0, n_inner = 0;
  void Add(double step, bool across_blocks) {
    (across_blocks ? edge : inner) += step;
    (across_blocks ? n_edge : n_inner) += 1;
  }
  double Ratio() const { return n_edge && inner ? (edge / n_edge) / (inner / n_inner) : 0; }
};

double BelowSpread(const std::vector<double>& v) {
  double mean = 0, sum = 0, n = 0;
  for (double x : v) mean += x;
  mean /= v.size();
  for (double x : v)
    if (x < mean) sum += (x - mean) * (x - mean), n += 1;
  return n ? std::sqrt(sum / n) : 0;
}

struct Pixels {
  std::vector<double> src_l, out_l;
};

// Steps to the right and down, where both pixels are measured.
void MeasureSteps(const Picture& source, const Picture& result, const std::vector<uint8_t>& region,
                  HairFigures& f) {
  Steps src, out;
  const int w = source.Width(), h = source.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!region[static_cast<size_t>(y) * w + x]) continue;
      for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{0, 1}}) {
        const int nx = x + dx, ny = y + dy;
        if (nx >= w || ny >= h || !region[static_cast<size_t>(ny) * w + nx]) continue;
        const bool across = dx ? nx % 8 == 0 : ny % 8 == 0;
        const Bgr s0 = source.PixelBgr(x, y), s1 = source.PixelBgr(nx, ny);
        const double step = std::abs(LStar(result.PixelBgr(x, y)) - LStar(result.PixelBgr(nx, ny)));
        src.Add(std::abs(LStar(s0) - LStar(s1)), across);
        out.Add(step, across);
        if (OneCodeApart(s0, s1)) f.max_step = std::max(f.max_step, step);
      }
    }
  f.blockiness = out.Ratio();
  f.source_blockiness = src.Ratio();
}

}  // namespace

double LStar(Bgr c) {
  const double Y =
      0.2126 * ByteToLinear(c.r) + 0.7152 * ByteToLinear(c.g) + 0.0722 * ByteToLinear(c.b);
  return Y > 216.0 / 24389 ? 116 * std::cbrt(Y) - 16 : Y * 24389 / 27;
}

HairFigures MeasureHair(const Picture& source, const Picture& result,
                        const std::vector<uint8_t>& region, Bgr shade) {
  HairFigures f;
  double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0, sL = 0, sa = 0, sb = 0, clipped = 0;
  Pixels px;
  const int w = source.Width();
  for (int y = 0; y < source.Height(); ++y)
    for (int x = 0; x < w; ++x) {
      if (!region[static_cast<size_t>(y) * w + x]) continue;
      const Bgr sc = source.PixelBgr(x, y), oc = result.PixelBgr(x, y);
      const Oklab s = BgrToOklab(sc), r = BgrToOklab(oc);
      n += 1, sx += s.L, sy += r.L, sxx += s.L * s.L, syy += r.L * r.L, sxy += s.L * r.L;
      sL += r.L, sa += r.a, sb += r.b;
      clipped += NewlyClipped(sc, oc);
      px.src_l.push_back(LStar(sc));
      px.out_l.push_back(LStar(oc));
    }
  f.pixels = static_cast<int64_t>(n);
  if (n == 0) return f;
  const Oklab want = BgrToOklab(shade);
  f.delta_e = std::hypot(sL / n - want.L, sa / n - want.a, sb / n - want.b);
  const double vx = sxx / n - sx * sx / n / n, vy = syy / n - sy * sy / n / n;
  f.r = vx > 0 && vy > 0 ? (sxy / n - sx * sy / n / n) / std::sqrt(vx * vy) : 0;
  f.clipped = clipped / n;
  const auto sd = [](const std::vector<double>& v) {
    double m = 0, q = 0;
    for (double x : v) m += x, q += x * x;
    m /= v.size();
    return std::sqrt(std::max(0.0, q / v.size() - m * m));
  };
  f.sd = sd(px.out_l), f.source_sd = sd(px.src_l);
  const double q_src = Percentile(px.src_l, 0.02), q_out = Percentile(px.out_l, 0.02);
  // The shadows' own gain: the spread below the mean kept, over the source's.
  const double gain = BelowSpread(px.out_l) / std::max(BelowSpread(px.src_l), 1e-9);
  for (size_t i = 0; i < px.src_l.size(); ++i)
    f.speck = std::max(f.speck, (q_out - px.out_l[i]) - gain * std::max(0.0, q_src - px.src_l[i]));
  MeasureSteps(source, result, region, f);
  return f;
}

std::vector<uint8_t> MaskRegion(const Picture& mask) {
  std::vector<uint8_t> region;
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x) region.push_back(mask.PixelBgr(x, y) == Bgr{});
  return region;
}

std::vector<uint8_t> MatteRegion(const std::vector<uint8_t>& matte, uint8_t from) {
  std::vector<uint8_t> region(matte.size());
  for (size_t i = 0; i < matte.size(); ++i) region[i] = matte[i] >= from;
  return region;
}

std::string FiguresRow(const HairFigures& f) {
  char line[200];
  std::snprintf(line, sizeof line,
                "dE %.3f | r %.3f | sd %5.1f (src %5.1f) | clip %.2f%% | step %5.1f | "
                "block %.2f (src %.2f) | speck %5.1f",
                f.delta_e, f.r, f.sd, f.source_sd, 100 * f.clipped, f.max_step, f.blockiness,
                f.source_blockiness, f.speck);
  return line;
}

}  // namespace coiffure::test
