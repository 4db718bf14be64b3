// Hair of many locks: plaited braids and dreadlocks, for the cut-out's test portraits.
#pragma once

#include <string>

#include "hair.h"

namespace coiffure::art {

HairStyle Braids(const std::string& name, const HairPalette& pal, uint32_t seed);
HairStyle Dreadlocks(const std::string& name, const HairPalette& pal, uint32_t seed);

}  // namespace coiffure::art
