#include "colour/recolour.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "colour/recolour_curve.h"
#include "colour/recolour_rows.h"
#include "imaging/oklab.h"

namespace coiffure {

namespace {

constexpr int kLevels = kHairLevels;

using Histogram = std::array<uint32_t, kLevels>;

// The OKLab lightness of the grey each level stands for.
const std::array<float, kLevels>& LevelLightness() {
  static const std::array<float, kLevels> table = [] {
    std::array<float, kLevels> t{};
    for (int i = 0; i < kLevels; ++i) t[i] = std::cbrt(SrgbToLinear(i / 1020.0f));
    return t;
  }();
  return table;
}

Histogram Sum(const LevelCounts& counts) {
  Histogram h{};
  for (int i = 0; i < kLevels; ++i)
    h[i] = counts[0][i] + counts[1][i] + counts[2][i] + counts[3][i];
  return h;
}

// The curve is fitted to groups of four neighbouring levels: a quarter of the work, and the
// levels of a group lie closer than any two strands an eye can tell apart.
Tones TonesOf(const Histogram& hist) {
  uint64_t total = 0;
  for (uint32_t n : hist) total += n;
  Tones tones;
  for (int group = 0; group < kLevels; group += 4) {
    double n = 0, sum = 0;
    for (int i = group; i < std::min(group + 4, kLevels); ++i)
      n += hist[i], sum += hist[i] * static_cast<double>(LevelLightness()[i]);
    if (n == 0) continue;
    tones.lightness.push_back(static_cast<float>(sum / n));
    tones.share.push_back(static_cast<float>(n / static_cast<double>(total)));
  }
  return tones;
}

const Picture& As24(const Picture& p, Picture& copy) {
  if (p.BitsPerPixel() == 24 || p.Empty()) return p;
  copy = p;
  copy.ConvertTo24();
  return copy;
}

}  // namespace

void RecolourHair(const Picture& colour_in, const Picture& mask_in, Bgr shade, Picture& out) {
  if (colour_in.Width() != mask_in.Width() || colour_in.Height() != mask_in.Height())
    throw std::invalid_argument("picture and mask differ in size");
  Picture colour_copy, mask_copy;
  const Picture& colour = As24(colour_in, colour_copy);
  const Picture& mask = As24(mask_in, mask_copy);
  if (out.Width() != colour.Width() || out.Height() != colour.Height() || out.BitsPerPixel() != 24)
    out = Picture::Create24(colour.Width(), colour.Height());
  if (colour.Empty()) return;

  auto counts = std::make_unique<LevelCounts>();
  for (int y = 0; y < colour.Height(); ++y)
    CountRowLevels(colour.Row(y), mask.Row(y), colour.Width(), *counts, out.Row(y));
  const Histogram hist = Sum(*counts);
  std::array<uint32_t, kLevelSlots> colours{};  // kOffLevel's stays black
  if (std::any_of(hist.begin(), hist.end(), [](uint32_t n) { return n > 0; })) {
    const ShadeCurve curve(TonesOf(hist), shade);
    for (int i = 0; i < kLevels; ++i) {
      if (hist[i] == 0) continue;  // no pixel asks for it
      const Bgr v = curve.ColourFor(LevelLightness()[i]);
      colours[i] = v.b | v.g << 8 | v.r << 16;
    }
  }
  for (int y = 0; y < colour.Height(); ++y)
    WriteRowColours(colour.Row(y), mask.Row(y), colour.Width(), colours, out.Row(y));
}

Picture RecolourHair(const Picture& colour, const Picture& mask, Bgr shade) {
  Picture out;
  RecolourHair(colour, mask, shade, out);
  return out;
}

}  // namespace coiffure
