// More shipped hairstyles: up-dos, textured and men's cuts.
#include <cmath>

#include "hair_shapes.h"
#include "hair_styles.h"

namespace coiffure::art {
namespace {
constexpr float kCx = HeadFrame::kCx;

// The hair over the skull only, down to `bottom` at the sides, ears left free.
float ShortCap(Vec2 p, float grow, float bottom, uint32_t seed) {
  const float cap = Intersect(Ellipse(p, HeadFrame::kSkull, HeadFrame::kSkullRx + grow,
                                      HeadFrame::kSkullRy + grow * 0.6f),
                              bottom - p.y) +
                    Jag(p, 3, 8, seed);
  return Cut(Cut(cap, FaceOpening(p, 0, seed)), EarOpenings(p));
}
}  // namespace

HairStyle Ponytail(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  static const std::vector<Vec2> tail = Bezier({238, 62}, {318, 76}, {324, 230}, {294, 384}, 24);
  s.shape = [seed](Vec2 p) {
    const float tube = Tube(p, tail, 30, 11, nullptr) + Jag(p, 4, 9, seed);
    return Union(ShortCap(p, 4, 215, seed), tube);
  };
  s.flow = [](Vec2 p) {
    Vec2 along;
    const float tube = Tube(p, tail, 30, 11, &along);
    const Vec2 back = Normalize(Vec2{238, 62} - p);
    return tube > -4 && p.x > 236 ? along : back;
  };
  s.strand_length = 18;
  s.tip_length = 14;
  s.flyaways = 0.5f;
  return s;
}

HairStyle Bun(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  const Vec2 knot{kCx, 40};
  s.shape = [seed, knot](Vec2 p) {
    return Union(ShortCap(p, 4, 215, seed), Ellipse(p, knot, 56, 38) + Jag(p, 3, 8, seed));
  };
  s.flow = [seed, knot](Vec2 p) {
    if (Ellipse(p, knot, 56, 38) > -2)
      return Normalize(Lerp(Around(p, knot), Curls(p, 30, seed), 0.2f));
    return Normalize(knot - p);
  };
  s.strand_length = 16;
  s.tip_length = 6;
  s.flyaways = 0.5f;
  return s;
}

HairStyle Afro(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.shape = [seed](Vec2 p) {
    float h = Ellipse(p, {kCx, 160}, 166, 152) + Jag(p, 7, 9, seed);
    return Cut(Cut(h, FaceOpening(p, 0, seed)), NeckOpening(p, 56));
  };
  s.flow = [seed](Vec2 p) { return Curls(p, 6, seed); };
  s.strand_length = 3;
  s.tip_length = 4;
  s.tip_density = 0.9f;
  s.flyaways = 0.3f;
  return s;
}

HairStyle Crop(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.shape = [seed](Vec2 p) {
    return Cut(ShortCap(p, 6, 200, seed), Ellipse(p, {kCx, 178}, 90, 52) + Jag(p, 4, 5, seed));
  };
  s.flow = [](Vec2 p) { return FromParting(p, {kCx, 48}, 150, 210); };
  s.strand_length = 6;
  s.tip_length = 8;
  s.tip_density = 0.6f;
  s.flyaways = 0.2f;
  return s;
}

HairStyle SidePart(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.part_a = {124, 40};
  s.part_b = {118, 116};
  s.shape = [seed](Vec2 p) {
    // Full on top, tapered short at the sides.
    const float taper = SmoothStep(120, 205, p.y) * 10;
    const float cap = ShortCap(p, 8 - taper, 205, seed);
    return Cut(cap, Ellipse(p, {kCx, 180}, 94, 60) + Jag(p, 2, 5, seed));
  };
  s.flow = [](Vec2 p) {
    if (p.x < 121) return Normalize({-0.4f, 1});
    // Combed over from the parting, lifting off the forehead, falling at the far side.
    const float lift = -0.35f * (1 - SmoothStep(100, 135, p.y));
    return Normalize({1, lift + 0.25f + 1.4f * SmoothStep(215, 285, p.x)});
  };
  s.strand_length = 20;
  s.tip_length = 4;
  s.flyaways = 0.2f;
  return s;
}

HairStyle Buzz(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.shape = [seed](Vec2 p) {
    return Cut(ShortCap(p, 2, 205, seed), Ellipse(p, {kCx, 178}, 92, 54));
  };
  s.flow = [](Vec2 p) { return FromParting(p, {kCx, 70}, 120, 200); };
  s.grain = 1.5f;
  s.strand_length = 3;
  s.scalp = 0.45f;
  s.tip_length = 2;
  s.flyaways = 0;
  return s;
}

}  // namespace coiffure::art
