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

// The products of the partly covered rows: each such row is usually shared by two output
// rows (and, enlarging, by several), so it is computed once and kept while it is needed.
class PartialRows {
 public:
  PartialRows(const RgbaImage& image, bool vectors) : image_(image), vectors_(vectors) {
    for (std::vector<float>& b : products_) b.resize(static_cast<size_t>(image.width) * 4);
  }

  // Row y's products; the row `keep` stays kept.
  const float* Get(int y, int keep) {
    for (int i = 0; i < 2; ++i)
      if (row_[i] == y) return products_[i].data();
    int slot = row_[0] < row_[1] ? 0 : 1;  // rows only move down: the older one goes
    if (row_[slot] == keep) slot ^= 1;
    RowProducts(image_.Pixel(0, y), image_.width, products_[slot].data(), vectors_);
    row_[slot] = y;
    return products_[slot].data();
  }

 private:
  const RgbaImage& image_;
  const bool vectors_;
  int row_[2] = {-1, -1};
  std::vector<float> products_[2];
};

// The fully covered rows go two at a time into the pairs; the partly covered first and last
// rows are added with their shares.
void BuildDown(const RgbaImage& image, const Span& span, const uint8_t* zeros,
               PartialRows& partial_rows, Down& down) {
  down.pairs.clear();
  down.partials.clear();
  const int last = span.first + span.count - 1;
  const uint8_t* odd = nullptr;
  for (int y = span.first; y <= last; ++y) {
    const float share = y == span.first ? span.first_share : y == last ? span.last_share : 1.0f;
    if (share != 1.0f) continue;
    if (odd == nullptr) {
      odd = image.Pixel(0, y);
    } else {
      down.pairs.push_back({odd, image.Pixel(0, y)});
      odd = nullptr;
    }
  }
  if (odd != nullptr) down.pairs.push_back({odd, zeros});
  if (span.first_share != 1.0f)
    down.partials.push_back({partial_rows.Get(span.first, -1), span.first_share});
  if (span.count > 1 && span.last_share != 1.0f)
    down.partials.push_back({partial_rows.Get(last, span.first), span.last_share});
}

}  // namespace

RgbaImage ResampleWith(const RgbaImage& image, Size size, bool vectors) {
  RgbaImage out = RgbaImage::Create(size.width, size.height);
  if (image.width <= 0 || image.height <= 0 || size.width <= 0 || size.height <= 0) return out;
  float total_x = 1, total_y = 1;
  const std::vector<Span> xs = AxisSpans(image.width, size.width, &total_x);
  const std::vector<Span> ys = AxisSpans(image.height, size.height, &total_y);
  const std::vector<uint8_t> zeros(static_cast<size_t>(image.width) * 4);
  std::vector<float> columns(static_cast<size_t>(image.width) * 4);
  const Across across = MakeAcross(xs, image.width);
  const float alpha_scale = static_cast<float>(1.0 / (255.0 * total_x * total_y));
  PartialRows partial_rows(image, vectors);
  Down down;
  for (int oy = 0; oy < size.height; ++oy) {
    BuildDown(image, ys[static_cast<size_t>(oy)], zeros.data(), partial_rows, down);
    SumDown(down, image.width, columns.data(), vectors);
    AcrossToPixels(columns.data(), across, alpha_scale, out.Pixel(0, oy), vectors);
  }
  return out;
}

}  // namespace resample

RgbaImage Resample(const RgbaImage& image, Size size) {
  return resample::ResampleWith(image, size, true);
}

}  // namespace coiffure
