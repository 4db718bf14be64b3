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

// The source pixels one output pixel covers along an axis, and the share each has in it.
struct Taps {
  int first = 0;
  std::vector<float> weights;
};

std::vector<Taps> AxisTaps(int src, int dst) {
  std::vector<Taps> taps(static_cast<size_t>(dst));
  const double step = static_cast<double>(src) / dst;
  for (int o = 0; o < dst; ++o) {
    const double a = o * step, b = std::min<double>(src, (o + 1) * step);
    Taps& t = taps[static_cast<size_t>(o)];
    t.first = static_cast<int>(a);
    const int last = std::min(src - 1, static_cast<int>(std::ceil(b)) - 1);
    for (int i = t.first; i <= last; ++i) {
      const double overlap = std::min<double>(b, i + 1) - std::max<double>(a, i);
      t.weights.push_back(static_cast<float>(std::max(0.0, overlap) / step));
    }
  }
  return taps;
}

// One source row reduced across, colours multiplied by their alpha: 4 floats an output pixel.
void ResampleRow(const RgbaImage& image, int y, const std::vector<Taps>& xtaps, float* out) {
  for (const Taps& t : xtaps) {
    float acc[4] = {0, 0, 0, 0};
    const uint8_t* p = image.Pixel(t.first, y);
    for (float w : t.weights) {
      const float wa = w * p[3];
      acc[0] += wa * p[0];
      acc[1] += wa * p[1];
      acc[2] += wa * p[2];
      acc[3] += wa;
      p += 4;
    }
    std::copy_n(acc, 4, out);
    out += 4;
  }
}

}  // namespace

RgbaImage Resample(const RgbaImage& image, Size size) {
  RgbaImage out = RgbaImage::Create(size.width, size.height);
  const std::vector<Taps> xtaps = AxisTaps(image.width, size.width);
  const std::vector<Taps> ytaps = AxisTaps(image.height, size.height);
  const size_t row_floats = static_cast<size_t>(size.width) * 4;
  // Neighbouring output rows share at most their boundary source rows, so two cached rows
  // make every source row be reduced across about once, whether shrinking or enlarging.
  std::vector<float> cache[2] = {std::vector<float>(row_floats), std::vector<float>(row_floats)};
  int cached[2] = {-1, -1};
  std::vector<float> acc(row_floats);
  for (int oy = 0; oy < size.height; ++oy) {
    std::fill(acc.begin(), acc.end(), 0.0f);
    const Taps& t = ytaps[static_cast<size_t>(oy)];
    for (size_t k = 0; k < t.weights.size(); ++k) {
      const int y = t.first + static_cast<int>(k);
      int slot = cached[0] == y ? 0 : cached[1] == y ? 1 : -1;
      if (slot < 0) {
        slot = cached[0] < cached[1] ? 0 : 1;  // the older (lower) row goes
        ResampleRow(image, y, xtaps, cache[slot].data());
        cached[slot] = y;
      }
      const float w = t.weights[k];
      const float* row = cache[slot].data();
      for (size_t i = 0; i < row_floats; ++i) acc[i] += w * row[i];
    }
    uint8_t* dst = out.Pixel(0, oy);
    for (size_t i = 0; i < row_floats; i += 4) {
      const float a = acc[i + 3];
      const float alpha = std::clamp(std::round(a), 0.0f, 255.0f);
      dst[i + 3] = static_cast<uint8_t>(alpha);
      if (alpha == 0.0f) continue;
      for (int c = 0; c < 3; ++c)
        dst[i + static_cast<size_t>(c)] = static_cast<uint8_t>(
            std::clamp(std::round(acc[i + static_cast<size_t>(c)] / a), 0.0f, 255.0f));
    }
  }
  return out;
}

}  // namespace coiffure
