// Sizing of an imported picture: the fitted size and area-averaging resampling.
#include <algorithm>
#include <cmath>

#include "import/convert.h"

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

namespace {

// The source pixels each output pixel covers along an axis and the share each has in it,
// kept in flat arrays: output o reads count[o] pixels from first[o], weights from offset[o].
struct Taps {
  std::vector<int> first, count, offset;
  std::vector<float> weights;
};

Taps AxisTaps(int src, int dst) {
  Taps t;
  const double step = static_cast<double>(src) / dst;
  for (int o = 0; o < dst; ++o) {
    const double a = o * step, b = std::min<double>(src, (o + 1) * step);
    const int first = static_cast<int>(a);
    const int last = std::min(src - 1, static_cast<int>(std::ceil(b)) - 1);
    t.first.push_back(first);
    t.count.push_back(last - first + 1);
    t.offset.push_back(static_cast<int>(t.weights.size()));
    for (int i = first; i <= last; ++i) {
      const double overlap = std::min<double>(b, i + 1) - std::max<double>(a, i);
      t.weights.push_back(static_cast<float>(std::max(0.0, overlap) / step));
    }
  }
  return t;
}

// One source row reduced across, colours multiplied by their alpha: 4 floats an output pixel.
void ResampleRow(const RgbaImage& image, int y, const Taps& xt, float* out) {
  const uint8_t* row = image.Pixel(0, y);
  for (size_t o = 0; o < xt.first.size(); ++o, out += 4) {
    const uint8_t* p = row + static_cast<size_t>(xt.first[o]) * 4;
    const float* w = xt.weights.data() + xt.offset[o];
    float b = 0, g = 0, r = 0, a = 0;
    for (int k = 0; k < xt.count[o]; ++k, p += 4) {
      const float wa = w[k] * static_cast<float>(p[3]);
      b += wa * static_cast<float>(p[0]);
      g += wa * static_cast<float>(p[1]);
      r += wa * static_cast<float>(p[2]);
      a += wa;
    }
    out[0] = b;
    out[1] = g;
    out[2] = r;
    out[3] = a;
  }
}

// Rounds a non-negative value to a byte (a plain add and cut: no library call per channel).
uint8_t ToByte(float v) {
  return static_cast<uint8_t>(std::min(v + 0.5f, 255.0f));
}

}  // namespace

RgbaImage Resample(const RgbaImage& image, Size size) {
  RgbaImage out = RgbaImage::Create(size.width, size.height);
  const Taps xt = AxisTaps(image.width, size.width);
  const Taps yt = AxisTaps(image.height, size.height);
  const size_t row_floats = static_cast<size_t>(size.width) * 4;
  // Neighbouring output rows share at most their boundary source rows, so two cached rows
  // make every source row be reduced across about once, whether shrinking or enlarging.
  std::vector<float> cache[2] = {std::vector<float>(row_floats), std::vector<float>(row_floats)};
  int cached[2] = {-1, -1};
  std::vector<float> acc(row_floats);
  for (int oy = 0; oy < size.height; ++oy) {
    std::fill(acc.begin(), acc.end(), 0.0f);
    for (int k = 0; k < yt.count[static_cast<size_t>(oy)]; ++k) {
      const int y = yt.first[static_cast<size_t>(oy)] + k;
      int slot = cached[0] == y ? 0 : cached[1] == y ? 1 : -1;
      if (slot < 0) {
        slot = cached[0] < cached[1] ? 0 : 1;  // the older (lower) row goes
        ResampleRow(image, y, xt, cache[slot].data());
        cached[slot] = y;
      }
      const float w = yt.weights[static_cast<size_t>(yt.offset[static_cast<size_t>(oy)] + k)];
      const float* row = cache[slot].data();
      for (size_t i = 0; i < row_floats; ++i) acc[i] += w * row[i];
    }
    uint8_t* dst = out.Pixel(0, oy);
    for (size_t i = 0; i < row_floats; i += 4) {
      const float a = acc[i + 3];
      dst[i + 3] = ToByte(a);
      if (dst[i + 3] == 0) continue;
      const float inv = 1.0f / a;
      for (size_t c = 0; c < 3; ++c) dst[i + c] = ToByte(acc[i + c] * inv);
    }
  }
  return out;
}

}  // namespace coiffure
