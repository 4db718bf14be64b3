#include "colour/recolour_rows.h"

#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define COIFFURE_RECOLOUR_SSE2 1
#endif

namespace coiffure {

namespace {

// Rows are walked in runs of 16 pixels; a run whose mask is all white or all black (most of
// them: hair and background come in patches) is handled without looking at each mask pixel.
constexpr int kRun = 16;
// A run's vector loads read up to 4 bytes past it, which must still be in the row.
constexpr int kRunReach = kRun + 2;
enum class Run { kOff, kHair, kMixed };

inline bool IsWhite(const uint8_t* m) {
  return (m[0] & m[1] & m[2]) == 255;
}

Run ClassifyRun(const uint8_t* mask) {
  uint64_t all = ~uint64_t{0}, any = 0;
  for (int i = 0; i < 3 * kRun; i += 8) {
    uint64_t v;
    std::memcpy(&v, mask + i, 8);
    all &= v, any |= v;
  }
  return all == ~uint64_t{0} ? Run::kOff : any == 0 ? Run::kHair : Run::kMixed;
}

#ifdef COIFFURE_RECOLOUR_SSE2

// The four pixels in the first 12 of 16 bytes, one to a 32-bit lane: blue, green, red, 0.
inline __m128i SpreadPixels(const uint8_t* p) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i lane0 = _mm_setr_epi32(0xFFFFFF, 0, 0, 0), lane1 = _mm_slli_si128(lane0, 4);
  const __m128i lane2 = _mm_slli_si128(lane0, 8), lane3 = _mm_slli_si128(lane0, 12);
  return _mm_or_si128(
      _mm_or_si128(_mm_and_si128(x, lane0), _mm_and_si128(_mm_slli_si128(x, 1), lane1)),
      _mm_or_si128(_mm_and_si128(_mm_slli_si128(x, 2), lane2),
                   _mm_and_si128(_mm_slli_si128(x, 3), lane3)));
}

// Levels of four spread pixels: blue and red weighed in one multiply-add, green in another.
inline __m128i LevelsOf(__m128i px) {
  const __m128i blue_red = _mm_and_si128(px, _mm_set1_epi32(0x00FF00FF));
  const __m128i green = _mm_srli_epi16(px, 8);
  const __m128i sum = _mm_add_epi32(_mm_madd_epi16(blue_red, _mm_set1_epi32(77 << 16 | 29)),
                                    _mm_madd_epi16(green, _mm_set1_epi32(150)));
  return _mm_srli_epi32(sum, 6);
}

// The levels of one run, kOffLevel where the mask is white when `masked`.
inline __m128i FourLevels(const uint8_t* colour, const uint8_t* mask, bool masked) {
  const __m128i levels = LevelsOf(SpreadPixels(colour));
  if (!masked) return levels;
  const __m128i off = _mm_cmpeq_epi32(SpreadPixels(mask), _mm_set1_epi32(0xFFFFFF));
  return _mm_or_si128(_mm_andnot_si128(off, levels), _mm_and_si128(off, _mm_set1_epi32(kOffLevel)));
}

inline void RunLevels(const uint8_t* colour, const uint8_t* mask, bool masked, uint16_t* out) {
  for (int i = 0; i < kRun; i += 8) {
    const __m128i lo = FourLevels(colour + 3 * i, mask + 3 * i, masked);
    const __m128i hi = FourLevels(colour + 3 * i + 12, mask + 3 * i + 12, masked);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(lo, hi));
  }
}

#else

inline void RunLevels(const uint8_t* colour, const uint8_t* mask, bool masked, uint16_t* out) {
  for (int i = 0; i < kRun; ++i)
    out[i] = static_cast<uint16_t>(masked && IsWhite(mask + 3 * i) ? kOffLevel
                                                                   : LevelOf(colour + 3 * i));
}

#endif

inline int PixelLevel(const uint8_t* colour, const uint8_t* mask, int x) {
  return IsWhite(mask + 3 * x) ? kOffLevel : LevelOf(colour + 3 * x);
}

}  // namespace

void CountRowLevels(const uint8_t* colour, const uint8_t* mask, int width, LevelCounts& counts,
                    uint8_t* out) {
  int x = 0;
  uint16_t levels[kRun];
  for (; x + kRunReach <= width; x += kRun) {
    const Run run = ClassifyRun(mask + 3 * x);
    if (run == Run::kOff) {
      std::memset(out + 3 * x, 0, 3 * kRun);
      continue;
    }
    RunLevels(colour + 3 * x, mask + 3 * x, run == Run::kMixed, levels);
    for (int i = 0; i < kRun; ++i) ++counts[i % kCountWays][levels[i] >> 2];
    std::memcpy(out + 3 * x, levels, sizeof levels);
  }
  for (; x < width; ++x) ++counts[0][PixelLevel(colour, mask, x) >> 2];
}

void WriteRowColours(const uint8_t* colour, const uint8_t* mask, int width,
                     const std::array<uint32_t, kLevelSlots>& colours, uint8_t* out) {
  int x = 0;
  for (; x + kRunReach <= width; x += kRun) {
    if (ClassifyRun(mask + 3 * x) == Run::kOff) continue;  // already black
    uint16_t parked[kRun];
    std::memcpy(parked, out + 3 * x, sizeof parked);
    uint8_t* o = out + 3 * x;
    // One 4-byte store a pixel, its fourth byte landing on the next pixel, written after it;
    // the run's last pixel stops at its own three bytes, the next run's levels are past them.
    for (int i = 0; i + 1 < kRun; ++i) std::memcpy(o + 3 * i, &colours[parked[i]], 4);
    std::memcpy(o + 3 * (kRun - 1), &colours[parked[kRun - 1]], 3);
  }
  for (; x < width; ++x) std::memcpy(out + 3 * x, &colours[PixelLevel(colour, mask, x)], 3);
}

}  // namespace coiffure
