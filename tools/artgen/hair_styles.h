// Hairstyle families; each takes the file name, the colour and a noise seed.
#pragma once

#include <string>

#include "hair.h"

namespace coiffure::art {

HairStyle Bob(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle LongStraight(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle LongWavy(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle Bangs(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle Layered(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle ShortVolume(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle Curly(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle Pixie(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle Ponytail(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle Bun(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle Afro(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle Crop(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle SidePart(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle Buzz(const std::string& name, const HairPalette& pal, uint32_t seed);

}  // namespace coiffure::art
