// The resampling's AVX2 loops: the SSE2 ones twice as wide, with the same operations in the
// same order, so the same bits. Compiled for AVX2 function by function and run only where
// BestLoops() finds it.
#include "import/resample_kernels.h"

#ifdef COIFFURE_X86_64
#include <immintrin.h>

namespace coiffure::resample {

namespace {

// PixelsSse2 on each 128-bit half: the low halves of h give pixels 0-3, the high halves 4-7.
COIFFURE_TARGET_AVX2 inline __m256i PixelsAvx2(const __m256 h[4], __m256 scale) {
  const __m256 alphas =
      _mm256_shuffle_ps(_mm256_shuffle_ps(h[0], h[1], 0xFF), _mm256_shuffle_ps(h[2], h[3], 0xFF),
                        _MM_SHUFFLE(2, 0, 2, 0));
  const __m256 r = _mm256_div_ps(_mm256_set1_ps(255.0f), alphas);
  const __m256 lo = _mm256_unpacklo_ps(r, scale), hi = _mm256_unpackhi_ps(r, scale);
  const __m256 m[4] = {_mm256_shuffle_ps(lo, lo, _MM_SHUFFLE(1, 0, 0, 0)),
                       _mm256_shuffle_ps(lo, lo, _MM_SHUFFLE(3, 2, 2, 2)),
                       _mm256_shuffle_ps(hi, hi, _MM_SHUFFLE(1, 0, 0, 0)),
                       _mm256_shuffle_ps(hi, hi, _MM_SHUFFLE(3, 2, 2, 2))};
  __m256i q[4];
  for (int j = 0; j < 4; ++j)
    q[j] = _mm256_cvttps_epi32(_mm256_add_ps(_mm256_mul_ps(h[j], m[j]), _mm256_set1_ps(0.5f)));
  const __m256i px =
      _mm256_packus_epi16(_mm256_packs_epi32(q[0], q[1]), _mm256_packs_epi32(q[2], q[3]));
  const __m256i alpha_bits = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i clear =
      _mm256_cmpeq_epi32(_mm256_and_si256(px, alpha_bits), _mm256_setzero_si256());
  return _mm256_andnot_si256(clear, px);
}

// Four pixels' bytes widened to 16 bits, each channel times the pixel's alpha and the alpha
// lane 255 times it (at most 255 * 255, so exact in 16 bits).
COIFFURE_TARGET_AVX2 inline __m256i Products16(const uint8_t* p) {
  const __m256i alpha_to_255 = _mm256_set1_epi64x(static_cast<int64_t>(0x00FF000000000000ull));
  const __m256i v = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  const __m256i alphas = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, 0xFF), 0xFF);
  return _mm256_mullo_epi16(_mm256_or_si256(v, alpha_to_255), alphas);
}

// One pair of rows over four columns, summed into s[0] (columns 0 and 2) and s[1] (1 and 3).
COIFFURE_TARGET_AVX2 inline void AddPairAvx2(const uint8_t* a, const uint8_t* b, __m256i s[2]) {
  const __m256i alpha_to_255 =
      _mm256_set_epi16(255, 255, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0);
  const __m256i u = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)));
  const __m256i v = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b)));
  const __m256i x[2] = {_mm256_unpacklo_epi16(u, v), _mm256_unpackhi_epi16(u, v)};
  for (int i = 0; i < 2; ++i) {
    const __m256i alphas = _mm256_shuffle_epi32(x[i], 0xFF);
    s[i] = _mm256_add_epi32(s[i], _mm256_madd_epi16(_mm256_or_si256(x[i], alpha_to_255), alphas));
  }
}

