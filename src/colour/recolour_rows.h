// The recolouring's per-pixel work on rows of 24-bit pixels: each pixel's lightness level, the
// hair's count of each level, and the level's colour written back.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/loops.h"

namespace coiffure {

// A pixel's level is its luma (0.114 blue, 0.587 green, 0.299 red of the encoded bytes) in
// quarter steps, 0..1020; encoded luma is spaced about as the eye sees lightness, so no two
// visibly different strands share a level. Pixels whose mask is pure white get kOffLevel.
inline constexpr int kHairLevels = 1021;
inline constexpr int kOffLevel = 1027;
inline constexpr int kLevelSlots = 1028;
// A level's code: its luma's byte, level / 4. The curve is fitted to the counts of codes.
inline constexpr int kCodes = 256;

inline int LevelOf(const uint8_t* bgr) {
  return (29 * bgr[0] + 150 * bgr[1] + 77 * bgr[2]) >> 6;
}

// Eight counts a code, for neighbouring pixels in turn, so that a run of one code does not wait
// on its own increments; the sum of the eight is the code's count (kOffLevel's code, 256, is
// unused). The tables lie 1088 bytes apart, not a multiple of 4096: at that distance some
// processors take a table's store for the next table's load and stall on it.
inline constexpr int kCountWays = 8;
using LevelCounts = std::array<std::array<uint32_t, kCodes + 16>, kCountWays>;

// The colour of each level, packed blue | green << 8 | red << 16 (little-endian in memory as the
// row's bytes are); kOffLevel's is black.
using LevelColours = std::array<uint32_t, kLevelSlots>;

// The two passes over a row; `loops` picks the form (every form gives the same bits).
// First: adds the codes of the row's hair pixels to counts.
void CountRowLevels(const uint8_t* colour, const uint8_t* mask, int width, LevelCounts& counts,
                    Loops loops = BestLoops());
// Second: gives each pixel of out colours[its level], black where the mask is pure white.
void WriteRowColours(const uint8_t* colour, const uint8_t* mask, int width,
                     const LevelColours& colours, uint8_t* out, Loops loops = BestLoops());

}  // namespace coiffure
