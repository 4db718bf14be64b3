#include "hair.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace coiffure::art {
namespace {

constexpr int W = kHairWidth, H = kHairHeight;

struct Grid {
  std::vector<float> v = std::vector<float>(static_cast<size_t>(W) * H, 0.f);
  float& operator()(int x, int y) { return v[static_cast<size_t>(y) * W + x]; }
  float At(int x, int y) const {
    return v[static_cast<size_t>(std::clamp(y, 0, H - 1)) * W + std::clamp(x, 0, W - 1)];
  }
};

// Everything the passes share about one style.
struct Work {
  const HairStyle& style;
  Grid shape, dist, height, tex, lock;
  std::vector<Vec2> flow = std::vector<Vec2>(static_cast<size_t>(W) * H);
  std::vector<uint8_t> hair = std::vector<uint8_t>(static_cast<size_t>(W) * H, 0);
  std::vector<uint8_t> tip = std::vector<uint8_t>(static_cast<size_t>(W) * H, 0);
  bool Hair(int x, int y) const {
    return x >= 0 && y >= 0 && x < W && y < H && hair[static_cast<size_t>(y) * W + x];
  }
  Vec2 Flow(float x, float y) const {
    const int ix = std::clamp(static_cast<int>(x), 0, W - 1);
    const int iy = std::clamp(static_cast<int>(y), 0, H - 1);
    return flow[static_cast<size_t>(iy) * W + ix];
  }
};

void EvaluateStyle(Work& w) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const Vec2 p{x + 0.5f, y + 0.5f};
      const float s = w.style.shape(p);
      w.shape(x, y) = s;
      w.hair[static_cast<size_t>(y) * W + x] = s > 0;
      w.flow[static_cast<size_t>(y) * W + x] = Normalize(w.style.flow(p));
    }
}

// Chamfer distance (3-4 weights) from each hair pixel to the nearest pixel off the hair.
void DistanceInside(Work& w) {
  Grid& d = w.dist;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) d(x, y) = w.Hair(x, y) ? 1e6f : 0.f;
  auto relax = [&](int x, int y, int dx, int dy, float c) {
    const int nx = x + dx, ny = y + dy;
    const float nd = (nx < 0 || ny < 0 || nx >= W || ny >= H) ? 0.f : d(nx, ny);
    d(x, y) = std::min(d(x, y), nd + c);
  };
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      relax(x, y, -1, 0, 1), relax(x, y, 0, -1, 1);
      relax(x, y, -1, -1, 1.4142f), relax(x, y, 1, -1, 1.4142f);
    }
  for (int y = H - 1; y >= 0; --y)
    for (int x = W - 1; x >= 0; --x) {
      relax(x, y, 1, 0, 1), relax(x, y, 0, 1, 1);
      relax(x, y, 1, 1, 1.4142f), relax(x, y, -1, 1, 1.4142f);
    }
}

void BoxBlur(Grid& g, int r) {
  Grid tmp;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      float s = 0;
      for (int k = -r; k <= r; ++k) s += g.At(x + k, y);
      tmp(x, y) = s / (2 * r + 1);
    }
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      float s = 0;
      for (int k = -r; k <= r; ++k) s += tmp.At(x, y + k);
      g(x, y) = s / (2 * r + 1);
    }
}

// A rounded profile over the outline: hair masses read as volumes, not flat cut-outs.
void HeightField(Work& w) {
  constexpr float kR = 42;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const float t = std::min(w.dist(x, y) / kR, 1.f);
      w.height(x, y) = kR * std::sqrt(1 - (1 - t) * (1 - t));
    }
  BoxBlur(w.height, 3);
  BoxBlur(w.height, 3);
}

