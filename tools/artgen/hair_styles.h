// Hairstyle families; each takes the file name, the colour and a noise seed.
#pragma once

#include <string>

#include "hair.h"

namespace coiffure::art {

// The hair colours the styles and the portraits are drawn in.
inline constexpr HairPalette kBlack{Rgb8(30, 26, 26), Rgb8(150, 150, 168), Rgb8(70, 62, 62)};
inline constexpr HairPalette kDarkBrown{Rgb8(66, 40, 25), Rgb8(190, 150, 115), Rgb8(120, 80, 50)};
inline constexpr HairPalette kChestnut{Rgb8(112, 60, 30), Rgb8(235, 180, 125), Rgb8(170, 100, 50)};
inline constexpr HairPalette kBlonde{Rgb8(196, 158, 96), Rgb8(255, 240, 205), Rgb8(230, 200, 140)};
inline constexpr HairPalette kAuburn{Rgb8(138, 54, 26), Rgb8(250, 175, 125), Rgb8(200, 90, 50)};
inline constexpr HairPalette kBrown{Rgb8(92, 60, 38), Rgb8(215, 175, 135), Rgb8(150, 100, 60)};

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
