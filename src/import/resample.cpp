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

// The columns [lo, hi) of the window a set of its rows may have visible; all when unknown.
struct Columns {
  int lo = 0, hi = 0;
  bool Empty() const { return lo >= hi; }
};

Columns VisibleColumns(const Window& w, int first_outer_row, int last_outer_row) {
  if (w.extents == nullptr) return {0, w.width};
  Columns c{w.width, 0};
  const int y0 = std::max(first_outer_row - w.margin, 0);
  const int y1 = std::min(last_outer_row - w.margin, w.height - 1);
  for (int y = y0; y <= y1; ++y) {
    const Extent& e = (*w.extents)[static_cast<size_t>(y)];
    if (e.first > e.last) continue;
    c.lo = std::min(c.lo, e.first);
    c.hi = std::max(c.hi, e.last + 1);
  }
  return c;
}

// Floats, four a column, of which only the columns last written may be other than 0: moving
// on to other columns clears just the ones left behind.
class ColumnBuffer {
 public:
  explicit ColumnBuffer(size_t columns) : values_(columns * 4) {}
  float* At(int column) { return values_.data() + static_cast<size_t>(column) * 4; }
  // Columns [c.lo, c.hi) are about to be written; all others must read 0.
  void Keep(Columns c) {
    if (c.Empty()) c = {0, 0};
    if (written_.lo < c.lo) std::fill(At(written_.lo), At(std::min(c.lo, written_.hi)), 0.0f);
    if (written_.hi > c.hi) std::fill(At(std::max(c.hi, written_.lo)), At(written_.hi), 0.0f);
    written_ = c;
  }

 private:
  std::vector<float> values_;
  Columns written_;
};

// The products of the partly covered rows: each such row is usually shared by two output
// rows (and, enlarging, by several), so it is computed once and kept while it is needed.
// Kept over the outer width; outside the row's visible columns they stay 0.
class PartialRows {
 public:
  PartialRows(const WindowRows& rows, const Window& w, Loops loops)
      : rows_(rows),
        w_(w),
        loops_(loops),
        products_{ColumnBuffer(static_cast<size_t>(w.OuterWidth())),
                  ColumnBuffer(static_cast<size_t>(w.OuterWidth()))} {}

  // Row y's products; the row `keep` stays kept.
  const float* Get(int y, int keep) {
    for (int i = 0; i < 2; ++i)
      if (row_[i] == y) return products_[i].At(0);
    int slot = row_[0] < row_[1] ? 0 : 1;  // rows only move down: the older one goes
    if (row_[slot] == keep) slot ^= 1;
    const Columns c = VisibleColumns(w_, y, y);
    products_[slot].Keep({c.lo + w_.margin, c.hi + w_.margin});
    if (!c.Empty())
      RowProducts(rows_.Row(y) + static_cast<size_t>(c.lo) * 4, c.hi - c.lo,
                  products_[slot].At(w_.margin + c.lo), loops_);
    row_[slot] = y;
    return products_[slot].At(0);
  }

 private:
  const WindowRows& rows_;
  const Window& w_;
  const Loops loops_;
  int row_[2] = {-1, -1};
  ColumnBuffer products_[2];
};

// The fully covered rows go two at a time into the pairs; the partly covered first and last
// rows are added with their shares. Both start at window column `lo`.
void BuildDown(const WindowRows& rows, const Span& span, int lo, int margin,
               PartialRows& partial_rows, Down& down) {
  down.pairs.clear();
  down.partials.clear();
  const size_t bytes = static_cast<size_t>(lo) * 4, floats = static_cast<size_t>(margin + lo) * 4;
  const int last = span.first + span.count - 1;
  const uint8_t* odd = nullptr;
  for (int y = span.first; y <= last; ++y) {
    const float share = y == span.first ? span.first_share : y == last ? span.last_share : 1.0f;
    if (share != 1.0f) continue;
    if (odd == nullptr) {
      odd = rows.Row(y) + bytes;
    } else {
      down.pairs.push_back({odd, rows.Row(y) + bytes});
      odd = nullptr;
    }
  }
  down.last_alone = odd != nullptr;
  if (odd != nullptr) down.pairs.push_back({odd, rows.Zeros() + bytes});
  if (span.first_share != 1.0f)
    down.partials.push_back({partial_rows.Get(span.first, -1) + floats, span.first_share});
  if (span.count > 1 && span.last_share != 1.0f)
    down.partials.push_back({partial_rows.Get(last, span.first) + floats, span.last_share});
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
  ColumnBuffer columns(static_cast<size_t>(w.OuterWidth()));
  std::vector<uint8_t> out(static_cast<size_t>(size.width) * 4);
  const Across across = MakeAcross(xs, w.OuterWidth());
  const int* first = across.first.data();
  const float alpha_scale = static_cast<float>(1.0 / (255.0 * total_x * total_y));
  PartialRows partial_rows(rows, w, loops);
  Down down;
  for (int oy = 0; oy < size.height; ++oy) {
    const Span& span = ys[static_cast<size_t>(oy)];
    const Columns c = VisibleColumns(w, span.first, span.first + span.count - 1);
    const int lo = w.margin + c.lo, hi = w.margin + c.hi;  // outer columns
    columns.Keep({lo, hi});
    size_t from = 0, to = 0;
    if (!c.Empty()) {
      // Only the visible columns are summed down, and only the outputs reading them across;
      // every other sum is 0, and so is every other output.
      BuildDown(rows, span, c.lo, w.margin, partial_rows, down);
      SumDown(down, c.hi - c.lo, columns.At(lo), loops);
      from =
          static_cast<size_t>(std::partition_point(first, first + size.width,
                                                   [&](int f) { return f + across.taps <= lo; }) -
                              first);
      to = static_cast<size_t>(std::lower_bound(first + from, first + size.width, hi) - first);
      AcrossToPixels(columns.At(0), across, alpha_scale, from, to, out.data(), loops);
    }
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(from * 4), uint8_t{0});
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(to * 4), out.end(), uint8_t{0});
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