// Line integral convolution of noise along the strand direction: streaks that follow the hair.
void StrandTexture(Work& w) {
  const HairStyle& s = w.style;
  Grid fine, coarse;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      fine(x, y) = Hash2(static_cast<int>(x / s.grain), static_cast<int>(y / s.grain), s.seed);
      coarse(x, y) = ValueNoise(x / (5 * s.grain), y / (5 * s.grain), s.seed + 7);
    }
  const int steps = std::max(2, static_cast<int>(s.strand_length));
  const float reach = s.tip_length + 3;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (w.shape(x, y) < -reach) continue;
      float sf = fine(x, y), sc = coarse(x, y);
      for (float dir : {1.f, -1.f}) {
        Vec2 p{x + 0.5f, y + 0.5f};
        for (int i = 0; i < steps; ++i) {
          p = p + w.Flow(p.x, p.y) * dir;
          const int ix = static_cast<int>(p.x), iy = static_cast<int>(p.y);
          sf += fine.At(ix, iy);
          sc += coarse.At(ix, iy);
        }
      }
      w.tex(x, y) = sf / (2 * steps + 1);
      w.lock(x, y) = sc / (2 * steps + 1);
    }
  // Averaging flattens the noise; stretch it back to a fixed contrast.
  for (Grid* g : {&w.tex, &w.lock}) {
    double sum = 0, sq = 0;
    int n = 0;
    for (int i = 0; i < W * H; ++i)
      if (w.hair[i]) sum += g->v[i], sq += g->v[i] * g->v[i], ++n;
    const float mean = n ? sum / n : 0.5f;
    const float sd = n ? std::sqrt(std::max(1e-8, sq / n - mean * mean)) : 1.f;
    for (float& v : g->v) v = Clamp01(0.5f + (v - mean) / sd * 0.2f);
  }
}

