// The tone curve of a colour variant: from a hair pixel's source lightness to its new colour.
#pragma once

#include <array>
#include <vector>

#include "imaging/oklab.h"

namespace coiffure {

// The curve's lightness of a grey: OKLab's L, but linear in light below L* 8 (byte 23), where
// it is CIE L* on another scale. OKLab's L (the cube root of the light) is infinitely steep at
// black: bytes 0 and 1 lie 0.067 apart, which the curve's gain would turn into a visible step,
// 0.0027 on this scale.
float GreyLightness(float oklab_L);
float GreyOklabL(float lightness);

// The source hair's lightnesses (GreyLightness) with the share of the hair each has.
struct Tones {
  std::vector<float> lightness, share;
};

class ShadeCurve {
 public:
  // Fitted so that over the tones the result's mean OKLab colour is the shade's, as near as a
  // colour can come that still shows the strands, its lightness keeping at least that
  // correlation with the source's over the tones.
  static constexpr float kLeastCorrelation = 0.93f;
  ShadeCurve(const Tones& tones, Bgr shade, float least_correlation = kLeastCorrelation);
  // Every channel within 1..254.
  Bgr ColourFor(float source_lightness) const;
  // The mean colour the curve gives the tones: the shade's, or the nearest it could reach.
  Oklab Reached() const { return reached_; }

 private:
  ShadeCurve(const Tones& tones, Bgr shade, float least_correlation, bool within_lightest);
  struct Means {
    double L = 0, a = 0, b = 0, C = 0;  // C: the mean chroma along the shade's hue
    double spread = 0;                  // standard deviation of GreyLightness
    double r = 1;                       // Pearson's, of the OKLab L against the source's
  };
  struct Source {
    float mean = 0, sd = 0;            // of the tones' lightness
    float seen_mean = 0, seen_sd = 0;  // of their CIE lightness
    float sd_above = 0;                // of the tones above the mean, from it
  };
  static Source SourceOf(const Tones& tones);
  float Lightness(float source) const;
  float Hue(float L) const;
  Oklab At(float L, float C) const;  // the colour of that lightness and chroma at its hue
  float Chroma(float L) const;
  float ChromaLimit(float L) const;
  Means MeansOver(const Tones& tones) const;
  void Aim(float oklab_L);
  void SetContrast(float below);
  Means SettleAt(const Tones& tones, float contrast);
  Means Fit(const Tones& tones, float wanted_spread);

  static constexpr int kLimitKnots = 48;
  // The shade in polar form; target_L_ is where the fit aims, which may differ from the shade.
  float target_L_ = 0, target_C_ = 0, target_h_ = 0, cos_h_ = 1, sin_h_ = 0;
  float target_P_ = 0, knee_lo_ = 0, knee_hi_ = 1;  // in GreyLightness
  bool warm_ = false;                               // a brown, copper or blonde: golden sheen
  Source source_;
  std::vector<float> from_;  // the tones' OKLab L
  float contrast_ = 1, contrast_above_ = 1, shift_ = 0, gain_ = 1;
  std::array<float, kLimitKnots + 1> limit_{};
  Oklab reached_;
  float spread_ = 0;
  float least_correlation_ = kLeastCorrelation;
};

}  // namespace coiffure
