// The shipped hairstyles. Each is placed over the common head position of HeadFrame.
#include "hair_styles.h"

#include <algorithm>
#include <cmath>

#include "hair_shapes.h"

namespace coiffure::art {
namespace {

constexpr float kCx = HeadFrame::kCx;

const HairPalette kGrey{Rgb8(150, 148, 146), Rgb8(215, 215, 220), Rgb8(190, 190, 190)};
const HairPalette kBuzzDark{Rgb8(64, 54, 48), Rgb8(150, 140, 135), Rgb8(110, 96, 88)};

}  // namespace

HairStyle Bob(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.part_a = {136, 40};
  s.part_b = {132, 84};
  s.shape = [seed](Vec2 p) {
    const float cap = Ellipse(p, {kCx, 150}, 130, 128);
    const float body = Box(p, 42, 120, 298, 302, 46);
    float h = SmoothUnion(cap, body, 20) + Jag(p, 3, 14, seed);
    h = Cut(h, FaceOpening(p, 0, seed, -0.18f));
    return Cut(h, NeckOpening(p, 50));
  };
  s.flow = [](Vec2 p) {
    Vec2 f = FromParting(p, {136, 40}, 90, 200);
    const float in = SmoothStep(255, 300, p.y) * (p.x < kCx ? 0.7f : -0.7f);
    return Normalize({f.x + in, f.y});
  };
  s.tip_length = 7;
  return s;
}

HairStyle LongStraight(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.part_a = {kCx, 38};
  s.part_b = {kCx, 100};
  s.shape = [seed](Vec2 p) {
    const float cap = Ellipse(p, {kCx, 150}, 128, 128);
    const float body = Box(p, 40, 120, 300, 440, 34);
    float h = SmoothUnion(cap, body, 24) + Jag(p, 5, 18, seed);
    h = Cut(h, FaceOpening(p, 0, seed, 0, 16));
    return Cut(h, NeckOpening(p, 56));
  };
  s.flow = [](Vec2 p) { return FromParting(p, {kCx, 38}, 70, 170); };
  s.strand_length = 22;
  s.tip_length = 16;
  return s;
}

HairStyle Curly(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.shape = [seed](Vec2 p) {
    float h = Ellipse(p, {kCx, 172}, 160, 166) + Jag(p, 14, 20, seed);
    h = Cut(h, FaceOpening(p, -2, seed));
    return Cut(h, NeckOpening(p, 52));
  };
  s.flow = [seed](Vec2 p) {
    return Normalize(Lerp(FromParting(p, {kCx, 40}, 60, 160), Curls(p, 18, seed), 0.45f));
  };
  s.strand_length = 8;
  s.grain = 1.3f;
  s.tip_length = 4;
  s.tip_density = 0.5f;
  s.ringlets = 6;
  s.ringlet_radius = 8;
  s.ringlet_pitch = 13;
  return s;
}

HairStyle Pixie(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.part_a = {196, 46};
  s.part_b = {196, 46};
  s.shape = [seed](Vec2 p) {
    float cap = Intersect(Ellipse(p, {172, 142}, 122, 110), 212 - p.y) + Jag(p, 4, 10, seed);
    cap = Cut(cap, Union(FaceOpening(p, 0, seed), EarOpenings(p)));
    const float fringe = Intersect(Box(p, 74, 86, 236, 160, 24), 158 - (236 - p.x) * 0.2f - p.y);
    return Union(cap, fringe);
  };
  s.flow = [](Vec2 p) {
    const Vec2 crown = FromParting(p, {196, 46}, 160, 230);
    const float front = SmoothStep(70, 105, p.y) * (1 - SmoothStep(225, 250, p.x));
    return Normalize(Lerp(crown, Normalize({-0.85f, 0.55f}), front));
  };
  s.strand_length = 10;
  s.tip_length = 14;
  s.tip_density = 0.5f;
  return s;
}

HairStyle LongWavy(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.part_a = {142, 36};
  s.part_b = {138, 96};
  s.shape = [seed](Vec2 p) {
    const float cap = Ellipse(p, {kCx, 150}, 130, 128);
    const float spread = std::max(0.f, p.y - 200) * 0.08f;
    const float body = Box(p, 36 - spread, 120, 304 + spread, 440, 40);
    float h = SmoothUnion(cap, body, 24) + Jag(p, 7, 16, seed) + 3 * std::sin(p.y / 19);
    h = Cut(h, FaceOpening(p, 0, seed, -0.14f, 6));
    return Cut(h, NeckOpening(p, 54));
  };
  s.flow = [](Vec2 p) {
    const Vec2 f = FromParting(p, {142, 36}, 70, 170);
    return Waved(f, p, 0.45f * SmoothStep(110, 200, p.y), 64);
  };
  s.strand_length = 16;
  s.tip_length = 16;
  return s;
}

HairStyle Bangs(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s = LongStraight(name, pal, seed);
  const auto base = s.shape;
  s.part_a = s.part_b = {kCx, 30};
  s.shape = [base, seed](Vec2 p) {
    return Union(base(p), Box(p, 80, 96, 260, 166, 18) + Jag(p, 2, 6, seed + 5));
  };
  s.flow = [](Vec2 p) {
    const Vec2 f = FromParting(p, {kCx, 30}, 70, 170);
    const float fringe = (1 - SmoothStep(90, 110, std::abs(p.x - kCx))) * SmoothStep(60, 100, p.y);
    return Normalize(Lerp(f, Normalize({(p.x - kCx) * 0.002f, 1}), fringe));
  };
  s.tip_length = 10;
  s.tip_density = 0.6f;
  return s;
}

HairStyle Layered(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.part_a = {200, 36};
  s.part_b = {204, 90};
  s.shape = [seed](Vec2 p) {
    const float cap = Ellipse(p, {kCx, 150}, 132, 128);
    const float body = Box(p, 38, 120, 302, 362, 56);
    float h = SmoothUnion(cap, body, 24) + Jag(p, 8, 14, seed);
    h = Cut(h, FaceOpening(p, 0, seed, 0.16f, 6));
    return Cut(h, NeckOpening(p, 52));
  };
  s.flow = [](Vec2 p) {
    const Vec2 f = FromParting(p, {200, 36}, 80, 180);
    const float flick = SmoothStep(290, 350, p.y) * (p.x < kCx ? -0.9f : 0.9f);
    return Normalize({f.x + flick, f.y});
  };
  s.strand_length = 12;
  s.tip_length = 22;
  s.tip_density = 0.5f;
  return s;
}

HairStyle ShortVolume(const std::string& name, const HairPalette& pal, uint32_t seed) {
  HairStyle s{name, pal};
  s.seed = seed;
  s.part_a = {198, 30};
  s.part_b = {198, 30};
  s.shape = [seed](Vec2 p) {
    const float cap = Ellipse(p, {kCx, 140}, 138, 122);
    const float sides = Box(p, 42, 120, 298, 252, 40);
    float h = SmoothUnion(cap, sides, 20) + Jag(p, 5, 12, seed);
    return Cut(h, FaceOpening(p, 2, seed, 0.2f));
  };
  s.flow = [](Vec2 p) {
    const Vec2 f = FromParting(p, {198, 30}, 120, 230);
    const float sweep = SmoothStep(90, 130, p.y) * (1 - SmoothStep(220, 250, p.x));
    return Normalize(Lerp(f, Normalize({-1, 0.5f}), sweep * 0.6f));
  };
  s.strand_length = 12;
  s.tip_length = 10;
  return s;
}

std::vector<HairStyle> LibraryStyles() {
  return {
      Bob("bob_chestnut", kChestnut, 11),
      LongStraight("long_straight_darkbrown", kDarkBrown, 12),
      LongWavy("long_wavy_auburn", kAuburn, 13),
      Curly("curly_brown", kBrown, 14),
      Bangs("bangs_black", kBlack, 15),
      Ponytail("ponytail_chestnut", kChestnut, 16),
      Bun("bun_blonde", kBlonde, 17),
      Pixie("pixie_blonde", kBlonde, 18),
      Afro("afro_black", kBlack, 19),
      Crop("crop_darkbrown", kDarkBrown, 20),
      SidePart("sidepart_black", kBlack, 21),
      Buzz("buzz_black", kBuzzDark, 22),
      Layered("layered_blonde", kBlonde, 23),
      ShortVolume("short_grey", kGrey, 24),
      LongWavy("long_wavy_blonde", kBlonde, 25),
      Bob("bob_black", kBlack, 26),
  };
}

HairStyle DefaultStyle() {
  return Layered("fx1", kDarkBrown, 1);
}

}  // namespace coiffure::art
