#include "cutout/marks_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace coiffure::cutout {

namespace {

constexpr uint8_t kMagic[4] = {'C', 'S', 'K', '1'};
// A stroke's radius that paints exactly the pixels its points pass through along a row.
constexpr float kFinest = 0.5f;

void Put(std::vector<uint8_t>& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutFloat(std::vector<uint8_t>& out, float f) {
  Put(out, std::bit_cast<uint32_t>(f), 4);
}

struct Reader {
  std::span<const uint8_t> bytes;
  size_t at = 0;
  bool ok = true;

  uint64_t Fixed(int n) {
    if (bytes.size() - at < static_cast<size_t>(n)) return ok = false, 0;
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= static_cast<uint64_t>(bytes[at++]) << (8 * i);
    return v;
  }
  float Float() { return std::bit_cast<float>(static_cast<uint32_t>(Fixed(4))); }
  int32_t Int() { return static_cast<int32_t>(static_cast<uint32_t>(Fixed(4))); }
  size_t Left() const { return bytes.size() - at; }
};

}  // namespace

std::vector<uint8_t> EncodeSketch(const Sketch& sketch, uint64_t photo, int width, int height) {
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  Put(out, photo, 8);
  Put(out, static_cast<uint32_t>(width), 4);
  Put(out, static_cast<uint32_t>(height), 4);
  out.push_back(sketch.box.has_value());
  if (sketch.box)
    for (int v : {sketch.box->x0, sketch.box->y0, sketch.box->x1, sketch.box->y1})
      Put(out, static_cast<uint32_t>(v), 4);
  Put(out, sketch.strokes.size(), 4);
  for (const Stroke& s : sketch.strokes) {
    out.push_back(static_cast<uint8_t>(s.kind));
    PutFloat(out, s.radius);
    Put(out, s.points.size(), 4);
    for (const Point& p : s.points) PutFloat(out, p.x), PutFloat(out, p.y);
  }
  return out;
}

std::optional<Sketch> DecodeSketch(std::span<const uint8_t> bytes, uint64_t photo, int width,
                                   int height) {
  Reader in{bytes};
  for (const uint8_t m : kMagic)
    if (in.Fixed(1) != m) return {};
  if (in.Fixed(8) != photo || in.Fixed(4) != static_cast<uint32_t>(width) ||
      in.Fixed(4) != static_cast<uint32_t>(height) || !in.ok)
    return {};
  Sketch sketch;
  const uint64_t has_box = in.Fixed(1);
  if (has_box > 1) return {};
  if (has_box) {
    sketch.box = Box{in.Int(), in.Int(), in.Int(), in.Int()};
    const Box& b = *sketch.box;
    if (b.x0 < 0 || b.y0 < 0 || b.x0 >= b.x1 || b.y0 >= b.y1 || b.x1 > width || b.y1 > height)
      return {};
  }
  // A stroke may run past the photo's edge, as a drag does, but not without end: whatever
  // paints the marks goes over the points and the pixels within the radius.
  const float side = static_cast<float>(std::max(width, height));
  const auto within = [&](float v, float low, float high) {
    return std::isfinite(v) && v >= low && v <= high;
  };
  const uint64_t strokes = in.Fixed(4);
  // Each stroke takes at least 9 bytes: a count past what is left is damage, not a request.
  if (!in.ok || strokes > in.Left() / 9) return {};
  for (uint64_t i = 0; i < strokes && in.ok; ++i) {
    Stroke s;
    const uint64_t kind = in.Fixed(1);
    if (kind != static_cast<uint8_t>(Mark::kHair) && kind != static_cast<uint8_t>(Mark::kNotHair))
      return {};
    s.kind = static_cast<Mark>(kind);
    s.radius = in.Float();
    const uint64_t points = in.Fixed(4);
    if (!in.ok || points > in.Left() / 8 || !within(s.radius, 0, side)) return {};
    for (uint64_t k = 0; k < points; ++k) {
      const Point p{in.Float(), in.Float()};
      if (!within(p.x, -side, 2 * side) || !within(p.y, -side, 2 * side)) return {};
      s.points.push_back(p);
    }
    sketch.strokes.push_back(std::move(s));
  }
  if (!in.ok || in.Left() != 0) return {};
  return sketch;
}

Sketch SketchOf(const Marks& marks) {
  Sketch sketch;
  int x0 = marks.width, y0 = marks.height, x1 = 0, y1 = 0;
  for (int y = 0; y < marks.height; ++y)
    for (int x = 0; x < marks.width; ++x)
      if (marks.At(x, y) != Mark::kOutside)
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x + 1),
        y1 = std::max(y1, y + 1);
  if (x0 > 0 || y0 > 0 || x1 < marks.width || y1 < marks.height) sketch.box = Box{x0, y0, x1, y1};
  for (int y = 0; y < marks.height; ++y)
    for (int x = 0; x < marks.width;) {
      const Mark kind = marks.At(x, y);
      int end = x + 1;
      while (end < marks.width && marks.At(end, y) == kind) ++end;
      if (kind == Mark::kHair || kind == Mark::kNotHair)
        sketch.strokes.push_back({{{x + 0.5f, y + 0.5f}, {end - 0.5f, y + 0.5f}}, kFinest, kind});
      x = end;
    }
  return sketch;
}

}  // namespace coiffure::cutout
