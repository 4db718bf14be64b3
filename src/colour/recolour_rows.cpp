#include "colour/recolour_rows.h"

#include <cstring>

#include "imaging/loops.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define COIFFURE_RECOLOUR_SSE2 1
#endif
#ifdef COIFFURE_X86_64
#include <immintrin.h>
#endif

#if defined(__GNUC__) || defined(__clang__)
#define COIFFURE_ALWAYS_INLINE __attribute__((always_inline))
#else
#define COIFFURE_ALWAYS_INLINE
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

#endif

#ifdef COIFFURE_X86_64

// Eight pixels, four to each half: each half's first 12 bytes spread one pixel to a 32-bit lane
// by a byte shuffle, which the plain SSE2 form spends ten instructions on.
COIFFURE_TARGET_AVX2 inline __m256i SpreadEight(const uint8_t* p) {
  const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                          1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m256i both = _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12)), 1);
  return _mm256_shuffle_epi8(both, spread);
}

COIFFURE_TARGET_AVX2 inline __m256i EightLevels(const uint8_t* colour, const uint8_t* mask,
                                                bool masked) {
  const __m256i px = SpreadEight(colour);
  const __m256i blue_red = _mm256_and_si256(px, _mm256_set1_epi32(0x00FF00FF));
  const __m256i green = _mm256_srli_epi16(px, 8);
  const __m256i levels = _mm256_srli_epi32(
      _mm256_add_epi32(_mm256_madd_epi16(blue_red, _mm256_set1_epi32(77 << 16 | 29)),
                       _mm256_madd_epi16(green, _mm256_set1_epi32(150))),
      6);
  if (!masked) return levels;
  const __m256i off = _mm256_cmpeq_epi32(SpreadEight(mask), _mm256_set1_epi32(0xFFFFFF));
  return _mm256_blendv_epi8(levels, _mm256_set1_epi32(kOffLevel), off);
}

// Sixteen pixels' levels, in order.
COIFFURE_TARGET_AVX2 inline __m256i SixteenLevels(const uint8_t* colour, const uint8_t* mask,
                                                  bool masked) {
  const __m256i first = EightLevels(colour, mask, masked);
  const __m256i second = EightLevels(colour + 24, mask + 24, masked);
  // The pack works within halves: put the four groups of four back in order.
  return _mm256_permute4x64_epi64(_mm256_packs_epi32(first, second), 0xD8);
}

COIFFURE_TARGET_AVX2 inline void RunLevelsAvx2(const uint8_t* colour, const uint8_t* mask,
                                               bool masked, uint16_t* out) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), SixteenLevels(colour, mask, masked));
}

#endif

#ifndef COIFFURE_RECOLOUR_SSE2

inline void RunLevels(const uint8_t* colour, const uint8_t* mask, bool masked, uint16_t* out) {
  for (int i = 0; i < kRun; ++i)
    out[i] = static_cast<uint16_t>(masked && IsWhite(mask + 3 * i) ? kOffLevel
                                                                   : LevelOf(colour + 3 * i));
}

#endif

inline int PixelLevel(const uint8_t* colour, const uint8_t* mask, int x) {
  return IsWhite(mask + 3 * x) ? kOffLevel : LevelOf(colour + 3 * x);
}

// The first pass's whole runs, with the levels of a run from `Levels`; returns where it stopped.
// Always inlined, so that the AVX2 form's caller compiles it, and its levels, for AVX2.
template <void (*Levels)(const uint8_t*, const uint8_t*, bool, uint16_t*)>
COIFFURE_ALWAYS_INLINE inline int CountRuns(const uint8_t* colour, const uint8_t* mask, int width,
                                            LevelCounts& counts) {
  int x = 0;
  uint16_t levels[kRun];
  for (; x + kRunReach <= width; x += kRun) {
    const Run run = ClassifyRun(mask + 3 * x);
    if (run == Run::kOff) continue;
    Levels(colour + 3 * x, mask + 3 * x, run == Run::kMixed, levels);
    for (int i = 0; i < kRun; ++i) ++counts[i % kCountWays][levels[i] >> 2];
  }
  return x;
}