// Pairs [begin, end) over four columns, summed exactly, made floats and put back in column
// order: f[0] holds columns 0 and 1, f[1] columns 2 and 3.
COIFFURE_TARGET_AVX2 inline void SumPairsAvx2(const Down& down, size_t begin, size_t end, size_t at,
                                              __m256 f[2]) {
  __m256i s[2] = {_mm256_setzero_si256(), _mm256_setzero_si256()};
  for (size_t i = begin; i < end; ++i) AddPairAvx2(down.pairs[i].a + at, down.pairs[i].b + at, s);
  const __m256 even = _mm256_cvtepi32_ps(s[0]), odd = _mm256_cvtepi32_ps(s[1]);
  f[0] = _mm256_permute2f128_ps(even, odd, 0x20);
  f[1] = _mm256_permute2f128_ps(even, odd, 0x31);
}

// One output pixel's sums over its columns, two taps to a multiply, added tap by tap. kTaps
// is the number of taps when known here (the loop then unrolls), else 0 and `taps` counts.
template <int kTaps>
COIFFURE_TARGET_AVX2 inline __m128 AcrossOne(const float* c, const float* w, int taps) {
  if (kTaps > 0) taps = kTaps;
  __m128 acc;
  int i = 1;
  if (taps >= 2) {
    const __m256 p = _mm256_mul_ps(_mm256_loadu_ps(c), _mm256_loadu_ps(w));
    acc = _mm_add_ps(_mm256_castps256_ps128(p), _mm256_extractf128_ps(p, 1));
    i = 2;
  } else {
    acc = _mm_mul_ps(_mm_loadu_ps(c), _mm_loadu_ps(w));
  }
  for (; i + 2 <= taps; i += 2) {
    const __m256 p = _mm256_mul_ps(_mm256_loadu_ps(c + 4 * i), _mm256_loadu_ps(w + 4 * i));
    acc = _mm_add_ps(_mm_add_ps(acc, _mm256_castps256_ps128(p)), _mm256_extractf128_ps(p, 1));
  }
  if (i < taps) acc = _mm_add_ps(acc, _mm_mul_ps(_mm_loadu_ps(c + 4 * i), _mm_loadu_ps(w + 4 * i)));
  return acc;
}

template <int kTaps>
COIFFURE_TARGET_AVX2 size_t AcrossToPixelsTaps(const float* columns, const Across& across,
                                               float alpha_scale, size_t from, size_t to,
                                               uint8_t* out) {
  const __m256 scale = _mm256_set1_ps(alpha_scale);
  const int taps = across.taps;
  const size_t stride = static_cast<size_t>(taps) * 4;
  const int* first = across.first.data();
  const float* weights = across.weights.data();
  size_t o = from;
  for (; o + 8 <= to; o += 8) {
    __m128 s[8];
    for (size_t j = 0; j < 8; ++j)
      s[j] = AcrossOne<kTaps>(columns + static_cast<size_t>(first[o + j]) * 4,
                              weights + (o + j) * stride, taps);
    __m256 h[4];
    for (int j = 0; j < 4; ++j) h[j] = _mm256_set_m128(s[j + 4], s[j]);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + o * 4), PixelsAvx2(h, scale));
  }
  return o;
}

// The sums down for the usual shapes: one exact sum of pairs and at most two partly covered
// rows, everything the loop reads held in locals. A lone fully covered row (the usual one
// between two partly covered rows) has its products made as RowProducts makes them, already
// in column order.
template <int kPartials, bool kLone>
COIFFURE_TARGET_AVX2 int SumDownShort(const Down& down, int width, float* out) {
  const RowPair* pairs = down.pairs.data();
  const size_t n = down.pairs.size();
  const float* products[2] = {};
  __m256 shares[2] = {};
  for (int k = 0; k < kPartials; ++k) {
    products[k] = down.partials[static_cast<size_t>(k)].products;
    shares[k] = _mm256_set1_ps(down.partials[static_cast<size_t>(k)].share);
  }
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const size_t at = static_cast<size_t>(x) * 4;
    __m256 f[2];
    if (kLone) {
      const __m256i p = Products16(pairs[0].a + at);
      f[0] = _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(_mm256_castsi256_si128(p)));
      f[1] = _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(_mm256_extracti128_si256(p, 1)));
    } else {
      __m256i s[2] = {_mm256_setzero_si256(), _mm256_setzero_si256()};
      for (size_t i = 0; i < n; ++i) AddPairAvx2(pairs[i].a + at, pairs[i].b + at, s);
      const __m256 even = _mm256_cvtepi32_ps(s[0]), odd = _mm256_cvtepi32_ps(s[1]);
      f[0] = _mm256_permute2f128_ps(even, odd, 0x20);
      f[1] = _mm256_permute2f128_ps(even, odd, 0x31);
    }
    for (int k = 0; k < kPartials; ++k)
      for (int i = 0; i < 2; ++i)
        f[i] = _mm256_add_ps(f[i],
                             _mm256_mul_ps(_mm256_loadu_ps(products[k] + at + 8 * i), shares[k]));
    for (int i = 0; i < 2; ++i) _mm256_storeu_ps(out + at + 8 * i, f[i]);
  }
  return x;
}