struct Vec3 {
  float x, y, z;
};
Vec3 Norm3(Vec3 v) {
  const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / l, v.y / l, v.z / l};
}
float Dot3(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

float SegmentDist(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 ab = b - a, ap = p - a;
  const float l2 = ab.x * ab.x + ab.y * ab.y;
  const float t = l2 > 0 ? std::clamp((ap.x * ab.x + ap.y * ab.y) / l2, 0.f, 1.f) : 0.f;
  return Length(p - (a + ab * t));
}

// Darkening of the hair that lies under other hair or close to the skin.
float Occlusion(const Work& w, int x, int y) {
  const HairStyle& s = w.style;
  const Vec2 p{x + 0.5f, y + 0.5f};
  const float df = FaceDistance(p);
  float ao = df >= 0 ? 0.55f + 0.45f * SmoothStep(0, 24, df) : 0.8f + 0.2f * SmoothStep(0, 14, -df);
  // Over the forehead the hair lies on top; beside the cheeks it falls behind them.
  ao = 1 - (1 - ao) * (0.3f + 0.7f * SmoothStep(150, 200, p.y));
  // Behind the neck.
  ao *= 1 - 0.45f * SmoothStep(250, 330, p.y) *
                (1 - SmoothStep(55, 105, std::abs(p.x - HeadFrame::kCx)));
  ao *= 0.7f + 0.3f * SmoothStep(0, 7, w.dist.At(x, y));
  if (Length(s.part_b - s.part_a) > 0) {
    const float d = SegmentDist(p, s.part_a, s.part_b);
    ao *= (1 - 0.6f * std::exp(-d * d / 10)) * (1 - 0.25f * std::exp(-d * d / 250));
  }
  return ao;
}

Rgb ShadePixel(const Work& w, int x, int y) {
  const HairPalette& pal = w.style.palette;
  const float hx = (w.height.At(x + 1, y) - w.height.At(x - 1, y)) / 2;
  const float hy = (w.height.At(x, y + 1) - w.height.At(x, y - 1)) / 2;
  const Vec2 f = w.flow[static_cast<size_t>(y) * W + x];
  const Vec3 n = Norm3({-hx, -hy, 1});
  const Vec3 t = Norm3({f.x, f.y, f.x * hx + f.y * hy});
  const Vec3 light = Norm3({-0.35f, -0.7f, 0.62f});
  const Vec3 half = Norm3({light.x, light.y, light.z + 1});
  const float tex = w.tex.At(x, y), lock = w.lock.At(x, y);
  // Shifting the tangent along the normal per strand breaks the sheen into strands.
  auto sheen = [&](float shift, float power) {
    const Vec3 ts = Norm3({t.x + n.x * shift, t.y + n.y * shift, t.z + n.z * shift});
    const float th = Dot3(ts, half);
    return std::pow(std::sqrt(std::max(0.f, 1 - th * th)), power);
  };
  const float tl = Dot3(t, light);
  const float diffuse =
      0.3f + 0.35f * std::sqrt(std::max(0.f, 1 - tl * tl)) + 0.35f * std::max(0.f, Dot3(n, light));
  const float strands = 0.5f + 1.0f * tex;
  const float locks = 0.7f + 0.6f * lock;
  const float ao = Occlusion(w, x, y);
  const float s1 = sheen((tex - 0.5f) * 0.2f + (lock - 0.5f) * 0.25f + 0.1f, 70);
  const float s2 = sheen((lock - 0.5f) * 0.5f - 0.15f, 14);
  Rgb c = pal.base * (diffuse * strands * locks * ao);
  c = c + pal.gloss * (s1 * (0.2f + 0.8f * tex) * locks * ao * 0.55f);
  c = c + pal.light * (s2 * 0.22f * ao * strands);
  if (w.style.scalp > 0) {
    const Rgb skin = Rgb8(196, 150, 128) * (diffuse * ao);
    c = Mix(c, skin, w.style.scalp * Clamp01(1.2f - 1.6f * tex));
  }
  return c;
}

void Shade(Work& w, Canvas& c) {
  const float reach = w.style.tip_length + 3;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (w.shape(x, y) > -reach) c.At(x, y) = ShadePixel(w, x, y);
}

// Splats a point with bilinear weights onto hair pixels only.
void Splat(const Work& w, Canvas& c, Vec2 p, Rgb col, float a) {
  const float fx = p.x - 0.5f, fy = p.y - 0.5f;
  const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
  const float tx = fx - x0, ty = fy - y0;
  const float wt[4] = {(1 - tx) * (1 - ty), tx * (1 - ty), (1 - tx) * ty, tx * ty};
  for (int i = 0; i < 4; ++i) {
    const int x = x0 + (i & 1), y = y0 + (i >> 1);
    if (w.Hair(x, y)) c.Blend(x, y, col, a * wt[i]);
  }
}

// Single strands drawn over the texture give the eye individual hairs to follow.
void OverlayStrands(const Work& w, Canvas& c, Rng& rng) {
  std::vector<int> cells;
  for (int i = 0; i < W * H; ++i)
    if (w.hair[i]) cells.push_back(i);
  if (cells.empty()) return;
  const int count = static_cast<int>(cells.size() / 40);
  for (int k = 0; k < count; ++k) {
    const int i = cells[rng.Int(static_cast<int>(cells.size()))];
    Vec2 p{i % W + rng.Uniform(), i / W + rng.Uniform()};
    const bool bright = rng.Uniform() < 0.6f;
    const Rgb col = c.At(i % W, i / W) * (bright ? rng.Range(1.25f, 1.7f) : rng.Range(0.4f, 0.7f));
    const float len = rng.Range(8, 3 * w.style.strand_length + 20);
    const float a = rng.Range(0.1f, 0.22f);
    for (float s = 0; s < len; s += 0.5f) {
      if (!w.Hair(static_cast<int>(p.x), static_cast<int>(p.y))) break;
      Splat(w, c, p, col, a);
      p = p + w.Flow(p.x, p.y) * 0.5f;
    }
  }
}

// Coils seen from the front: the near half of each turn catches the light, the far half is
// in the shade of the curl itself.
void Ringlets(const Work& w, Canvas& c, Rng& rng) {
  const HairStyle& s = w.style;
  std::vector<int> cells;
  for (int i = 0; i < W * H; ++i)
    if (w.hair[i]) cells.push_back(i);
  const int count = static_cast<int>(s.ringlets * cells.size() / 1000);
  for (int k = 0; k < count && !cells.empty(); ++k) {
    const int i = cells[rng.Int(static_cast<int>(cells.size()))];
    Vec2 pos{i % W + 0.5f, i / W + 0.5f};
    const Rgb base = c.At(i % W, i / W);
    const float radius = s.ringlet_radius * rng.Range(0.7f, 1.3f);
    const float pitch = s.ringlet_pitch * rng.Range(0.8f, 1.25f);
    const float len = rng.Range(1.5f, 3.5f) * pitch;
    const float phase = rng.Range(0, 6.2832f);
    for (float t = 0; t < len; t += 0.25f) {
      const Vec2 dir = w.Flow(pos.x, pos.y);
      const Vec2 perp{-dir.y, dir.x};
      const float a = phase + t / pitch * 6.2832f;
      const float front = std::cos(a);
      // A helix seen slightly from above: the turns show as loops.
      const Vec2 p = pos + perp * (radius * std::sin(a)) + dir * (0.6f * radius * front);
      Rgb col = base * (0.4f + 0.8f * std::max(0.f, front));
      col = col + s.palette.gloss * (0.3f * std::pow(std::max(0.f, front), 8.f));
      for (float o : {-1.f, 0.f, 1.f})
        Splat(w, c, p + perp * (o * std::abs(std::cos(a))) + dir * (o * std::abs(std::sin(a))),
              col * (o == 0 ? 1.1f : 0.8f), 0.5f);
      pos = pos + dir * 0.25f;
    }
  }
}

Vec2 Outward(const Work& w, int x, int y) {
  return Normalize(
      {w.shape.At(x - 1, y) - w.shape.At(x + 1, y), w.shape.At(x, y - 1) - w.shape.At(x, y + 1)});
}

bool OnOutline(const Work& w, int x, int y) {
  return w.Hair(x, y) &&
         (!w.Hair(x - 1, y) || !w.Hair(x + 1, y) || !w.Hair(x, y - 1) || !w.Hair(x, y + 1));
}

void StampTip(Work& w, Canvas& c, Vec2 p, float r, Rgb col) {
  const int x0 = static_cast<int>(std::floor(p.x - r)), x1 = static_cast<int>(p.x + r);
  const int y0 = static_cast<int>(std::floor(p.y - r)), y1 = static_cast<int>(p.y + r);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      if (x < 0 || y < 0 || x >= W || y >= H) continue;
      const bool own = x == static_cast<int>(p.x) && y == static_cast<int>(p.y);
      const float dx = x + 0.5f - p.x, dy = y + 0.5f - p.y;
      if (!own && dx * dx + dy * dy > r * r) continue;
      const size_t i = static_cast<size_t>(y) * W + x;
      if (w.hair[i]) continue;
      if (!w.tip[i]) c.At(x, y) = col;
      w.tip[i] = 1;
    }
}

