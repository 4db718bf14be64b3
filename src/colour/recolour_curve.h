// The tone curve of a colour variant: from a hair pixel's source lightness to its new colour.
#pragma once

#include <array>
#include <vector>

#include "imaging/oklab.h"

namespace coiffure {

// The source hair's lightnesses (OKLab L) with the share of the hair each has.
struct Tones {
  std::vector<float> lightness, share;
};

class ShadeCurve {
 public:
  // Fitted so that over the tones the result's mean OKLab colour is the shade's.
  ShadeCurve(const Tones& tones, Bgr shade);
  // Every channel within 1..254.
  Bgr ColourFor(float source_lightness) const;

 private:
  struct Means {
    double L = 0, C = 0;  // C: the mean colour's chroma along the shade's hue
  };
  float Lightness(float source) const;
  float Hue(float L) const;
  Oklab At(float L, float C) const;  // the colour of that lightness and chroma at its hue
  float Chroma(float L) const;
  float ChromaLimit(float L) const;
  Means MeansOver(const Tones& tones) const;
  void FitContrast(const Tones& tones);
  void FitShiftAndGain(const Tones& tones);

  static constexpr int kLimitKnots = 48;
  // The shade in polar form.
  float target_L_ = 0, target_C_ = 0, target_h_ = 0, cos_h_ = 1, sin_h_ = 0;
  bool warm_ = false;  // a brown, copper or blonde, whose sheen turns golden
  float source_mean_ = 0, contrast_below_ = 1, contrast_above_ = 1, shift_ = 0, gain_ = 1;
  float knee_lo_ = 0, knee_hi_ = 1;
  std::array<float, kLimitKnots + 1> limit_{};
};

}  // namespace coiffure