template <bool kLone>
COIFFURE_TARGET_AVX2 int SumDownShort(const Down& down, int width, float* out) {
  switch (down.partials.size()) {
    case 0:
      return SumDownShort<0, kLone>(down, width, out);
    case 1:
      return SumDownShort<1, kLone>(down, width, out);
    case 2:
      return SumDownShort<2, kLone>(down, width, out);
    default:
      return -1;
  }
}

// Eight output pixels, in the order 0 1 4 5 | 2 3 6 7 that the in-lane packs leave. Each
// half of a row's 32 bytes is four pixels; gathering each channel of two neighbours side by
// side lets one multiply-add by 1 sum them, so a row gives four outputs' sums in 16 bits.
COIFFURE_TARGET_AVX2 inline __m256i OpaqueAvx2(const __m256i a[2], const __m256i b[2]) {
  const __m256i neighbours = _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15,
                                              0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
  const __m256i ones = _mm256_set1_epi8(1), two = _mm256_set1_epi16(2);
  __m256i s[2];
  for (int i = 0; i < 2; ++i) {
    const __m256i top = _mm256_maddubs_epi16(_mm256_shuffle_epi8(a[i], neighbours), ones);
    const __m256i bottom = _mm256_maddubs_epi16(_mm256_shuffle_epi8(b[i], neighbours), ones);
    s[i] = _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(top, bottom), two), 2);
  }
  return _mm256_packus_epi16(s[0], s[1]);
}

// The same order: each row's 32 bytes give output pixels 0 and 2 (columns 0+1 | 4+5) and
// 1 and 3 (columns 2+3 | 6+7) of its four.
COIFFURE_TARGET_AVX2 inline __m256i MixedAvx2(const __m256i a[2], const __m256i b[2],
                                              __m256 scale) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i alpha_to_255 =
      _mm256_set_epi16(255, 255, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0);
  __m256 h[4];
  for (int i = 0; i < 2; ++i) {
    const __m256i lo = _mm256_unpacklo_epi8(a[i], b[i]), hi = _mm256_unpackhi_epi8(a[i], b[i]);
    const __m256i x[4] = {_mm256_unpacklo_epi8(lo, zero), _mm256_unpackhi_epi8(lo, zero),
                          _mm256_unpacklo_epi8(hi, zero), _mm256_unpackhi_epi8(hi, zero)};
    __m256i s[4];
    for (int k = 0; k < 4; ++k)
      s[k] =
          _mm256_madd_epi16(_mm256_or_si256(x[k], alpha_to_255), _mm256_shuffle_epi32(x[k], 0xFF));
    h[2 * i] = _mm256_cvtepi32_ps(_mm256_add_epi32(s[0], s[1]));
    h[2 * i + 1] = _mm256_cvtepi32_ps(_mm256_add_epi32(s[2], s[3]));
  }
  return PixelsAvx2(h, scale);
}

}  // namespace

