#include "hair_shapes.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace coiffure::art {

float Ellipse(Vec2 p, Vec2 c, float rx, float ry) {
  return -EllipseDistance(p, c, rx, ry);
}

float Box(Vec2 p, float x0, float y0, float x1, float y1, float r) {
  const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const float qx = std::abs(p.x - cx) - ((x1 - x0) / 2 - r);
  const float qy = std::abs(p.y - cy) - ((y1 - y0) / 2 - r);
  const float out = Length({std::max(qx, 0.f), std::max(qy, 0.f)});
  return -(out + std::min(std::max(qx, qy), 0.f) - r);
}

float SmoothUnion(float a, float b, float k) {
  const float h = Clamp01(0.5f + 0.5f * (a - b) / k);
  return b + (a - b) * h + k * h * (1 - h);
}

float Jag(Vec2 p, float amp, float scale, uint32_t seed) {
  return (Fbm(p.x / scale, p.y / scale, seed, 3) - 0.5f) * 2 * amp;
}

float FaceOpening(Vec2 p, float grow, uint32_t seed, float tilt, float arch) {
  // Only the forehead's edge moves; the cheeks and jaw keep their place.
  const float upper = 1 - SmoothStep(165, 205, p.y);
  const float dx = p.x - HeadFrame::kCx;
  const float lift = (tilt * dx + arch * std::max(0.f, 1 - std::abs(dx) / 75)) * upper;
  return -FaceDistance({p.x, p.y + lift}, grow) + Jag(p, 3, 6, seed + 31);
}

float NeckOpening(Vec2 p, float half) {
  const float cx = HeadFrame::kCx;
  // Widens towards the shoulders.
  const float w = half + std::max(0.f, p.y - 340) * 0.35f;
  return Box(p, cx - w, 250, cx + w, 500, 18);
}

float EarOpenings(Vec2 p) {
  return Union(Ellipse(p, {74, 218}, 22, 36), Ellipse(p, {266, 218}, 22, 36));
}

Vec2 FromParting(Vec2 p, Vec2 part, float fall_from, float fall_to) {
  const Vec2 spread = Normalize({p.x - part.x, std::abs(p.y - part.y) * 0.5f + 12});
  const float side = p.x < HeadFrame::kCx ? -1.f : 1.f;
  const Vec2 fall = Normalize({side * 0.1f, 1});
  return Normalize(Lerp(spread, fall, SmoothStep(fall_from, fall_to, p.y)));
}

Vec2 Waved(Vec2 dir, Vec2 p, float amount, float period) {
  // Each lock waves in its own phase, so the crests do not line up across the hair.
  const float phase = 9 * ValueNoise(p.x / 22, 0.5f, 77);
  const float s = std::sin(p.y / period * 6.2832f + phase);
  return Normalize({dir.x + amount * s, dir.y});
}

Vec2 Curls(Vec2 p, float scale, uint32_t seed) {
  const float a = 12.566f * ValueNoise(p.x / scale, p.y / scale, seed);
  return {std::cos(a), std::sin(a)};
}

Vec2 Lerp(Vec2 a, Vec2 b, float t) {
  return a * (1 - t) + b * t;
}

float Tube(Vec2 p, const std::vector<Vec2>& pts, float r0, float r1, Vec2* along) {
  float best = 1e9f, best_t = 0;
  Vec2 dir{0, 1};
  for (size_t i = 1; i < pts.size(); ++i) {
    const Vec2 a = pts[i - 1], ab = pts[i] - a, ap = p - a;
    const float l2 = ab.x * ab.x + ab.y * ab.y;
    const float t = l2 > 0 ? std::clamp((ap.x * ab.x + ap.y * ab.y) / l2, 0.f, 1.f) : 0.f;
    const float d = Length(p - (a + ab * t));
    if (d < best) {
      best = d;
      best_t = (i - 1 + t) / static_cast<float>(pts.size() - 1);
      dir = Normalize(ab);
    }
  }
  if (along) *along = dir;
  return r0 + (r1 - r0) * best_t - best;
}

Vec2 Around(Vec2 p, Vec2 c) {
  return Normalize({c.y - p.y, p.x - c.x});
}

}  // namespace coiffure::art
