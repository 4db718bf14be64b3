// Sizing of an imported picture: the fitted size and area-averaging resampling.
#include <algorithm>
#include <numeric>

#include "import/convert.h"
#include "import/resample_rows.h"

namespace coiffure {

Size FittedSize(int width, int height) {
  const int64_t longer = std::max(width, height), shorter = std::min(width, height);
  int64_t num = 1, den = 1;
  if (longer > kImportMaxSide) {
    num = kImportMaxSide;
    den = longer;
  } else if (shorter < kImportMinSide) {
    // Enlarge until the shorter side reaches the minimum, unless the longer side would pass
    // the maximum first; padding makes up the rest.
    if (longer * kImportMinSide <= int64_t{kImportMaxSide} * shorter) {
      num = kImportMinSide;
      den = shorter;
    } else {
      num = kImportMaxSide;
      den = longer;
    }
  }
  auto scaled = [&](int64_t v) {
    return static_cast<int>(std::max<int64_t>(1, (v * num + den / 2) / den));
  };
  return {scaled(width), scaled(height)};
}

namespace resample {

std::vector<Span> AxisSpans(int src, int dst, float* total_share) {
  // Whole units: an output pixel is s units long and a source pixel d, so every overlap is a
  // whole number of units. A source pixel inside an output (or, enlarging, an output inside
  // a source pixel) covers `full` units and gets a share of exactly 1.
  const int64_t g = std::gcd(src, dst), s = src / g, d = dst / g, full = std::min(s, d);
  std::vector<Span> spans(static_cast<size_t>(dst));
  for (int64_t o = 0; o < dst; ++o) {
    const int64_t lo = o * s, hi = lo + s, first = lo / d, last = (hi - 1) / d;
    auto share = [&](int64_t i) {
      const int64_t overlap = std::min((i + 1) * d, hi) - std::max(i * d, lo);
      return static_cast<float>(static_cast<double>(overlap) / static_cast<double>(full));
    };
    spans[static_cast<size_t>(o)] = {static_cast<int>(first), static_cast<int>(last - first + 1),
                                     share(first), share(last)};
  }
  *total_share = static_cast<float>(static_cast<double>(s) / static_cast<double>(full));
  return spans;
}

Across MakeAcross(const std::vector<Span>& spans, int width) {
  Across across;
  for (const Span& s : spans) across.taps = std::max(across.taps, s.count);
  across.first.resize(spans.size());
  across.weights.assign(spans.size() * static_cast<size_t>(across.taps) * 4, 0.0f);
  for (size_t o = 0; o < spans.size(); ++o) {
    const Span& s = spans[o];
    // Near the right edge the reads start earlier, so that they stay inside the row.
    const int first = std::min(s.first, width - across.taps);
    across.first[o] = first;
    float* w = across.weights.data() + o * static_cast<size_t>(across.taps) * 4;
    for (int i = 0; i < s.count; ++i) {
      const float share = i == 0 ? s.first_share : i == s.count - 1 ? s.last_share : 1.0f;
      std::fill_n(w + static_cast<size_t>(s.first - first + i) * 4, 4, share);
    }
  }
  return across;
}

namespace {

// The window's rows as the cut-out would hold them: row y of the outer picture, or a row of
// zeros in the margin.
class WindowRows {
 public:
  explicit WindowRows(const Window& w) : w_(w), zeros_(static_cast<size_t>(w.width) * 4) {}
  const uint8_t* Row(int y) const {
    const int inner = y - w_.margin;
    if (inner < 0 || inner >= w_.height) return zeros_.data();
    return w_.image->Pixel(w_.x0, w_.y0 + inner);
  }
  const uint8_t* Zeros() const { return zeros_.data(); }

 private:
  const Window& w_;
  const std::vector<uint8_t> zeros_;
};

// The products of the partly covered rows: each such row is usually shared by two output
// rows (and, enlarging, by several), so it is computed once and kept while it is needed.
// Kept over the outer width; the margin columns stay 0.
class PartialRows {
 public:
  PartialRows(const WindowRows& rows, const Window& w, Loops loops)
      : rows_(rows), width_(w.width), margin_(w.margin), loops_(loops) {
    for (std::vector<float>& b : products_) b.resize(static_cast<size_t>(w.OuterWidth()) * 4);
  }

  // Row y's products; the row `keep` stays kept.
  const float* Get(int y, int keep) {
    for (int i = 0; i < 2; ++i)
      if (row_[i] == y) return products_[i].data();
    int slot = row_[0] < row_[1] ? 0 : 1;  // rows only move down: the older one goes
    if (row_[slot] == keep) slot ^= 1;
    RowProducts(rows_.Row(y), width_, products_[slot].data() + static_cast<size_t>(margin_) * 4,
                loops_);
    row_[slot] = y;
    return products_[slot].data();
  }

