#include "hair_plaits.h"

#include <cmath>
#include <memory>

#include "hair_shapes.h"
#include "noise.h"

namespace coiffure::art {
namespace {

constexpr float kCx = HeadFrame::kCx;

// The hair close over the skull, the face and ears left free.
float Cap(Vec2 p, float grow, uint32_t seed) {
  const float cap = Intersect(Ellipse(p, HeadFrame::kSkull, HeadFrame::kSkullRx + grow,
                                      HeadFrame::kSkullRy + grow * 0.6f),
                              230 - p.y) +
                    Jag(p, 2, 8, seed);
  return Cut(Cut(cap, FaceOpening(p, 0, seed)), EarOpenings(p));
}

// A lock hanging from (x, top) to `bottom`, swaying a little.
std::vector<Vec2> Lock(float x, float top, float bottom, float sway, uint32_t seed) {
  Rng rng(seed);
  const float bend = rng.Range(-sway, sway);
  return Bezier({x, top}, {x + bend * 0.3f, top + (bottom - top) * 0.35f},
                {x + bend, top + (bottom - top) * 0.7f}, {x + bend * 1.2f, bottom}, 16);
}

}  // namespace

HairStyle Braids(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.part_a = {kCx, 30};
  s.part_b = {kCx, 120};
  static const std::vector<Vec2> left = Lock(66, 190, 430, 14, 5);
  static const std::vector<Vec2> right = Lock(274, 190, 430, 14, 6);
  // The plait's lobes: its width pulses along the braid.
  s.shape = [seed](Vec2 p) {
    float best = Cap(p, 4, seed);
    for (const auto* braid : {&left, &right}) {
      const float d = Tube(p, *braid, 17, 11, nullptr);
      const float lobes = 3.5f * std::abs(std::sin(p.y * 0.2f));
      best = Union(best, d - lobes + 2);
    }
    return best;
  };
  s.flow = [seed](Vec2 p) {
    if (p.y > 200) {
      // Strands cross the braid diagonally, the other way in every lobe.
      const float side = std::sin(p.y * 0.2f) > 0 ? 0.8f : -0.8f;
      return Normalize({side, 1});
    }
    return FromParting(p, {kCx, 30}, 160, 230);
  };
  s.strand_length = 7;
  s.tip_length = 4;
  s.flyaways = 0.6f;
  return s;
}

HairStyle Dreadlocks(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  auto locks = std::make_shared<std::vector<std::vector<Vec2>>>();
  Rng rng(seed * 31 + 3);
  for (int i = 0; i < 17; ++i) {
    const float x = 46 + i * 15.5f + rng.Range(-4, 4);
    const bool front = std::abs(x - kCx) < 95;  // over the face they would hide it
    const float top = front ? 150 : 110;
    const float bottom = front ? rng.Range(150, 175) : rng.Range(330, 430);
    locks->push_back(Lock(x, top, bottom, 18, seed + i));
  }
  s.shape = [seed, locks](Vec2 p) {
    float best = Cap(p, 8, seed);
    for (const auto& lock : *locks)
      best = Union(best, Tube(p, lock, 8, 6, nullptr) + Jag(p, 1.5f, 4, seed));
    return best;
  };
  s.flow = [locks](Vec2 p) {
    Vec2 along{0, 1};
    float best = -1e9f;
    for (const auto& lock : *locks) {
      Vec2 dir;
      const float d = Tube(p, lock, 8, 6, &dir);
      if (d > best) best = d, along = dir;
    }
    return best > -3 && p.y > 150 ? along : FromParting(p, {kCx, 60}, 140, 220);
  };
  s.strand_length = 5;
  s.grain = 1.4f;
  s.tip_length = 3;
  s.tip_density = 0.5f;
  s.flyaways = 0.8f;
  return s;
}

}  // namespace coiffure::art
