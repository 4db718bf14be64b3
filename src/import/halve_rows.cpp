// Exact halving, one output row from two source rows. The general loops would sum four
// pixels' products exactly, then divide in floats; here the same sums and the same divisions
// are made straight from the bytes. Blocks of fully opaque pixels need no division at all:
// their colours are the sums rounded half up by integer shifts, which the general rule gives
// for every total (the tests run through all 1021 of them), and fully transparent blocks
// give zeros.
#include "import/resample_kernels.h"

namespace coiffure::resample {

namespace {

void HalveRowPlain(const uint8_t* a, const uint8_t* b, int from, int out_width, uint8_t* out) {
  for (int x = from; x < out_width; ++x) {
    const size_t at = static_cast<size_t>(x) * 8;
    const uint8_t* const px[4] = {a + at, a + at + 4, b + at, b + at + 4};
    int32_t s[4] = {};
    for (const uint8_t* p : px) {
      for (int c = 0; c < 3; ++c) s[c] += p[c] * p[3];
      s[3] += 255 * p[3];
    }
    const float f[4] = {static_cast<float>(s[0]), static_cast<float>(s[1]),
                        static_cast<float>(s[2]), static_cast<float>(s[3])};
    SumsToPixel(f, kHalvingAlphaScale, out + static_cast<size_t>(x) * 4);
  }
}

#ifdef COIFFURE_X86_64

// Two output pixels' channel sums, 16 bits each, from four pixels of each of two rows.
inline __m128i BlockSums(__m128i a, __m128i b) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = _mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero));
  const __m128i hi = _mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero));
  return _mm_add_epi16(_mm_unpacklo_epi64(lo, hi), _mm_unpackhi_epi64(lo, hi));
}

inline __m128i OpaqueSse2(const __m128i a[2], const __m128i b[2]) {
  const __m128i two = _mm_set1_epi16(2);
  const __m128i s0 = _mm_srli_epi16(_mm_add_epi16(BlockSums(a[0], b[0]), two), 2);
  const __m128i s1 = _mm_srli_epi16(_mm_add_epi16(BlockSums(a[1], b[1]), two), 2);
  return _mm_packus_epi16(s0, s1);
}

inline __m128i MixedSse2(const __m128i a[2], const __m128i b[2], __m128 scale) {
  __m128 h[4];
  for (int i = 0; i < 2; ++i) {
    __m128i s[4] = {_mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128(),
                    _mm_setzero_si128()};
    AddPair(a[i], b[i], s);
    h[2 * i] = _mm_cvtepi32_ps(_mm_add_epi32(s[0], s[1]));
    h[2 * i + 1] = _mm_cvtepi32_ps(_mm_add_epi32(s[2], s[3]));
  }
  return PixelsSse2(h, scale);
}

int HalveRowSse2(const uint8_t* a, const uint8_t* b, int out_width, uint8_t* out) {
  const __m128i alpha_bits = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128 scale = _mm_set1_ps(kHalvingAlphaScale);
  int x = 0;
  for (; x + 4 <= out_width; x += 4) {
    const size_t at = static_cast<size_t>(x) * 8;
    Prefetch(a + at);
    Prefetch(b + at);
    const __m128i va[2] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + at)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + at + 16))};
    const __m128i vb[2] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at + 16))};
    const __m128i all = _mm_and_si128(_mm_and_si128(va[0], va[1]), _mm_and_si128(vb[0], vb[1]));
    const __m128i zero = _mm_setzero_si128();
    __m128i px = zero;  // fully transparent
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(all, alpha_bits), alpha_bits)) == 0xFFFF) {
      px = OpaqueSse2(va, vb);
    } else {
      const __m128i any = _mm_or_si128(_mm_or_si128(va[0], va[1]), _mm_or_si128(vb[0], vb[1]));
      if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(any, alpha_bits), zero)) != 0xFFFF)
        px = MixedSse2(va, vb, scale);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + static_cast<size_t>(x) * 4), px);
  }
  return x;
}

#endif

}  // namespace

void HalveRow(const uint8_t* a, const uint8_t* b, int out_width, uint8_t* out, Loops loops) {
  int done = 0;
#ifdef COIFFURE_X86_64
  if (loops == Loops::kAvx2) done = HalveRowAvx2(a, b, out_width, out);
  if (loops == Loops::kSse2) done = HalveRowSse2(a, b, out_width, out);
#else
  (void)loops;
#endif
  HalveRowPlain(a, b, done, out_width, out);
}

}  // namespace coiffure::resample
