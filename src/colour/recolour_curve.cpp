#include "colour/recolour_curve.h"

#include <algorithm>
#include <cmath>

namespace coiffure {

namespace {

// The lightness range a result keeps to: the greys of bytes 2 and 253, so that rounding never
// lands a channel on 0 or 255.
constexpr float kLowL = 0.0848f, kHighL = 0.9905f, kEndMargin = 0.02f;

// Hues in radians: browns, coppers and blondes lie between these; their highlights turn part
// of the way towards golden, as the sheen on such hair does, rather than paling to pink.
constexpr float kWarmFrom = 0.35f, kGolden = 1.4f, kGoldenShare = 0.6f;

// Sides of the mean scaled too unlike each other would bend the lightness out of proportion
// to the source's.
constexpr float kSideRatio = 2;

// How much the source's lightness spread is scaled on one side of its mean. Hair's lightness
// spread grows with its lightness (the light on it multiplies its own), so the spread follows
// the ratio of the lightnesses, but within the room to the end of the range on that side, and
// never so far that a flat source's noise turns into visible grain.
float ContrastFor(float ratio, float side_sd, float room) {
  if (side_sd < 0.004f) return 1;
  return std::min(std::clamp(ratio, 0.3f, 2.5f), std::max(room / (2 * side_sd), 0.15f));
}

}  // namespace

ShadeCurve::ShadeCurve(const Tones& tones, Bgr shade) {
  const Oklab t = BgrToOklab(shade);
  // A colour as dark as black or as light as white is aimed at from just inside the range a
  // result keeps to: hair cannot be one flat colour on the range's end and still show light.
  target_L_ = std::clamp(t.L, kLowL + kEndMargin, kHighL - kEndMargin);
  target_C_ = std::hypot(t.a, t.b);
  if (target_C_ > 1e-6f) cos_h_ = t.a / target_C_, sin_h_ = t.b / target_C_;
  target_h_ = std::atan2(sin_h_, cos_h_);
  warm_ = target_C_ > 0.02f && target_h_ > kWarmFrom && target_h_ < kGolden;
  // The largest chroma at each lightness's hue that stays inside the bytes 1..254.
  const float lo = SrgbToLinear(0.75f / 255), hi = SrgbToLinear(254.25f / 255);
  auto inside = [&](float L, float C) {
    const LinearRgb c = OklabToLinear(At(L, C));
    return std::min({c.r, c.g, c.b}) >= lo && std::max({c.r, c.g, c.b}) <= hi;
  };
  for (int i = 0; i <= kLimitKnots; ++i) {
    const float L = kLowL + (kHighL - kLowL) * i / kLimitKnots;
    float a = 0, b = inside(L, 0) ? 0.4f : 0;
    for (int step = 0; step < 12 && b > 0; ++step) {
      const float m = (a + b) / 2;
      (inside(L, m) ? a : b) = m;
    }
    limit_[i] = a;
  }
  knee_hi_ = target_L_ + 0.5f * (kHighL - target_L_);
  knee_lo_ = target_L_ - 0.5f * (target_L_ - kLowL);
  FitContrast(tones);
  FitShiftAndGain(tones);
}

// Lightness: the source's, shifted to the shade and its contrast scaled, eased into the range
// near either end so that highlights and shadows keep their order instead of clipping.
float ShadeCurve::Lightness(float source) const {
  const float d = source - source_mean_;
  const float y = target_L_ + shift_ + (d < 0 ? contrast_below_ : contrast_above_) * d;
  if (y > knee_hi_) {
    const float w = kHighL - knee_hi_;
    return kHighL - w * std::exp(-(y - knee_hi_) / w);
  }
  if (y < knee_lo_) {
    const float w = knee_lo_ - kLowL;
    return kLowL + w * std::exp((y - knee_lo_) / w);
  }
  return y;
}

float ShadeCurve::ChromaLimit(float L) const {
  const float x = std::clamp((L - kLowL) / (kHighL - kLowL), 0.0f, 1.0f) * kLimitKnots;
  const int i = std::min(static_cast<int>(x), kLimitKnots - 1);
  return limit_[i] + (limit_[i + 1] - limit_[i]) * (x - i);
}

float ShadeCurve::Hue(float L) const {
  if (!warm_ || L <= target_L_) return target_h_;
  const float up = std::min((L - target_L_) / (kHighL - target_L_), 1.0f);
  return target_h_ + (kGolden - target_h_) * kGoldenShare * up;
}

Oklab ShadeCurve::At(float L, float C) const {
  if (!warm_ || L <= target_L_) return {L, C * cos_h_, C * sin_h_};
  const float h = Hue(L);
  return {L, C * std::cos(h), C * std::sin(h)};
}

// Chroma: the shade's, falling towards black in proportion and towards white ever faster, as
// dyed hair does, within the gamut.
float ShadeCurve::Chroma(float L) const {
  const float up = (L - target_L_) / (1 - target_L_);
  const float fall = L <= target_L_ ? L / target_L_ : 1 - up * up;
  return std::min(gain_ * target_C_ * fall, ChromaLimit(L));
}

ShadeCurve::Means ShadeCurve::MeansOver(const Tones& tones) const {
  Means m;
  for (size_t i = 0; i < tones.lightness.size(); ++i) {
    const float L = Lightness(tones.lightness[i]);
    m.L += tones.share[i] * L;
    m.C += tones.share[i] * Chroma(L) * (warm_ ? std::cos(Hue(L) - target_h_) : 1);
  }
  return m;
}

void ShadeCurve::FitContrast(const Tones& tones) {
  double mean = 0;
  for (size_t i = 0; i < tones.lightness.size(); ++i) mean += tones.share[i] * tones.lightness[i];
  double below = 0, above = 0, share_below = 0;
  for (size_t i = 0; i < tones.lightness.size(); ++i) {
    const double d = tones.lightness[i] - mean;
    (d < 0 ? below : above) += tones.share[i] * d * d;
    share_below += d < 0 ? tones.share[i] : 0;
  }
  const auto side_sd = [](double sum, double share) {
    return static_cast<float>(share > 0 ? std::sqrt(sum / share) : 0);
  };
  source_mean_ = static_cast<float>(mean);
  const float ratio = target_L_ / std::max(source_mean_, 0.05f);
  // The sheen is light the hair's surface reflects whatever its colour, so it changes less
  // with the shade than the body of the hair does.
  contrast_below_ = ContrastFor(ratio, side_sd(below, share_below), target_L_ - kLowL);
  contrast_above_ =
      ContrastFor(std::sqrt(ratio), side_sd(above, 1 - share_below), kHighL - target_L_);
  contrast_below_ = std::min(contrast_below_, kSideRatio * contrast_above_);
  contrast_above_ = std::min(contrast_above_, kSideRatio * contrast_below_);
}

// The easing moves the mean lightness and the gamut the mean chroma: a few rounds of secant
// steps on the shift and a proportional step on the chroma's gain settle both.
void ShadeCurve::FitShiftAndGain(const Tones& tones) {
  for (int round = 0; round < 3; ++round) {
    float s0 = shift_, e0 = static_cast<float>(MeansOver(tones).L) - target_L_;
    float s1 = s0 - e0;
    for (int step = 0; step < 6 && std::abs(e0) > 1e-4f; ++step) {
      shift_ = s1;
      const float e1 = static_cast<float>(MeansOver(tones).L) - target_L_;
      if (std::abs(e1 - e0) < 1e-9f) break;
      const float next = s1 - e1 * (s1 - s0) / (e1 - e0);
      s0 = s1, e0 = e1, s1 = next;
    }
    shift_ = s1;
    const double C = MeansOver(tones).C;
    if (C > 1e-6) gain_ = std::clamp(static_cast<float>(gain_ * target_C_ / C), 0.0f, 4.0f);
  }
}

Bgr ShadeCurve::ColourFor(float source_lightness) const {
  const float L = Lightness(source_lightness);
  Bgr out = OklabToBgr(At(L, Chroma(L)));
  for (uint8_t* ch : {&out.b, &out.g, &out.r}) *ch = std::clamp<uint8_t>(*ch, 1, 254);
  return out;
}

}  // namespace coiffure
