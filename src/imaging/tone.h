// The photo's tone passes: brightness and contrast, each one pass over the rows, in place.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/picture.h"

namespace coiffure {

inline constexpr int kBrightnessStep = 20;

// Brightness: the photo is first converted to 24 bits, then every byte moves by 20, saturating.
void BrightnessUp(Picture& photo);
void BrightnessDown(Picture& photo);

// Contrast up moves every byte towards 255 by 13/255 of the distance; contrast down moves blue
// towards 0 by 13/255 and green and red by 14/255, truncated. A photo of another depth is
// converted to 24 bits first, so the pass never reads its rows as something they are not.
void ContrastUp(Picture& photo);
void ContrastDown(Picture& photo);

// The byte formulas, one value at a time, for callers that need a single byte.
constexpr uint8_t BrightnessUpByte(int c) {
  return static_cast<uint8_t>(c + kBrightnessStep > 255 ? 255 : c + kBrightnessStep);
}
constexpr uint8_t BrightnessDownByte(int c) {
  return static_cast<uint8_t>(c - kBrightnessStep < 0 ? 0 : c - kBrightnessStep);
}
constexpr uint8_t ContrastUpByte(int c) {
  return static_cast<uint8_t>(c + (255 - c) * 13 / 255);
}
// channel 0 is blue, 1 green, 2 red.
constexpr uint8_t ContrastDownByte(int c, int channel) {
  return static_cast<uint8_t>(c - c * (channel == 0 ? 13 : 14) / 255);
}

}  // namespace coiffure