// Strand ends leave the outline where the hair runs out of it, so the edge reads as tips.
void Tips(Work& w, Canvas& c, Rng& rng) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (!OnOutline(w, x, y)) continue;
      const Vec2 f = w.flow[static_cast<size_t>(y) * W + x];
      const Vec2 out = Outward(w, x, y);
      const float exit = f.x * out.x + f.y * out.y;
      if (exit < 0.25f || rng.Uniform() > w.style.tip_density * exit) continue;
      const Rgb col = c.At(x, y) * rng.Range(0.85f, 1.25f);
      const float len = rng.Range(0.2f, 1.f) * w.style.tip_length;
      const float r0 = rng.Range(0.7f, 1.7f);
      Vec2 p{x + 0.5f, y + 0.5f};
      for (float s = 0; s < len; s += 0.5f) {
        StampTip(w, c, p, r0 * (1 - s / len) + 0.2f, col);
        p = p + w.Flow(p.x, p.y) * 0.5f;
      }
    }
}

// A few stray hairs off the outer outline, one pixel wide.
void Flyaways(Work& w, Canvas& c, Rng& rng) {
  std::vector<int> edge;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const Vec2 p{x + 0.5f, y + 0.5f};
      if (OnOutline(w, x, y) && FaceDistance(p) > 12) edge.push_back(y * W + x);
    }
  if (edge.empty()) return;
  const int count = static_cast<int>(w.style.flyaways * edge.size() / 45);
  for (int k = 0; k < count; ++k) {
    const int i = edge[rng.Int(static_cast<int>(edge.size()))];
    const int x = i % W, y = i / W;
    Vec2 dir = Normalize(w.flow[i] + Outward(w, x, y) * 0.7f);
    const float bend = rng.Range(-0.06f, 0.06f);
    const Rgb col = c.At(x, y) * rng.Range(1.0f, 1.4f);
    Vec2 p{x + 0.5f, y + 0.5f};
    const float len = rng.Range(8, 30);
    for (float s = 0; s < len; s += 0.7f) {
      StampTip(w, c, p, 0.3f, col);
      dir = Normalize({dir.x - dir.y * bend, dir.y + dir.x * bend});
      p = p + dir * 0.7f;
    }
  }
}

}  // namespace

