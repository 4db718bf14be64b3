#include "import/pair_rows.h"

#include <algorithm>
#include <bit>
#include <vector>

#ifdef COIFFURE_X86_64
#include <immintrin.h>
#endif

namespace coiffure::pair_rows {

namespace {

// The first visible pixel of row[from, to), or `to` when there is none.
int FirstVisiblePlain(const uint8_t* row, int from, int to) {
  while (from < to && row[static_cast<size_t>(from) * 4 + 3] == 0) ++from;
  return from;
}

// The last visible pixel of row[from, to), or from - 1 when there is none.
int LastVisiblePlain(const uint8_t* row, int from, int to) {
  while (to > from && row[static_cast<size_t>(to - 1) * 4 + 3] == 0) --to;
  return to - 1;
}

#ifdef COIFFURE_X86_64

// A bit for each of four pixels whose alpha is above 0.
inline int VisibleBits(const uint8_t* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i alpha = _mm_and_si128(v, _mm_set1_epi32(static_cast<int>(0xFF000000u)));
  return ~_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(alpha, _mm_setzero_si128()))) & 0xF;
}

// Whether any of sixteen pixels (a cache line's worth) is visible.
inline bool AnyVisible16(const uint8_t* p) {
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  for (int i = 1; i < 4; ++i)
    v = _mm_or_si128(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i)));
  const __m128i alpha = _mm_and_si128(v, _mm_set1_epi32(static_cast<int>(0xFF000000u)));
  return _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128())) != 0xFFFF;
}

// Sixteen pixels at a time across the transparent stretch, then four at a time.
int FirstVisibleSse2(const uint8_t* row, int from, int to) {
  while (from + 16 <= to && !AnyVisible16(row + static_cast<size_t>(from) * 4)) from += 16;
  for (; from + 4 <= to; from += 4) {
    const int bits = VisibleBits(row + static_cast<size_t>(from) * 4);
    if (bits != 0) return from + (bits & 1 ? 0 : bits & 2 ? 1 : bits & 4 ? 2 : 3);
  }
  return FirstVisiblePlain(row, from, to);
}

int LastVisibleSse2(const uint8_t* row, int from, int to) {
  while (to - 16 >= from && !AnyVisible16(row + static_cast<size_t>(to - 16) * 4)) to -= 16;
  for (; to - 4 >= from; to -= 4) {
    const int bits = VisibleBits(row + static_cast<size_t>(to - 4) * 4);
    if (bits != 0) return to - 4 + (bits & 8 ? 3 : bits & 4 ? 2 : bits & 2 ? 1 : 0);
  }
  return LastVisiblePlain(row, from, to);
}

#endif

int FirstVisible(const uint8_t* row, int from, int to, Loops loops) {
#ifdef COIFFURE_X86_64
  if (loops != Loops::kPlain) return FirstVisibleSse2(row, from, to);
#else
  (void)loops;
#endif
  return FirstVisiblePlain(row, from, to);
}

int LastVisible(const uint8_t* row, int from, int to, Loops loops) {
#ifdef COIFFURE_X86_64
  if (loops != Loops::kPlain) return LastVisibleSse2(row, from, to);
#else
  (void)loops;
#endif
  return LastVisiblePlain(row, from, to);
}

int LevelsPlain(const uint8_t* px, int from, int width, LevelRow& row) {
  int opaque = 0;
  for (int x = from; x < width; ++x) {
    const uint8_t* p = px + static_cast<size_t>(x) * 4;
    const bool hair = p[3] == 255;
    for (int c = 0; c < 3; ++c) {
      row.colour[3 * x + c] = hair ? p[c] : 0;
      row.mask[3 * x + c] = hair ? 0 : 255;
    }
    opaque += hair;
    if (p[3] != 0 && !hair) row.partial[row.partials++] = x;
  }
  return opaque;
}

#ifdef COIFFURE_X86_64

// Four pixels' first three bytes each, packed into 12 bytes at out. Writes two bytes more,
// which the next pixel's bytes overwrite.
inline void StoreThreeOfFour(__m128i v, uint8_t* out) {
  const __m128i low = _mm_set1_epi64x(0x0000000000FFFFFFll);
  const __m128i high = _mm_set1_epi64x(0x0000FFFFFF000000ll);
  const __m128i packed =
      _mm_or_si128(_mm_and_si128(v, low), _mm_and_si128(_mm_srli_epi64(v, 8), high));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), packed);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 6), _mm_srli_si128(packed, 8));
}

