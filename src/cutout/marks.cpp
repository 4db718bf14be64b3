#include "cutout/marks.h"

#include <algorithm>
#include <cmath>

namespace coiffure::cutout {

Marks Marks::Create(int width, int height) {
  Marks m;
  m.width = std::max(width, 0);
  m.height = std::max(height, 0);
  m.labels.assign(static_cast<size_t>(m.width) * m.height, Mark::kUndecided);
  return m;
}

void SetBox(Marks& marks, Box box) {
  box.x0 = std::clamp(box.x0, 0, marks.width);
  box.x1 = std::clamp(box.x1, box.x0, marks.width);
  box.y0 = std::clamp(box.y0, 0, marks.height);
  box.y1 = std::clamp(box.y1, box.y0, marks.height);
  for (int y = 0; y < marks.height; ++y) {
    Mark* row = marks.labels.data() + static_cast<size_t>(y) * marks.width;
    const bool in_rows = y >= box.y0 && y < box.y1;
    for (int x = 0; x < marks.width; ++x) {
      const bool inside = in_rows && x >= box.x0 && x < box.x1;
      if (!inside)
        row[x] = Mark::kOutside;
      else if (row[x] == Mark::kOutside)
        row[x] = Mark::kUndecided;
    }
  }
}

namespace {

// Pixels whose centre lies within radius of the segment a-b.
void PaintCapsule(Marks& marks, Point a, Point b, float radius, Mark kind) {
  const float r = std::max(radius, 0.5f);
  // Bounds clipped as floats: a far point or a huge brush must not overflow an int.
  auto clip = [](float v, int hi) { return static_cast<int>(std::clamp(v, -1.f, float(hi))); };
  const int x0 = std::max(0, clip(std::floor(std::min(a.x, b.x) - r), marks.width));
  const int x1 = std::min(marks.width - 1, clip(std::ceil(std::max(a.x, b.x) + r), marks.width));
  const int y0 = std::max(0, clip(std::floor(std::min(a.y, b.y) - r), marks.height));
  const int y1 = std::min(marks.height - 1, clip(std::ceil(std::max(a.y, b.y) + r), marks.height));
  const float dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const float px = x + 0.5f - a.x, py = y + 0.5f - a.y;
      const float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.f, 1.f) : 0.f;
      const float ex = px - t * dx, ey = py - t * dy;
      if (ex * ex + ey * ey > r * r) continue;
      Mark& m = marks.labels[static_cast<size_t>(y) * marks.width + x];
      if (m != Mark::kOutside) m = kind;
    }
  }
}

}  // namespace

void PaintStroke(Marks& marks, std::span<const Point> points, float radius, Mark kind) {
  if (points.empty() || kind == Mark::kOutside) return;
  // A point a million pixels off is no stroke on a photo; it would only lose float precision.
  constexpr float kFar = 1e6f;
  auto near = [](float v) { return std::isfinite(v) && std::abs(v) < kFar; };
  if (!near(radius)) return;
  for (const Point& p : points)
    if (!near(p.x) || !near(p.y)) return;
  if (points.size() == 1) PaintCapsule(marks, points[0], points[0], radius, kind);
  for (size_t i = 1; i < points.size(); ++i)
    PaintCapsule(marks, points[i - 1], points[i], radius, kind);
}

Marks MarksOf(const Sketch& sketch, int width, int height) {
  Marks m = Marks::Create(width, height);
  if (sketch.box) SetBox(m, *sketch.box);
  for (const Stroke& s : sketch.strokes) PaintStroke(m, s.points, s.radius, s.kind);
  return m;
}

MarksFit FitMarks(int marks_width, int marks_height, int stored_width, int stored_height,
                  int upright_width, int upright_height) {
  if (marks_width == upright_width && marks_height == upright_height) return MarksFit::kUpright;
  if (marks_width == stored_width && marks_height == stored_height) return MarksFit::kStored;
  return MarksFit::kOtherSize;
}

MarksReading ReadMarks(const RgbaImage& picture, int photo_width, int photo_height) {
  MarksReading out;
  if (picture.width != photo_width || picture.height != photo_height ||
      picture.bgra.size() != static_cast<size_t>(picture.width) * picture.height * 4) {
    out.error = kMsgMarksOtherSize;
    return out;
  }
  Marks m = Marks::Create(photo_width, photo_height);
  bool any_hair = false;
  for (size_t i = 0; i < m.labels.size(); ++i) {
    const uint8_t* p = picture.bgra.data() + 4 * i;  // blue, green, red
    const uint32_t bgr = p[0] | (p[1] << 8) | (p[2] << 16);
    Mark& label = m.labels[i];
    if (bgr == 0xFF0000u) {
      label = Mark::kHair;
      any_hair = true;
    } else if (bgr == 0x0000FFu) {
      label = Mark::kNotHair;
    } else if (bgr == 0) {
      label = Mark::kOutside;
    }
  }
  if (!any_hair) {
    out.error = kMsgMarksNoHair;
    return out;
  }
  out.marks = std::move(m);
  return out;
}

}  // namespace coiffure::cutout