float FaceDistance(Vec2 p, float grow) {
  using F = HeadFrame;
  return std::min(EllipseDistance(p, F::kBrow, F::kBrowRx + grow, F::kBrowRy + grow),
                  EllipseDistance(p, F::kJaw, F::kJawRx + grow, F::kJawRy + grow));
}

HairPair Enlarge(const HairPair& in, int width, int height) {
  const int sw = in.mask.Width(), sh = in.mask.Height();
  HairPair out{Picture::Create24(width, height), Picture::Create24(width, height, {255, 255, 255})};
  auto is_hair = [&](int x, int y) { return in.mask.Row(y)[3 * x] == 0; };
  for (int y = 0; y < height; ++y) {
    const float fy = std::clamp((y + 0.5f) * sh / height - 0.5f, 0.f, sh - 1.f);
    const int y0 = static_cast<int>(fy), y1 = std::min(y0 + 1, sh - 1);
    const float ty = fy - y0;
    for (int x = 0; x < width; ++x) {
      const float fx = std::clamp((x + 0.5f) * sw / width - 0.5f, 0.f, sw - 1.f);
      const int x0 = static_cast<int>(fx), x1 = std::min(x0 + 1, sw - 1);
      const float tx = fx - x0;
      if (!is_hair(static_cast<int>(fx + 0.5f), static_cast<int>(fy + 0.5f))) continue;
      const int xs[4] = {x0, x1, x0, x1}, ys[4] = {y0, y0, y1, y1};
      const float ws[4] = {(1 - tx) * (1 - ty), tx * (1 - ty), (1 - tx) * ty, tx * ty};
      float sum[3] = {0, 0, 0}, total = 0;
      for (int k = 0; k < 4; ++k) {
        if (!is_hair(xs[k], ys[k])) continue;
        const uint8_t* s = in.colour.Row(ys[k]) + 3 * xs[k];
        for (int c = 0; c < 3; ++c) sum[c] += ws[k] * s[c];
        total += ws[k];
      }
      uint8_t* m = out.mask.Row(y) + 3 * x;
      m[0] = m[1] = m[2] = 0;
      uint8_t* o = out.colour.Row(y) + 3 * x;
      for (int c = 0; c < 3; ++c)
        o[c] = static_cast<uint8_t>(total > 0 ? std::lround(sum[c] / total) : 0);
    }
  }
  return out;
}

HairPair RenderHair(const HairStyle& style) {
  return Enlarge(RenderAtDrawingSize(style), kHairFileWidth, kHairFileHeight);
}

HairPair RenderAtDrawingSize(const HairStyle& style) {
  Work w{style};
  EvaluateStyle(w);
  DistanceInside(w);
  HeightField(w);
  StrandTexture(w);
  Canvas c(W, H);
  Shade(w, c);
  Rng rng(style.seed * 7919ull + 17);
  OverlayStrands(w, c, rng);
  if (style.ringlets > 0) Ringlets(w, c, rng);
  Tips(w, c, rng);
  Flyaways(w, c, rng);
  HairPair out{Picture::Create24(W, H), Picture::Create24(W, H, {255, 255, 255})};
  const Picture shaded = c.ToPicture();
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const size_t i = static_cast<size_t>(y) * W + x;
      if (!w.hair[i] && !w.tip[i]) continue;
      uint8_t* m = out.mask.Row(y) + 3 * x;
      m[0] = m[1] = m[2] = 0;
      const uint8_t* s = shaded.Row(y) + 3 * x;
      uint8_t* o = out.colour.Row(y) + 3 * x;
      // Kept off pure white, which the gallery's thumbnails would show as holes.
      for (int k = 0; k < 3; ++k) o[k] = std::min<uint8_t>(s[k], 250);
    }
  return out;
}

}  // namespace coiffure::art
