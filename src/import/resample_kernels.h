// Pieces the resampling's plain, SSE2 and AVX2 loops share (internal to the import's sources).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "imaging/loops.h"
#include "import/resample_rows.h"

#ifdef COIFFURE_X86_64
#include <emmintrin.h>
#endif

namespace coiffure::resample {

// Rounds a non-negative value to a byte, half up; the vector forms truncate and saturate the
// same way.
inline uint8_t ToByte(float v) {
  return static_cast<uint8_t>(std::min(v + 0.5f, 255.0f));
}

// Exact integer sums: a pair adds at most 2 * 255 * 255 to a lane.
inline constexpr size_t kMaxPairsPerSum = 16384;

// The alpha scale of exact halving: 1 / (255 * 2 * 2), as the general loops compute it.
inline const float kHalvingAlphaScale = static_cast<float>(1.0 / (255.0 * 2.0 * 2.0));

// One pixel from its sums: colours divided by the alpha sum, alpha scaled; colours 0 where
// the alpha rounds to 0.
inline void SumsToPixel(const float s[4], float alpha_scale, uint8_t* d) {
  d[3] = ToByte(s[3] * alpha_scale);
  const float r = 255.0f / s[3];
  for (int c = 0; c < 3; ++c) d[c] = d[3] == 0 ? 0 : ToByte(s[c] * r);
}

#ifdef COIFFURE_X86_64

// The processor's own prefetch stops at each 4 KiB page, which a row of 2000 pixels crosses
// every 1024 pixels; asking for the line a page ahead keeps a row streaming. (The address may
// lie past the picture: a prefetch never faults, and it is formed as a number.)
inline void Prefetch(const uint8_t* p) {
  _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(p) + 4096), _MM_HINT_T0);
}

// Adds one pair of rows over four columns. Interleaving the two rows' bytes puts each
// channel's two values side by side, so one multiply-add per column gives
// (blue, green, red) times alpha summed over both rows, and 255 times the alpha sum.
inline void AddPair(__m128i v, __m128i u, __m128i s[4]) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alpha_to_255 = _mm_set_epi16(255, 255, 0, 0, 0, 0, 0, 0);
  const __m128i lo = _mm_unpacklo_epi8(v, u), hi = _mm_unpackhi_epi8(v, u);
  const __m128i x[4] = {_mm_unpacklo_epi8(lo, zero), _mm_unpackhi_epi8(lo, zero),
                        _mm_unpacklo_epi8(hi, zero), _mm_unpackhi_epi8(hi, zero)};
  for (int i = 0; i < 4; ++i) {
    const __m128i alphas = _mm_shuffle_epi32(x[i], 0xFF);
    s[i] = _mm_add_epi32(s[i], _mm_madd_epi16(_mm_or_si128(x[i], alpha_to_255), alphas));
  }
}

// Four pixels' sums to four pixels: one division gives the four reciprocals of the alpha sums.
inline __m128i PixelsSse2(const __m128 h[4], __m128 scale) {
  const __m128 alphas = _mm_shuffle_ps(_mm_shuffle_ps(h[0], h[1], 0xFF),
                                       _mm_shuffle_ps(h[2], h[3], 0xFF), _MM_SHUFFLE(2, 0, 2, 0));
  const __m128 r = _mm_div_ps(_mm_set1_ps(255.0f), alphas);
  // (r0, scale, r1, scale) and (r2, scale, r3, scale): each pixel's multipliers are its
  // reciprocal for the three colours and the alpha scale for the alpha.
  const __m128 lo = _mm_unpacklo_ps(r, scale), hi = _mm_unpackhi_ps(r, scale);
  const __m128 m[4] = {_mm_shuffle_ps(lo, lo, _MM_SHUFFLE(1, 0, 0, 0)),
                       _mm_shuffle_ps(lo, lo, _MM_SHUFFLE(3, 2, 2, 2)),
                       _mm_shuffle_ps(hi, hi, _MM_SHUFFLE(1, 0, 0, 0)),
                       _mm_shuffle_ps(hi, hi, _MM_SHUFFLE(3, 2, 2, 2))};
  __m128i q[4];
  for (int j = 0; j < 4; ++j)
    q[j] = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(h[j], m[j]), _mm_set1_ps(0.5f)));
  const __m128i px = _mm_packus_epi16(_mm_packs_epi32(q[0], q[1]), _mm_packs_epi32(q[2], q[3]));
  const __m128i alpha_bits = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i clear = _mm_cmpeq_epi32(_mm_and_si128(px, alpha_bits), _mm_setzero_si128());
  return _mm_andnot_si128(clear, px);
}

// The AVX2 loops (resample_avx2.cpp): each does what it can in whole vectors and returns
// how far it got; the plain loops finish.
COIFFURE_TARGET_AVX2 int RowProductsAvx2(const uint8_t* row, int width, float* out);
COIFFURE_TARGET_AVX2 int SumDownAvx2(const Down& down, int width, float* out);
COIFFURE_TARGET_AVX2 size_t AcrossToPixelsAvx2(const float* columns, const Across& across,
                                               float alpha_scale, size_t from, size_t to,
                                               uint8_t* out);
COIFFURE_TARGET_AVX2 int HalveRowAvx2(const uint8_t* a, const uint8_t* b, int out_width,
                                      uint8_t* out);

#endif

}  // namespace coiffure::resample
