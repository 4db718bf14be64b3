#include "desk/cutout/cutout_view.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "import/customer_photo.h"

namespace coiffure {

ViewRect FitPhoto(int photo_width, int photo_height, int area_width, int area_height) {
  if (area_width <= 0 || area_height <= 0) return {};
  const Size s = FitInside(photo_width, photo_height, area_width, area_height);
  return {(area_width - s.width) / 2, (area_height - s.height) / 2, s.width, s.height};
}

ViewMap::ViewMap(ViewRect rect, int photo_width, int photo_height)
    : rect_(rect), scale_(photo_width > 0 ? float(rect.width) / float(photo_width) : 1.f) {
  (void)photo_height;  // the fit keeps the proportions: one scale serves both sides
}

cutout::Point ViewMap::ToPhoto(int x, int y) const {
  return {(float(x - rect_.left) + 0.5f) / scale_, (float(y - rect_.top) + 0.5f) / scale_};
}

cutout::Sketch SketchOnView(const cutout::Sketch& sketch, const ViewMap& map) {
  const float s = map.Scale();
  cutout::Sketch out;
  if (sketch.box) {
    const auto at = [s](int v) { return static_cast<int>(std::lround(v * s)); };
    out.box =
        cutout::Box{at(sketch.box->x0), at(sketch.box->y0), at(sketch.box->x1), at(sketch.box->y1)};
  }
  for (const cutout::Stroke& stroke : sketch.strokes) {
    cutout::Stroke shown{{}, stroke.radius * s, stroke.kind};
    for (const cutout::Point& p : stroke.points) shown.points.push_back({p.x * s, p.y * s});
    out.strokes.push_back(std::move(shown));
  }
  return out;
}

std::vector<uint8_t> ResizePlane(std::span<const uint8_t> plane, int width, int height,
                                 int to_width, int to_height) {
  std::vector<uint8_t> out(static_cast<size_t>(std::max(to_width, 0)) * std::max(to_height, 0));
  if (out.empty() || plane.size() != static_cast<size_t>(width) * height || plane.empty())
    return out;
  // The source pixels each output pixel takes along one side, [first, end); at least the one
  // under its centre.
  const auto spans = [](int from, int to) {
    std::vector<std::pair<int, int>> span(static_cast<size_t>(to));
    for (int i = 0; i < to; ++i) {
      const int first = static_cast<int>(int64_t{i} * from / to);
      const int end = static_cast<int>(int64_t{i + 1} * from / to);
      const int centre = static_cast<int>((int64_t{2} * i + 1) * from / (int64_t{2} * to));
      span[i] = end > first ? std::pair{first, end} : std::pair{centre, centre + 1};
    }
    return span;
  };
  const auto xs = spans(width, to_width), ys = spans(height, to_height);
  std::vector<uint32_t> sums(static_cast<size_t>(to_width));
  for (int oy = 0; oy < to_height; ++oy) {
    std::fill(sums.begin(), sums.end(), 0);
    const auto [y0, y1] = ys[oy];
    for (int y = y0; y < y1; ++y) {
      const uint8_t* row = plane.data() + static_cast<size_t>(y) * width;
      for (int ox = 0; ox < to_width; ++ox)
        for (int x = xs[ox].first; x < xs[ox].second; ++x) sums[ox] += row[x];
    }
    for (int ox = 0; ox < to_width; ++ox) {
      const uint32_t n = static_cast<uint32_t>((xs[ox].second - xs[ox].first) * (y1 - y0));
      out[static_cast<size_t>(oy) * to_width + ox] = static_cast<uint8_t>((sums[ox] + n / 2) / n);
    }
  }
  return out;
}

namespace {

bool Usable(const ViewLayers& l, ViewRect r) {
  const size_t n = static_cast<size_t>(r.width) * r.height;
  return l.photo && l.photo->width == r.width && l.photo->height == r.height && l.marks &&
         l.marks->labels.size() == n && (!l.matte || l.matte->size() == n);
}

uint8_t Mix(int a, int b, int weight) {  // weight of b out of 256
  return static_cast<uint8_t>((a * (256 - weight) + b * weight) >> 8);
}

// Hair at >= 128 whose 4-neighbour is not, or not hair beside hair: both sides of the edge.
bool OnOutline(const std::vector<uint8_t>& m, int w, int h, int x, int y) {
  const bool hair = m[static_cast<size_t>(y) * w + x] >= 128;
  const auto differs = [&](int nx, int ny) {
    return nx >= 0 && ny >= 0 && nx < w && ny < h &&
           (m[static_cast<size_t>(ny) * w + nx] >= 128) != hair;
  };
  return differs(x - 1, y) || differs(x + 1, y) || differs(x, y - 1) || differs(x, y + 1);
}

}  // namespace

void ComposeMarksLook(const ViewLayers& layers, ViewRect rect, Frame& frame) {
  frame.Fill(kViewBackground);
  if (!Usable(layers, rect)) return;
  for (int y = 0; y < rect.height && y + rect.top < frame.height; ++y) {
    uint8_t* out = frame.Row(y + rect.top) + 3 * rect.left;
    for (int x = 0; x < rect.width && x + rect.left < frame.width; ++x, out += 3) {
      const size_t i = static_cast<size_t>(y) * rect.width + x;
      const cutout::Mark mark = layers.marks->labels[i];
      const int alpha = layers.matte                     ? (*layers.matte)[i]
                        : mark == cutout::Mark::kOutside ? 0
                                                         : 255;
      if (layers.matte && OnOutline(*layers.matte, rect.width, rect.height, x, y)) {
        out[0] = kOutlineColour.b, out[1] = kOutlineColour.g, out[2] = kOutlineColour.r;
        continue;
      }
      // Not hair keeps 30 % of its light: dark enough to tell, light enough to judge by.
      const int keep = 77 + 179 * alpha / 255;
      const uint8_t* p = layers.photo->Pixel(x, y);
      int c[3] = {p[0] * keep >> 8, p[1] * keep >> 8, p[2] * keep >> 8};
      if (mark == cutout::Mark::kHair)
        c[0] = Mix(c[0], 40, 120), c[1] = Mix(c[1], 40, 120), c[2] = Mix(c[2], 255, 120);
      if (mark == cutout::Mark::kNotHair)
        c[0] = Mix(c[0], 255, 120), c[1] = Mix(c[1], 110, 120), c[2] = Mix(c[2], 30, 120);
      out[0] = static_cast<uint8_t>(c[0]), out[1] = static_cast<uint8_t>(c[1]),
      out[2] = static_cast<uint8_t>(c[2]);
    }
  }
}

void ComposeChequerLook(const ViewLayers& layers, ViewRect rect, Frame& frame) {
  frame.Fill(kViewBackground);
  if (!Usable(layers, rect)) return;
  constexpr int kCell = 10;
  for (int y = 0; y < rect.height && y + rect.top < frame.height; ++y) {
    uint8_t* out = frame.Row(y + rect.top) + 3 * rect.left;
    for (int x = 0; x < rect.width && x + rect.left < frame.width; ++x, out += 3) {
      const int a = layers.matte ? (*layers.matte)[static_cast<size_t>(y) * rect.width + x] : 0;
      const int chequer = ((x / kCell + y / kCell) % 2) ? 204 : 255;
      const uint8_t* p = layers.photo->Pixel(x, y);
      for (int c = 0; c < 3; ++c)
        out[c] = static_cast<uint8_t>((p[c] * a + chequer * (255 - a) + 127) / 255);
    }
  }
}

void DrawBoxOutline(Frame& frame, ViewRect box) {
  const int x0 = box.left, y0 = box.top, x1 = box.left + box.width - 1,
            y1 = box.top + box.height - 1;
  // Dashes of 6 pixels, white and black in turn, along the four sides.
  const auto dot = [&](int x, int y, int along) {
    if (x < 0 || y < 0 || x >= frame.width || y >= frame.height) return;
    const uint8_t v = (along / 6) % 2 ? 0 : 255;
    uint8_t* p = frame.Row(y) + 3 * x;
    p[0] = p[1] = p[2] = v;
  };
  for (int x = x0; x <= x1; ++x) dot(x, y0, x - x0), dot(x, y1, x - x0);
  for (int y = y0; y <= y1; ++y) dot(x0, y, y - y0), dot(x1, y, y - y0);
}

}  // namespace coiffure
