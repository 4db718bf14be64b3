#include "colour/recolour.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "colour/recolour_curve.h"
#include "imaging/oklab.h"

namespace coiffure {

namespace {

// The lightness (GreyLightness) of the grey each level stands for.
const std::array<float, kHairLevels>& LevelLightness() {
  static const std::array<float, kHairLevels> table = [] {
    std::array<float, kHairLevels> t{};
    for (int i = 0; i < kHairLevels; ++i)
      t[i] = GreyLightness(std::cbrt(SrgbToLinear(i / 1020.0f)));
    return t;
  }();
  return table;
}

// The curve is fitted to groups of four neighbouring codes: the groups lie closer than any two
// strands an eye can tell apart, and the fit, which tries a curve dozens of times, is a
// sixteenth of the work it would be on every level.
constexpr int kCodesAGroup = 4;

Tones TonesOf(const CodeWeights& hair) {
  double total = 0;
  for (double n : hair) total += n;
  Tones tones;
  for (int group = 0; group < kCodes; group += kCodesAGroup) {
    double n = 0, sum = 0;
    for (int code = group; code < group + kCodesAGroup; ++code) {
      // A code's levels are 4 code .. 4 code + 3; its middle stands for them.
      const int level = std::min(4 * code + 2, kHairLevels - 1);
      n += hair[code], sum += hair[code] * static_cast<double>(LevelLightness()[level]);
    }
    if (n <= 0) continue;
    tones.lightness.push_back(static_cast<float>(sum / n));
    tones.share.push_back(static_cast<float>(n / total));
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

std::string UnreachedNote(const ShadeReach& reach) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X", reach.reached.r, reach.reached.g, reach.reached.b);
  return std::string("这个颜色无法完全达到，已用最接近的 #") + hex;
}

ShadeReach ColoursOfLevels(const CodeWeights& hair, Bgr shade, LevelColours& colours,
                           float least_correlation) {
  colours.fill(0);
  if (std::none_of(hair.begin(), hair.end(), [](double n) { return n > 0; })) return {shade};
  const ShadeCurve curve(TonesOf(hair), shade, least_correlation);
  for (int code = 0; code < kCodes; ++code) {
    if (hair[code] <= 0) continue;  // no pixel asks for its levels
    for (int level = 4 * code; level < std::min(4 * code + 4, kHairLevels); ++level) {
      const Bgr v = curve.ColourFor(LevelLightness()[level]);
      colours[level] = v.b | v.g << 8 | v.r << 16;
    }
  }
  // The mean rule's own tolerance: within it the shade counts as reached.
  const Oklab reached = curve.Reached();
  return {OklabToBgr(reached), DeltaE(reached, BgrToOklab(shade)) <= 0.04f};
}

ShadeReach RecolourHair(const Picture& colour_in, const Picture& mask_in, Bgr shade, Picture& out) {
  if (colour_in.Width() != mask_in.Width() || colour_in.Height() != mask_in.Height())
    throw std::invalid_argument("picture and mask differ in size");
  Picture colour_copy, mask_copy;
  const Picture& colour = As24(colour_in, colour_copy);
  const Picture& mask = As24(mask_in, mask_copy);
  if (out.Width() != colour.Width() || out.Height() != colour.Height() || out.BitsPerPixel() != 24)
    out = Picture::Create24(colour.Width(), colour.Height());
  if (colour.Empty()) return {shade};

  auto counts = std::make_unique<LevelCounts>();
  for (int y = 0; y < colour.Height(); ++y)
    CountRowLevels(colour.Row(y), mask.Row(y), colour.Width(), *counts);
  CodeWeights hair{};
  for (const auto& way : *counts)
    for (int code = 0; code < kCodes; ++code) hair[code] += way[code];
  auto colours = std::make_unique<LevelColours>();
  const ShadeReach reach = ColoursOfLevels(hair, shade, *colours);
  for (int y = 0; y < colour.Height(); ++y)
    WriteRowColours(colour.Row(y), mask.Row(y), colour.Width(), *colours, out.Row(y));
  return reach;
}

Picture RecolourHair(const Picture& colour, const Picture& mask, Bgr shade) {
  Picture out;
  RecolourHair(colour, mask, shade, out);
  return out;
}

}  // namespace coiffure