COIFFURE_TARGET_AVX2 int RowProductsAvx2(const uint8_t* row, int width, float* out) {
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const __m256i p = Products16(row + static_cast<size_t>(x) * 4);
    float* d = out + static_cast<size_t>(x) * 4;
    _mm256_storeu_ps(d, _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(_mm256_castsi256_si128(p))));
    _mm256_storeu_ps(d + 8,
                     _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(_mm256_extracti128_si256(p, 1))));
  }
  return x;
}

COIFFURE_TARGET_AVX2 int SumDownAvx2(const Down& down, int width, float* out) {
  const size_t n = down.pairs.size();
  if (n <= kMaxPairsPerSum) {
    const int done = n == 1 && down.last_alone ? SumDownShort<true>(down, width, out)
                                               : SumDownShort<false>(down, width, out);
    if (done >= 0) return done;
  }
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const size_t at = static_cast<size_t>(x) * 4;
    __m256 f[2];
    SumPairsAvx2(down, 0, std::min(n, kMaxPairsPerSum), at, f);
    for (size_t begin = kMaxPairsPerSum; begin < n; begin += kMaxPairsPerSum) {
      __m256 g[2];
      SumPairsAvx2(down, begin, std::min(n, begin + kMaxPairsPerSum), at, g);
      for (int i = 0; i < 2; ++i) f[i] = _mm256_add_ps(f[i], g[i]);
    }
    for (const Partial& partial : down.partials) {
      const __m256 share = _mm256_set1_ps(partial.share);
      for (int i = 0; i < 2; ++i)
        f[i] = _mm256_add_ps(f[i],
                             _mm256_mul_ps(_mm256_loadu_ps(partial.products + at + 8 * i), share));
    }
    for (int i = 0; i < 2; ++i) _mm256_storeu_ps(out + at + 8 * i, f[i]);
  }
  return x;
}

COIFFURE_TARGET_AVX2 size_t AcrossToPixelsAvx2(const float* columns, const Across& across,
                                               float alpha_scale, size_t from, size_t to,
                                               uint8_t* out) {
  switch (across.taps) {
    case 2:
      return AcrossToPixelsTaps<2>(columns, across, alpha_scale, from, to, out);
    case 3:
      return AcrossToPixelsTaps<3>(columns, across, alpha_scale, from, to, out);
    case 5:
      return AcrossToPixelsTaps<5>(columns, across, alpha_scale, from, to, out);
    default:
      return AcrossToPixelsTaps<0>(columns, across, alpha_scale, from, to, out);
  }
}

COIFFURE_TARGET_AVX2 int HalveRowAvx2(const uint8_t* a, const uint8_t* b, int out_width,
                                      uint8_t* out) {
  const __m256i alpha_bits = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256 scale = _mm256_set1_ps(kHalvingAlphaScale);
  const __m256i zero = _mm256_setzero_si256();
  int x = 0;
  for (; x + 8 <= out_width; x += 8) {
    const size_t at = static_cast<size_t>(x) * 8;
    Prefetch(a + at);
    Prefetch(b + at);
    const __m256i va[2] = {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + at)),
                           _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + at + 32))};
    const __m256i vb[2] = {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + at)),
                           _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + at + 32))};
    const __m256i all =
        _mm256_and_si256(_mm256_and_si256(va[0], va[1]), _mm256_and_si256(vb[0], vb[1]));
    __m256i px = zero;  // fully transparent
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(all, alpha_bits), alpha_bits)) ==
        -1) {
      px = OpaqueAvx2(va, vb);
    } else {
      const __m256i any =
          _mm256_or_si256(_mm256_or_si256(va[0], va[1]), _mm256_or_si256(vb[0], vb[1]));
      if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(any, alpha_bits), zero)) != -1)
        px = MixedAvx2(va, vb, scale);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + static_cast<size_t>(x) * 4),
                        _mm256_permute4x64_epi64(px, _MM_SHUFFLE(3, 1, 2, 0)));
  }
  return x;
}

}  // namespace coiffure::resample

#endif
