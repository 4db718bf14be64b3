// Colours in OKLab (Björn Ottosson, 2020): a perceptual space in which equal distances look
// about equally different, reached from 8-bit sRGB through linear light.
#pragma once

#include <cstdint>

#include "imaging/picture.h"

namespace coiffure {

struct LinearRgb {
  float r = 0, g = 0, b = 0;
};

// L from 0 (black) to 1 (white); a from green to red, b from blue to yellow.
struct Oklab {
  float L = 0, a = 0, b = 0;
};

// The sRGB transfer curve, values 0..1.
float SrgbToLinear(float encoded);
float LinearToSrgb(float linear);
// The same for a byte, from a table.
float ByteToLinear(uint8_t encoded);
// A linear value 0..1 (clamped) to its nearest byte, without a power function.
uint8_t LinearToByte(float linear);

Oklab LinearToOklab(LinearRgb c);
LinearRgb OklabToLinear(Oklab c);

Oklab BgrToOklab(Bgr c);
// Rounded to the nearest byte, each channel clamped to 0..255.
Bgr OklabToBgr(Oklab c);

float DeltaE(Oklab x, Oklab y);

}  // namespace coiffure
