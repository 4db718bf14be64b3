#include "colour/recolour_curve.h"

#include <algorithm>
#include <cmath>

#include "colour/palette.h"

namespace coiffure {

namespace {

// The OKLab lightness range a result keeps to: the greys of bytes 2 and 253, so that rounding
// never lands a channel on 0 or 255.
constexpr float kLowL = 0.0848f, kHighL = 0.9905f;
// Nothing is aimed at from nearer the ends than this: the easing needs room on both sides.
constexpr float kEndMargin = 0.02f;

// Hues in radians: browns, coppers and blondes lie between these; their highlights turn part
// of the way towards golden, as the sheen on such hair does, rather than paling to pink.
constexpr float kWarmFrom = 0.35f, kGolden = 1.4f, kGoldenShare = 0.6f;

// The spread a result keeps, as a share of the source's: more for a lighter shade (light hair
// shows more light and shade than dark hair: on photographs light blonde keeps 10 to 19 L* of
// standard deviation where black keeps about 13), less for a darker one, never so much that a
// source's one code of difference turns into a visible step.
constexpr float kSpreadPower = 0.25f, kLeastSpread = 0.6f, kMostSpread = 1.35f;
constexpr float kLeastContrast = 0.05f, kMostContrast = 2.5f, kSideRatio = 2, kSheenReach = 2.5f;
// A colour so near black or white that the strands cannot show around it is aimed at from
// nearer the middle, until at least this share of the spread it should keep shows.
constexpr float kKeptShare = 0.5f, kAimStep = 0.015f;

// Below this OKLab lightness (L* 8, the grey of byte 23) the curve's lightness runs linear in
// light, as CIE L* does: above it the two are one scale.
constexpr float kToeL = 0.206897f, kToeY = kToeL * kToeL * kToeL;
constexpr float kToeSlope = 1 / (3 * kToeL * kToeL);

float SpreadFor(float target, float source_mean) {
  const float ratio = target / std::max(source_mean, 0.05f);
  return std::clamp(std::pow(ratio, kSpreadPower), kLeastSpread, kMostSpread);
}

// The palette's lightest shade: a lighter shade of the palette must keep at least the spread of
// a darker one, so none is given more than that one can keep.
const Shade& LightestShade() {
  static const Shade& lightest = *std::max_element(
      ShadePalette().begin(), ShadePalette().end(),
      [](const Shade& x, const Shade& y) { return BgrToOklab(x.mean).L < BgrToOklab(y.mean).L; });
  return lightest;
}

}  // namespace

float GreyLightness(float oklab_L) {
  if (oklab_L >= kToeL) return oklab_L;
  return kToeL + (std::max(oklab_L, 0.0f) * oklab_L * oklab_L - kToeY) * kToeSlope;
}

float GreyOklabL(float lightness) {
  if (lightness >= kToeL) return lightness;
  return std::cbrt(std::max(kToeY + (lightness - kToeL) / kToeSlope, 0.0f));
}

ShadeCurve::Source ShadeCurve::SourceOf(const Tones& tones) {
  double mean = 0, square = 0;
  for (size_t i = 0; i < tones.lightness.size(); ++i)
    mean += tones.share[i] * tones.lightness[i],
        square += tones.share[i] * tones.lightness[i] * tones.lightness[i];
  double above = 0, share_above = 0;
  for (size_t i = 0; i < tones.lightness.size(); ++i) {
    const double d = tones.lightness[i] - mean;
    if (d > 0) above += tones.share[i] * d * d, share_above += tones.share[i];
  }
  const double sd = std::sqrt(std::max(0.0, square - mean * mean));
  return {static_cast<float>(mean), static_cast<float>(sd),
          static_cast<float>(share_above > 0 ? std::sqrt(above / share_above) : 0)};
}

ShadeCurve::ShadeCurve(const Tones& tones, Bgr shade, float least_correlation)
    : ShadeCurve(tones, shade, least_correlation, true) {}

ShadeCurve::ShadeCurve(const Tones& tones, Bgr shade, float least_correlation, bool within_lightest)
    : least_correlation_(least_correlation) {
  const Oklab t = BgrToOklab(shade);
  target_C_ = std::hypot(t.a, t.b);
  if (target_C_ > 1e-6f) cos_h_ = t.a / target_C_, sin_h_ = t.b / target_C_;
  target_h_ = std::atan2(sin_h_, cos_h_);
  warm_ = target_C_ > 0.02f && target_h_ > kWarmFrom && target_h_ < kGolden;
  source_ = SourceOf(tones);
  for (float x : tones.lightness) from_.push_back(GreyOklabL(x));
  const float asked = std::clamp(t.L, kLowL + kEndMargin, kHighL - kEndMargin);
  float wanted = source_.sd * SpreadFor(GreyLightness(asked), source_.mean);
  if (within_lightest && asked < BgrToOklab(LightestShade().mean).L)
    wanted =
        std::min(wanted, ShadeCurve(tones, LightestShade().mean, least_correlation, false).spread_);
  Aim(asked);
  Means m = Fit(tones, wanted);
  for (int i = 0; i < 40 && m.spread < kKeptShare * wanted; ++i) {
    Aim(target_L_ + (target_L_ < 0.6f ? kAimStep : -kAimStep));
    m = Fit(tones, wanted);
  }
  reached_ = {static_cast<float>(m.L), static_cast<float>(m.a), static_cast<float>(m.b)};
  spread_ = static_cast<float>(m.spread);
}

// Where the fit aims: the easing's knees and the gamut's chroma at every lightness follow it.
void ShadeCurve::Aim(float oklab_L) {
  target_L_ = oklab_L;
  target_P_ = GreyLightness(oklab_L);
  const float lo = GreyLightness(kLowL), hi = GreyLightness(kHighL);
  knee_hi_ = target_P_ + 0.5f * (hi - target_P_);
  knee_lo_ = target_P_ - 0.5f * (target_P_ - lo);
  // The largest chroma at each lightness's hue that stays inside the bytes 1..254.
  const float lo_lin = SrgbToLinear(0.75f / 255), hi_lin = SrgbToLinear(254.25f / 255);
  auto inside = [&](float L, float C) {
    const LinearRgb c = OklabToLinear(At(L, C));
    return std::min({c.r, c.g, c.b}) >= lo_lin && std::max({c.r, c.g, c.b}) <= hi_lin;
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
}

// Lightness: the source's, shifted to the shade and its spread scaled, eased into the range
// near either end so that highlights and shadows keep their order instead of clipping.
float ShadeCurve::Lightness(float source) const {
  const float d = source - source_.mean;
  const float y = target_P_ + shift_ + (d < 0 ? contrast_ : contrast_above_) * d;
  const float lo = GreyLightness(kLowL), hi = GreyLightness(kHighL);
  if (y > knee_hi_) {
    const float w = hi - knee_hi_;
    return hi - w * std::exp(-(y - knee_hi_) / w);
  }
  if (y < knee_lo_) {
    const float w = knee_lo_ - lo;
    return lo + w * std::exp((y - knee_lo_) / w);
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
  double P = 0, P2 = 0, L2 = 0, src = 0, src2 = 0, cross = 0;
  for (size_t i = 0; i < tones.lightness.size(); ++i) {
    const double w = tones.share[i], from = from_[i];
    const float L = GreyOklabL(Lightness(tones.lightness[i]));
    const Oklab c = At(L, Chroma(L));
    m.L += w * L, m.a += w * c.a, m.b += w * c.b;
    m.C += w * (c.a * cos_h_ + c.b * sin_h_);
    // The spread an eye sees: of the colour's own luminance, its chroma's share included.
    const LinearRgb lin = OklabToLinear(c);
    const double seen = GreyLightness(
        std::cbrt(std::max(0.2126f * lin.r + 0.7152f * lin.g + 0.0722f * lin.b, 0.0f)));
    P += w * seen, P2 += w * seen * seen, L2 += w * L * L;
    src += w * from, src2 += w * from * from, cross += w * from * L;
  }
  m.spread = std::sqrt(std::max(0.0, P2 - P * P));
  const double var_src = src2 - src * src, var_out = L2 - m.L * m.L;
  if (var_src > 1e-9 && var_out > 1e-9) m.r = (cross - src * m.L) / std::sqrt(var_src * var_out);
  return m;
}

// The sheen is light the hair's surface reflects whatever its colour: above the mean the
// contrast is held to what leaves the source's highlights room below white, so that they keep
// their proportions instead of crowding into the easing, and bends the curve by at most
// kSideRatio.
void ShadeCurve::SetContrast(float below) {
  contrast_ = std::clamp(below, kLeastContrast, kMostContrast);
  const float room = GreyLightness(kHighL) - target_P_;
  const float fits = source_.sd_above > 0 ? room / (kSheenReach * source_.sd_above) : contrast_;
  contrast_above_ = std::clamp(fits, contrast_ / kSideRatio, contrast_);
}

// The easing moves the mean lightness: secant steps on the shift settle it. The gamut cuts the
// mean chroma: a proportional step on the chroma's gain follows.
ShadeCurve::Means ShadeCurve::SettleAt(const Tones& tones, float contrast) {
  SetContrast(contrast);
  float s0 = shift_, e0 = static_cast<float>(MeansOver(tones).L) - target_L_;
  float s1 = s0 - e0;
  for (int step = 0; step < 8 && std::abs(e0) > 1e-4f; ++step) {
    shift_ = s1;
    const float e1 = static_cast<float>(MeansOver(tones).L) - target_L_;
    if (std::abs(e1 - e0) < 1e-9f) break;
    const float next = s1 - e1 * (s1 - s0) / (e1 - e0);
    s0 = s1, e0 = e1, s1 = next;
  }
  shift_ = s1;
  const Means m = MeansOver(tones);
  if (m.C > 1e-6) gain_ = std::clamp(static_cast<float>(gain_ * target_C_ / m.C), 0.0f, 4.0f);
  return m;
}

// The contrast that gives the wanted spread, as far as the easing lets the lightness keep its
// correlation with the source's.
ShadeCurve::Means ShadeCurve::Fit(const Tones& tones, float wanted_spread) {
  const bool flat = source_.sd < 0.004f;
  float c = flat ? 1 : SpreadFor(target_P_, source_.mean);
  Means m = SettleAt(tones, c);
  for (int round = 0; round < 4 && !flat && m.spread > 1e-6; ++round) {
    c = std::clamp(static_cast<float>(c * wanted_spread / m.spread), kLeastContrast, kMostContrast);
    m = SettleAt(tones, c);
  }
  // The easing bends the lightness away from the source's; it may bend it only so far.
  if (flat || m.r >= least_correlation_) return SettleAt(tones, c);
  float good = kLeastContrast, bad = c;
  for (int step = 0; step < 7; ++step) {
    const float mid = (good + bad) / 2;
    (SettleAt(tones, mid).r >= least_correlation_ ? good : bad) = mid;
  }
  return SettleAt(tones, good);
}

Bgr ShadeCurve::ColourFor(float source_lightness) const {
  const float L = GreyOklabL(Lightness(source_lightness));
  Bgr out = OklabToBgr(At(L, Chroma(L)));
  for (uint8_t* ch : {&out.b, &out.g, &out.r}) *ch = std::clamp<uint8_t>(*ch, 1, 254);
  return out;
}

}  // namespace coiffure
