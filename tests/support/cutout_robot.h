// A scripted operator for the hair cut-out: a box around the true hair with a small margin, a
// stroke on the hair at its heart and one on what is not hair inside the box, then one
// corrective stroke at a time at the heart of the largest wrong region.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "cutout/cutout.h"

namespace coiffure::robot {

// A true mask: 1 on the hair, a byte a pixel.
struct Truth {
  int width = 0, height = 0;
  std::vector<uint8_t> hair;
};

// Chamfer distance from each pixel inside `in` to the nearest pixel outside it.
std::vector<float> DistanceInside(const std::vector<uint8_t>& in, int width, int height);

double Iou(const std::vector<uint8_t>& alpha, const Truth& truth);  // at alpha >= 128

struct Dab {
  cutout::Point at;
  float radius = 1;
  cutout::Mark kind = cutout::Mark::kHair;
};

// The box and the first two strokes.
cutout::Marks FirstMarks(const Truth& truth);
// The stroke the largest wrong region of this matte asks for; nothing when none is wrong.
std::optional<Dab> Correction(const Truth& truth, const std::vector<uint8_t>& alpha);
void Apply(cutout::Marks& marks, const Dab& dab);

struct Run {
  double first_iou = 0;  // after the box and the first two strokes
  int clicks_to_90 = 0;  // corrective strokes until IoU >= 0.90; kNever when not within the cap
  double final_iou = 0;
  std::vector<uint8_t> first_alpha;  // the matte after the first strokes
  std::vector<uint8_t> final_alpha;
  static constexpr int kNever = 11;
};
inline constexpr int kStrokeCap = 10;

Run Operate(const cutout::Session& session, const Truth& truth, double target = 0.90);

}  // namespace coiffure::robot
