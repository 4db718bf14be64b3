#include "raster.h"

#include <algorithm>
#include <cmath>

namespace coiffure::art {

float Length(Vec2 v) {
  return std::sqrt(v.x * v.x + v.y * v.y);
}

Vec2 Normalize(Vec2 v) {
  const float l = Length(v);
  return l > 1e-6f ? v * (1 / l) : Vec2{0, 1};
}

Rgb Mix(Rgb a, Rgb b, float t) {
  return a * (1 - t) + b * t;
}

float Clamp01(float v) {
  return std::clamp(v, 0.f, 1.f);
}

float SmoothStep(float e0, float e1, float x) {
  const float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

Canvas::Canvas(int w, int h, Rgb fill)
    : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill), cov_(static_cast<size_t>(w) * h, 0) {}

void Canvas::Blend(int x, int y, Rgb c, float a) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_ || a <= 0) return;
  a = std::min(a, 1.f);
  const size_t i = static_cast<size_t>(y) * w_ + x;
  px_[i] = Mix(px_[i], c, a);
  cov_[i] = cov_[i] + a * (1 - cov_[i]);
}

Picture Canvas::ToPicture() const {
  Picture p = Picture::Create24(w_, h_);
  auto byte = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255)); };
  for (int y = 0; y < h_; ++y) {
    uint8_t* row = p.Row(y);
    for (int x = 0; x < w_; ++x) {
      const Rgb& c = At(x, y);
      row[3 * x] = byte(c.b);
      row[3 * x + 1] = byte(c.g);
      row[3 * x + 2] = byte(c.r);
    }
  }
  return p;
}

namespace {

// Calls f(x, y, signed distance) over the bounding box grown by the soft edge.
template <class F>
void ForBox(Canvas& c, float x0, float y0, float x1, float y1, float grow, F f) {
  const int ix0 = std::max(0, static_cast<int>(std::floor(x0 - grow)));
  const int iy0 = std::max(0, static_cast<int>(std::floor(y0 - grow)));
  const int ix1 = std::min(c.Width() - 1, static_cast<int>(std::ceil(x1 + grow)));
  const int iy1 = std::min(c.Height() - 1, static_cast<int>(std::ceil(y1 + grow)));
  for (int y = iy0; y <= iy1; ++y)
    for (int x = ix0; x <= ix1; ++x) f(x, y, x + 0.5f, y + 0.5f);
}

float EdgeAlpha(float dist, float soft) {
  return Clamp01(0.5f - dist / soft);
}

float SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 ab = b - a, ap = p - a;
  const float len2 = ab.x * ab.x + ab.y * ab.y;
  const float t = len2 > 0 ? std::clamp((ap.x * ab.x + ap.y * ab.y) / len2, 0.f, 1.f) : 0.f;
  return Length(p - (a + ab * t));
}

}  // namespace

float EllipseDistance(Vec2 p, Vec2 o, float rx, float ry) {
  const float u = (p.x - o.x) / rx, v = (p.y - o.y) / ry;
  const float k = std::sqrt(u * u + v * v);
  if (k < 1e-4f) return -std::min(rx, ry);
  // First-order distance: the implicit value over its gradient's length.
  const float grad = std::sqrt(u * u / (rx * rx) + v * v / (ry * ry)) / k;
  return (k - 1) / grad;
}

void FillEllipse(Canvas& c, Vec2 o, float rx, float ry, Rgb col, float alpha, float soft) {
  ForBox(c, o.x - rx, o.y - ry, o.x + rx, o.y + ry, soft, [&](int x, int y, float px, float py) {
    c.Blend(x, y, col, alpha * EdgeAlpha(EllipseDistance({px, py}, o, rx, ry), soft));
  });
}

void FillRoundRect(Canvas& c, float x0, float y0, float x1, float y1, float r, Rgb col, float alpha,
                   float soft) {
  const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const float hx = (x1 - x0) / 2 - r, hy = (y1 - y0) / 2 - r;
  ForBox(c, x0, y0, x1, y1, soft, [&](int x, int y, float px, float py) {
    const float qx = std::abs(px - cx) - hx, qy = std::abs(py - cy) - hy;
    const float out = Length({std::max(qx, 0.f), std::max(qy, 0.f)});
    const float dist = out + std::min(std::max(qx, qy), 0.f) - r;
    c.Blend(x, y, col, alpha * EdgeAlpha(dist, soft));
  });
}