// The second pass's whole runs: each run's levels made again (cheaper than keeping them in the
// row between the passes, which costs a write and a read of the whole picture) and looked up.
template <void (*Levels)(const uint8_t*, const uint8_t*, bool, uint16_t*)>
COIFFURE_ALWAYS_INLINE inline int WriteRuns(const uint8_t* colour, const uint8_t* mask, int width,
                                            const LevelColours& colours, uint8_t* out) {
  int x = 0;
  uint16_t levels[kRun];
  for (; x + kRunReach <= width; x += kRun) {
    uint8_t* o = out + 3 * x;
    const Run run = ClassifyRun(mask + 3 * x);
    if (run == Run::kOff) {
      std::memset(o, 0, 3 * kRun);
      continue;
    }
    Levels(colour + 3 * x, mask + 3 * x, run == Run::kMixed, levels);
    // One 4-byte store a pixel, its fourth byte landing on the next pixel, written after it;
    // the run's last pixel stops at its own three bytes.
    for (int i = 0; i + 1 < kRun; ++i) std::memcpy(o + 3 * i, &colours[levels[i]], 4);
    std::memcpy(o + 3 * (kRun - 1), &colours[levels[kRun - 1]], 3);
  }
  return x;
}

#ifdef COIFFURE_X86_64
// As CountRuns; a run of hair alone has codes of one byte each, taken out of two words by
// shifts, which costs half of taking sixteen 16-bit levels out one by one.
COIFFURE_TARGET_AVX2 int CountRunsAvx2(const uint8_t* colour, const uint8_t* mask, int width,
                                       LevelCounts& counts) {
  int x = 0;
  for (; x + kRunReach <= width; x += kRun) {
    const Run run = ClassifyRun(mask + 3 * x);
    if (run == Run::kOff) continue;
    const __m256i codes =
        _mm256_srli_epi16(SixteenLevels(colour + 3 * x, mask + 3 * x, run == Run::kMixed), 2);
    if (run == Run::kHair) {
      const __m128i bytes =
          _mm_packus_epi16(_mm256_castsi256_si128(codes), _mm256_extracti128_si256(codes, 1));
      const uint64_t low = static_cast<uint64_t>(_mm_cvtsi128_si64(bytes));
      const uint64_t high = static_cast<uint64_t>(_mm_extract_epi64(bytes, 1));
      for (int i = 0; i < kCountWays; ++i) ++counts[i][(low >> 8 * i) & 0xFF];
      for (int i = 0; i < kCountWays; ++i) ++counts[i][(high >> 8 * i) & 0xFF];
      continue;
    }
    uint16_t each[kRun];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(each), codes);
    for (int i = 0; i < kRun; ++i) ++counts[i % kCountWays][each[i]];
  }
  return x;
}
COIFFURE_TARGET_AVX2 int WriteRunsAvx2(const uint8_t* colour, const uint8_t* mask, int width,
                                       const LevelColours& colours, uint8_t* out) {
  return WriteRuns<RunLevelsAvx2>(colour, mask, width, colours, out);
}
#endif

}  // namespace

void CountRowLevels(const uint8_t* colour, const uint8_t* mask, int width, LevelCounts& counts,
                    Loops loops) {
#ifdef COIFFURE_X86_64
  int x = loops == Loops::kAvx2 ? CountRunsAvx2(colour, mask, width, counts)
                                : CountRuns<RunLevels>(colour, mask, width, counts);
#else
  (void)loops;
  int x = CountRuns<RunLevels>(colour, mask, width, counts);
#endif
  for (; x < width; ++x) ++counts[0][PixelLevel(colour, mask, x) >> 2];
}

void WriteRowColours(const uint8_t* colour, const uint8_t* mask, int width,
                     const LevelColours& colours, uint8_t* out, Loops loops) {
#ifdef COIFFURE_X86_64
  int x = loops == Loops::kAvx2 ? WriteRunsAvx2(colour, mask, width, colours, out)
                                : WriteRuns<RunLevels>(colour, mask, width, colours, out);
#else
  (void)loops;
  int x = WriteRuns<RunLevels>(colour, mask, width, colours, out);
#endif
  for (; x < width; ++x) std::memcpy(out + 3 * x, &colours[PixelLevel(colour, mask, x)], 3);
}

}  // namespace coiffure
