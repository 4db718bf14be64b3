// Portraits with a known hair mask: a person (face, neck, shoulders in clothes) with a hairstyle
// of the library's renderer over a backdrop, as a camera would take them (soft focus, sensor
// noise), for measuring the hair cut-out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hair.h"
#include "imaging/picture.h"

namespace coiffure::art {

enum class Backdrop { kPlain, kSky, kFoliage, kWoodGrain, kBrick };

struct Sitting {
  std::string name;  // e.g. "curly_similar"
  std::string kind;  // straight, wavy, curly, kinky, braids, dreadlocks, short
  HairStyle style;
  Backdrop backdrop = Backdrop::kPlain;
  Rgb backdrop_colour;  // plain, grain and brick; the second colour of foliage is darker
  Rgb skin, clothes;
  uint32_t seed = 1;
  int blur = 1;     // passes of the soft-focus kernel: 2 and more for a camera out of focus
  float noise = 1;  // sensor noise, relative
};

struct Portrait {
  Picture photo;              // 24 bits
  std::vector<uint8_t> hair;  // 1 on the hair, a byte a pixel, top row first
};

// The person's frame is 440 x 540 units, drawn at `scale` pixels a unit.
inline constexpr int kPortraitWidth = 440, kPortraitHeight = 540;

Portrait DrawPortrait(const Sitting& sitting, float scale);

// Every kind of hair over backdrops of similar and of different colour, sky behind fine
// strands, textured backdrops.
std::vector<Sitting> PortraitSittings();

// Another set of the same kinds of hair for figures nobody tuned to: the backdrops, skins and
// clothes dealt out again, every other backdrop in the hair's own colour, other noise.
std::vector<Sitting> HeldOutSittings();

}  // namespace coiffure::art