void FillPolygon(Canvas& c, const std::vector<Vec2>& pts, Rgb col, float alpha) {
  if (pts.size() < 3) return;
  float x0 = pts[0].x, x1 = x0, y0 = pts[0].y, y1 = y0;
  for (const Vec2& p : pts) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  }
  ForBox(c, x0, y0, x1, y1, 1, [&](int x, int y, float px, float py) {
    bool inside = false;
    float dmin = 1e9f;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const Vec2 a = pts[j], b = pts[i];
      if ((a.y > py) != (b.y > py) && px < a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y))
        inside = !inside;
      dmin = std::min(dmin, SegmentDistance({px, py}, a, b));
    }
    c.Blend(x, y, col, alpha * EdgeAlpha(inside ? -dmin : dmin, 1));
  });
}

void StrokeLine(Canvas& c, Vec2 a, Vec2 b, float width, Rgb col, float alpha) {
  const float r = width / 2;
  ForBox(c, std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
         std::max(a.y, b.y) + r, 1, [&](int x, int y, float px, float py) {
           const float dist = SegmentDistance({px, py}, a, b) - r;
           // Thin lines keep their weight by lowering opacity rather than vanishing.
           const float thin = std::min(1.f, width);
           c.Blend(x, y, col, alpha * thin * EdgeAlpha(dist, 1));
         });
}

void StrokePolyline(Canvas& c, const std::vector<Vec2>& pts, float width, Rgb col, float alpha) {
  // Coverage is the maximum over the segments, so joints are not drawn twice.
  if (pts.size() < 2) return;
  const float r = width / 2;
  float x0 = pts[0].x, x1 = x0, y0 = pts[0].y, y1 = y0;
  for (const Vec2& p : pts) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  }
  const int bx = static_cast<int>(std::floor(x0 - r)) - 2,
            by = static_cast<int>(std::floor(y0 - r)) - 2;
  const int bw = static_cast<int>(std::ceil(x1 + r)) + 3 - bx,
            bh = static_cast<int>(std::ceil(y1 + r)) + 3 - by;
  std::vector<float> cover(static_cast<size_t>(bw) * bh, 0.f);
  for (size_t i = 1; i < pts.size(); ++i) {
    const Vec2 a = pts[i - 1], b = pts[i];
    const int sx0 = static_cast<int>(std::floor(std::min(a.x, b.x) - r)) - 1;
    const int sy0 = static_cast<int>(std::floor(std::min(a.y, b.y) - r)) - 1;
    const int sx1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + r)) + 1;
    const int sy1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + r)) + 1;
    for (int y = sy0; y <= sy1; ++y)
      for (int x = sx0; x <= sx1; ++x) {
        const float cov = EdgeAlpha(SegmentDistance({x + 0.5f, y + 0.5f}, a, b) - r, 1);
        float& dst = cover[static_cast<size_t>(y - by) * bw + (x - bx)];
        dst = std::max(dst, cov);
      }
  }
  for (int y = 0; y < bh; ++y)
    for (int x = 0; x < bw; ++x) {
      const float cov = cover[static_cast<size_t>(y) * bw + x];
      if (cov > 0) c.Blend(bx + x, by + y, col, alpha * std::min(1.f, width) * cov);
    }
}

void StrokeArc(Canvas& c, Vec2 o, float r, float a0, float a1, float width, Rgb col, float alpha) {
  const int n = std::max(8, static_cast<int>(std::abs(a1 - a0) * r / 2));
  std::vector<Vec2> pts;
  for (int i = 0; i <= n; ++i) {
    const float a = a0 + (a1 - a0) * i / n;
    pts.push_back({o.x + r * std::cos(a), o.y + r * std::sin(a)});
  }
  StrokePolyline(c, pts, width, col, alpha);
}

void VerticalGradient(Canvas& c, Rgb top, Rgb bottom) {
  for (int y = 0; y < c.Height(); ++y) {
    const Rgb col = Mix(top, bottom, c.Height() > 1 ? y / float(c.Height() - 1) : 0);
    for (int x = 0; x < c.Width(); ++x) c.At(x, y) = col;
  }
}

std::vector<Vec2> Bezier(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, int n) {
  std::vector<Vec2> out;
  for (int i = 0; i <= n; ++i) {
    const float t = static_cast<float>(i) / n, u = 1 - t;
    out.push_back(p0 * (u * u * u) + p1 * (3 * u * u * t) + p2 * (3 * u * t * t) +
                  p3 * (t * t * t));
  }
  return out;
}

}  // namespace coiffure::art
