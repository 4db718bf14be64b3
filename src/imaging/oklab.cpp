#include "imaging/oklab.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace coiffure {

namespace {

std::array<float, 256> MakeByteTable() {
  std::array<float, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = SrgbToLinear(i / 255.0f);
  return t;
}

// Rounds a linear value to its byte as the curve would, without a power function: the linear
// values halfway between neighbouring bytes, and for each of 4096 even steps of the linear
// range the first byte whose upper bound lies above it, from which at most a few bounds are
// passed.
struct ByteRounding {
  static constexpr int kSteps = 4096;
  std::array<float, 256> bound{};  // bound[255] is above every value
  std::array<uint8_t, kSteps + 1> start{};
  ByteRounding() {
    for (int i = 0; i < 255; ++i) bound[i] = SrgbToLinear((i + 0.5f) / 255.0f);
    bound[255] = 2;
    int b = 0;
    for (int s = 0; s <= kSteps; ++s) {
      while (bound[b] <= static_cast<float>(s) / kSteps) ++b;
      start[s] = static_cast<uint8_t>(b);
    }
  }
};

uint8_t ToByte(float linear) {
  static const ByteRounding r;
  const float v = std::clamp(linear, 0.0f, 1.0f);
  int b = r.start[static_cast<int>(v * ByteRounding::kSteps)];
  while (v >= r.bound[b]) ++b;
  return static_cast<uint8_t>(b);
}

}  // namespace

float SrgbToLinear(float v) {
  return v <= 0.04045f ? v / 12.92f : std::pow((v + 0.055f) / 1.055f, 2.4f);
}

float LinearToSrgb(float v) {
  return v <= 0.0031308f ? v * 12.92f : 1.055f * std::pow(v, 1 / 2.4f) - 0.055f;
}

uint8_t LinearToByte(float linear) {
  return ToByte(linear);
}

float ByteToLinear(uint8_t encoded) {
  static const std::array<float, 256> table = MakeByteTable();
  return table[encoded];
}

Oklab LinearToOklab(LinearRgb c) {
  const float l = std::cbrt(0.4122214708f * c.r + 0.5363325363f * c.g + 0.0514459929f * c.b);
  const float m = std::cbrt(0.2119034982f * c.r + 0.6806995451f * c.g + 0.1073969566f * c.b);
  const float s = std::cbrt(0.0883024619f * c.r + 0.2817188376f * c.g + 0.6299787005f * c.b);
  return {0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
          1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
          0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
}

LinearRgb OklabToLinear(Oklab c) {
  const float l = c.L + 0.3963377774f * c.a + 0.2158037573f * c.b;
  const float m = c.L - 0.1055613458f * c.a - 0.0638541728f * c.b;
  const float s = c.L - 0.0894841775f * c.a - 1.2914855480f * c.b;
  const float l3 = l * l * l, m3 = m * m * m, s3 = s * s * s;
  return {4.0767416621f * l3 - 3.3077115913f * m3 + 0.2309699292f * s3,
          -1.2684380046f * l3 + 2.6097574011f * m3 - 0.3413193965f * s3,
          -0.0041960863f * l3 - 0.7034186147f * m3 + 1.7076147010f * s3};
}

Oklab BgrToOklab(Bgr c) {
  return LinearToOklab({ByteToLinear(c.r), ByteToLinear(c.g), ByteToLinear(c.b)});
}

Bgr OklabToBgr(Oklab c) {
  const LinearRgb lin = OklabToLinear(c);
  return {ToByte(lin.b), ToByte(lin.g), ToByte(lin.r)};
}

float DeltaE(Oklab x, Oklab y) {
  return std::hypot(x.L - y.L, x.a - y.a, x.b - y.b);
}

}  // namespace coiffure
