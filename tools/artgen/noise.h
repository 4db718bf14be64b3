// Deterministic random numbers and smooth noise: the artwork must be identical on every build.
#pragma once

#include <cstdint>

namespace coiffure::art {

// splitmix64: fixed output for a fixed seed on every platform and library.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed) {}
  uint64_t Next();
  float Uniform();  // [0, 1)
  float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }
  int Int(int n);  // [0, n)

 private:
  uint64_t s_;
};

// Hash of a lattice point to [0, 1).
float Hash2(int x, int y, uint32_t seed);
// Smooth value noise in [0, 1], one lattice cell per unit.
float ValueNoise(float x, float y, uint32_t seed);
// Sum of octaves of value noise, in [0, 1].
float Fbm(float x, float y, uint32_t seed, int octaves);

}  // namespace coiffure::art
