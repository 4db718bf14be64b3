#include "noise.h"

#include <cmath>

namespace coiffure::art {

uint64_t Rng::Next() {
  uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

float Rng::Uniform() {
  return static_cast<float>(Next() >> 40) / static_cast<float>(1ull << 24);
}

int Rng::Int(int n) {
  return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n));
}

float Hash2(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^
               seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  return static_cast<float>(h >> 8) / static_cast<float>(1u << 24);
}

float ValueNoise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const float a = Hash2(ix, iy, seed), b = Hash2(ix + 1, iy, seed);
  const float c = Hash2(ix, iy + 1, seed), d = Hash2(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

float Fbm(float x, float y, uint32_t seed, int octaves) {
  float sum = 0, amp = 1, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * ValueNoise(x, y, seed + 101u * static_cast<uint32_t>(i));
    norm += amp;
    amp *= 0.5f;
    x *= 2.03f;
    y *= 2.03f;
  }
  return sum / norm;
}

}  // namespace coiffure::art