 private:
  const WindowRows& rows_;
  const int width_, margin_;
  const Loops loops_;
  int row_[2] = {-1, -1};
  std::vector<float> products_[2];
};

// The fully covered rows go two at a time into the pairs; the partly covered first and last
// rows are added with their shares. The pairs and products start at the window's first
// column.
void BuildDown(const WindowRows& rows, const Span& span, size_t margin, PartialRows& partial_rows,
               Down& down) {
  down.pairs.clear();
  down.partials.clear();
  const int last = span.first + span.count - 1;
  const uint8_t* odd = nullptr;
  for (int y = span.first; y <= last; ++y) {
    const float share = y == span.first ? span.first_share : y == last ? span.last_share : 1.0f;
    if (share != 1.0f) continue;
    if (odd == nullptr) {
      odd = rows.Row(y);
    } else {
      down.pairs.push_back({odd, rows.Row(y)});
      odd = nullptr;
    }
  }
  if (odd != nullptr) down.pairs.push_back({odd, rows.Zeros()});
  if (span.first_share != 1.0f)
    down.partials.push_back({partial_rows.Get(span.first, -1) + margin * 4, span.first_share});
  if (span.count > 1 && span.last_share != 1.0f)
    down.partials.push_back({partial_rows.Get(last, span.first) + margin * 4, span.last_share});
}

bool Halves(int src, int dst) {
  return int64_t{dst} * 2 == src;
}

// Exact halving reads two outer rows at a time; in the margin they are assembled first.
void Halve(const Window& w, const WindowRows& rows, Size size, Loops loops,
           const std::function<void(const uint8_t*)>& take) {
  const size_t outer = static_cast<size_t>(w.OuterWidth()) * 4,
               m = static_cast<size_t>(w.margin) * 4;
  std::vector<uint8_t> padded[2], out(static_cast<size_t>(size.width) * 4);
  if (w.margin > 0)
    for (std::vector<uint8_t>& p : padded) p.assign(outer, 0);
  for (int oy = 0; oy < size.height; ++oy) {
    const uint8_t* ab[2];
    for (int i = 0; i < 2; ++i) {
      ab[i] = rows.Row(2 * oy + i);
      if (w.margin == 0) continue;
      std::copy_n(ab[i], static_cast<size_t>(w.width) * 4, padded[i].data() + m);
      ab[i] = padded[i].data();
    }
    HalveRow(ab[0], ab[1], size.width, out.data(), loops);
    take(out.data());
  }
}

}  // namespace

void ResampleWindowRows(const Window& w, Size size, Loops loops,
                        const std::function<void(const uint8_t*)>& take) {
  if (w.OuterWidth() <= 0 || w.OuterHeight() <= 0 || size.width <= 0 || size.height <= 0) return;
  const WindowRows rows(w);
  if (Halves(w.OuterWidth(), size.width) && Halves(w.OuterHeight(), size.height))
    return Halve(w, rows, size, loops, take);
  float total_x = 1, total_y = 1;
  const std::vector<Span> xs = AxisSpans(w.OuterWidth(), size.width, &total_x);
  const std::vector<Span> ys = AxisSpans(w.OuterHeight(), size.height, &total_y);
  std::vector<float> columns(static_cast<size_t>(w.OuterWidth()) * 4);
  std::vector<uint8_t> out(static_cast<size_t>(size.width) * 4);
  const Across across = MakeAcross(xs, w.OuterWidth());
  const float alpha_scale = static_cast<float>(1.0 / (255.0 * total_x * total_y));
  const size_t margin = static_cast<size_t>(w.margin);
  PartialRows partial_rows(rows, w, loops);
  Down down;
  for (int oy = 0; oy < size.height; ++oy) {
    BuildDown(rows, ys[static_cast<size_t>(oy)], margin, partial_rows, down);
    SumDown(down, w.width, columns.data() + margin * 4, loops);
    AcrossToPixels(columns.data(), across, alpha_scale, out.data(), loops);
    take(out.data());
  }
}

RgbaImage ResampleWindow(const Window& w, Size size, Loops loops) {
  if (w.OuterWidth() <= 0 || w.OuterHeight() <= 0 || size.width <= 0 || size.height <= 0)
    return RgbaImage::Create(size.width, size.height);
  // Appended row by row, so that each byte is written once (a picture made whole first would
  // be filled with zeros for nothing).
  RgbaImage out;
  out.width = size.width;
  out.height = size.height;
  const size_t row_bytes = static_cast<size_t>(size.width) * 4;
  out.bgra.reserve(row_bytes * static_cast<size_t>(size.height));
  ResampleWindowRows(w, size, loops, [&](const uint8_t* row) {
    out.bgra.insert(out.bgra.end(), row, row + row_bytes);
  });
  return out;
}

RgbaImage ResampleWith(const RgbaImage& image, Size size, Loops loops) {
  return ResampleWindow({&image, 0, 0, image.width, image.height, 0}, size, loops);
}

RgbaImage ResampleWith(const RgbaImage& image, Size size, bool vectors) {
  return ResampleWith(image, size, vectors ? BestLoops() : Loops::kPlain);
}

}  // namespace resample

RgbaImage Resample(const RgbaImage& image, Size size) {
  return resample::ResampleWith(image, size, BestLoops());
}

}  // namespace coiffure