// Stops four pixels short of the end of the row (or more), so the extra bytes land on it.
int LevelsSse2(const uint8_t* px, int width, LevelRow& row, int* opaque) {
  const __m128i alpha_bits = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i zero = _mm_setzero_si128(), ones = _mm_cmpeq_epi32(zero, zero);
  int x = 0;
  for (; x + 5 <= width; x += 4) {
    const __m128i v =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + static_cast<size_t>(x) * 4));
    const __m128i alpha = _mm_and_si128(v, alpha_bits);
    const __m128i hair = _mm_cmpeq_epi32(alpha, alpha_bits), clear = _mm_cmpeq_epi32(alpha, zero);
    StoreThreeOfFour(_mm_and_si128(v, hair), row.colour + 3 * x);
    StoreThreeOfFour(_mm_andnot_si128(hair, ones), row.mask + 3 * x);
    const int hair_bits = _mm_movemask_ps(_mm_castsi128_ps(hair));
    *opaque += (hair_bits & 1) + (hair_bits >> 1 & 1) + (hair_bits >> 2 & 1) + (hair_bits >> 3);
    int partial_bits = ~_mm_movemask_ps(_mm_castsi128_ps(_mm_or_si128(hair, clear))) & 0xF;
    for (int i = 0; partial_bits != 0; ++i, partial_bits >>= 1)
      if (partial_bits & 1) row.partial[row.partials++] = x + i;
  }
  return x;
}

// A vector's halves' first 12 bytes each, to out and out + 12, and 4 bytes more.
COIFFURE_TARGET_AVX2 inline void StoreTwelveOfEachHalf(__m256i v, uint8_t* out) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(v));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12), _mm256_extracti128_si256(v, 1));
}

// Eight pixels at a time; each half's four pixels' first three bytes are gathered into its
// first 12 bytes. Stops ten pixels short of the end of the row (or more), so that the four
// bytes each store writes beyond its twelve land on pixels still to be written.
COIFFURE_TARGET_AVX2 int LevelsAvx2(const uint8_t* px, int width, LevelRow& row, int* opaque) {
  const __m256i alpha_bits = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i zero = _mm256_setzero_si256(), ones = _mm256_cmpeq_epi32(zero, zero);
  const __m256i three = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0,
                                         1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  int x = 0;
  for (; x + 10 <= width; x += 8) {
    const __m256i v =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(px + static_cast<size_t>(x) * 4));
    const __m256i alpha = _mm256_and_si256(v, alpha_bits);
    const __m256i hair = _mm256_cmpeq_epi32(alpha, alpha_bits);
    const __m256i clear = _mm256_cmpeq_epi32(alpha, zero);
    StoreTwelveOfEachHalf(_mm256_shuffle_epi8(_mm256_and_si256(v, hair), three),
                          row.colour + 3 * x);
    StoreTwelveOfEachHalf(_mm256_shuffle_epi8(_mm256_andnot_si256(hair, ones), three),
                          row.mask + 3 * x);
    *opaque += std::popcount(static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(hair))));
    unsigned partial_bits = ~static_cast<unsigned>(_mm256_movemask_ps(
                                _mm256_castsi256_ps(_mm256_or_si256(hair, clear)))) &
                            0xFFu;
    if (partial_bits != 0) {
      for (int i = 0; i < 8; ++i) {
        row.partial[row.partials] = x + i;
        row.partials += static_cast<int>(partial_bits >> i & 1);
      }
    }
  }
  return x;
}

#endif

}  // namespace

int Levels(const uint8_t* px, int width, LevelRow& row, Loops loops) {
  int done = 0, opaque = 0;
#ifdef COIFFURE_X86_64
  if (loops == Loops::kAvx2) done = LevelsAvx2(px, width, row, &opaque);
  if (loops == Loops::kSse2) done = LevelsSse2(px, width, row, &opaque);
#else
  (void)loops;
#endif
  return opaque + LevelsPlain(px, done, width, row);
}

std::optional<Box> VisibleBox(const RgbaImage& image, Loops loops,
                              std::vector<resample::Extent>* extents) {
  int x0 = image.width, y0 = image.height, x1 = -1, y1 = -1;
  std::vector<resample::Extent> rows;
  if (extents != nullptr) rows.resize(static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* row = image.Pixel(0, y);
    // Only the transparent ends of a row are read: from the left up to its first visible
    // pixel, from the right down to its last, or for the box alone down to the widest column
    // found so far.
    const int first = FirstVisible(row, 0, image.width, loops);
    if (first == image.width) continue;
    const int last =
        LastVisible(row, extents != nullptr ? first : std::max(first, x1 + 1), image.width, loops);
    if (extents != nullptr) rows[static_cast<size_t>(y)] = {first, last};
    x0 = std::min(x0, first);
    x1 = std::max(x1, last);
    y0 = std::min(y0, y);
    y1 = y;
  }
  if (y1 < 0) return std::nullopt;
  if (extents != nullptr) {
    extents->clear();
    for (int y = y0; y <= y1; ++y) {
      const resample::Extent& e = rows[static_cast<size_t>(y)];
      extents->push_back(e.first > e.last ? e : resample::Extent{e.first - x0, e.last - x0});
    }
  }
  return Box{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

}  // namespace coiffure::pair_rows
