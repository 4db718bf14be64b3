// The customer's own hair in another colour: the hair of the customer photo, marked by the soft
// matte of a cut-out, recoloured through the same curve as the colour variants of styles.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "colour/recolour.h"
#include "imaging/picture.h"

namespace coiffure {

class OwnHair {
 public:
  // Reads the photo's hair once: each pixel's level and the hair's weight at each code, a
  // pixel weighing what its matte says (a strand at 40 % counts 40 %). That is all of the work
  // that does not depend on the shade, so a change of shade reuses it. matte: a byte a pixel
  // of the photo's size, top row first, 255 on the hair, 0 off it, in between along its edge.
  // Throws std::invalid_argument when the matte is not of the photo's size.
  OwnHair(const Picture& photo, std::span<const uint8_t> matte);

  int Width() const { return photo_.Width(); }
  int Height() const { return photo_.Height(); }
  // False when the matte marks no hair: every shade then gives the photo unchanged.
  bool HasHair() const { return has_hair_; }

  // The photo with its hair in the shade (out's memory reused when it has the size): a pixel
  // whose matte is 0 keeps the photo's bytes and one at 255 takes its level's colour. One in
  // between is a strand covering that share of the pixel over the skin or background behind
  // it: it takes that share of the change its strand's colour undergoes, in linear light.
  ShadeReach Recolour(Bgr shade, Picture& out) const;

  // Pearson's r of the OKLab lightness, result against photo, over the pixels whose matte is
  // at least half: the hair as the operator cut it, its edge included.
  double LightnessCorrelation(const LevelColours& colours) const;

 private:
  // A pixel along the hair's edge: its strand's colour, in linear light, taken from the hair
  // nearest it, and that colour's level; the pixel's own OKLab lightness where the correlation
  // counts it (-1: not).
  struct Edge {
    size_t pixel;
    float strand[3];
    uint16_t level;
    float lightness;
  };
  void FindStrands();
  Bgr EdgeColour(const Edge& e, const LevelColours& colours) const;
  ShadeReach FitColours(Bgr shade, LevelColours& colours) const;

  Picture photo_;
  std::vector<uint8_t> matte_;
  std::vector<uint16_t> levels_;  // a pixel's level, where its matte is 255
  std::vector<Edge> edges_;
  // Over the pixels whose matte is 255, by level: how many, and the sum of their OKLab
  // lightness; and the sums over all the pixels the correlation is taken on.
  std::vector<uint32_t> level_pixels_;
  std::vector<double> level_lightness_;
  double lightness_sum_ = 0, lightness_squares_ = 0, counted_ = 0;
  CodeWeights weights_{};
  bool has_hair_ = false;
};

}  // namespace coiffure
