#include "import/resample_rows.h"

#include <algorithm>

#include "import/resample_kernels.h"

namespace coiffure::resample {

namespace {

void RowProductsPlain(const uint8_t* row, int from, int width, float* out) {
  for (int x = from; x < width; ++x) {
    const uint8_t* p = row + static_cast<size_t>(x) * 4;
    float* d = out + static_cast<size_t>(x) * 4;
    for (int c = 0; c < 3; ++c) d[c] = static_cast<float>(p[c] * p[3]);
    d[3] = static_cast<float>(255 * p[3]);
  }
}

// Columns [from, width) of SumDown. The pairs are summed as integers, so the sums are exact
// whichever way they are added.
void SumDownPlain(const Down& down, int from, int width, float* out) {
  for (int x = from; x < width; ++x) {
    const size_t at = static_cast<size_t>(x) * 4;
    float f[4] = {};
    for (size_t begin = 0; begin < down.pairs.size(); begin += kMaxPairsPerSum) {
      int32_t s[4] = {};
      const size_t end = std::min(begin + kMaxPairsPerSum, down.pairs.size());
      for (size_t i = begin; i < end; ++i) {
        const uint8_t *p = down.pairs[i].a + at, *q = down.pairs[i].b + at;
        for (int c = 0; c < 3; ++c) s[c] += p[c] * p[3] + q[c] * q[3];
        s[3] += 255 * p[3] + 255 * q[3];
      }
      for (int c = 0; c < 4; ++c) f[c] += static_cast<float>(s[c]);
    }
    for (const Partial& partial : down.partials)
      for (int c = 0; c < 4; ++c) f[c] += partial.products[at + c] * partial.share;
    std::copy_n(f, 4, out + at);
  }
}

// One output pixel's sums over its columns.
void AcrossPlain(const float* columns, const Across& across, size_t o, float acc[4]) {
  const float* c = columns + static_cast<size_t>(across.first[o]) * 4;
  const float* w = across.weights.data() + o * static_cast<size_t>(across.taps) * 4;
  for (int k = 0; k < 4; ++k) acc[k] = c[k] * w[k];
  for (int i = 4; i < across.taps * 4; i += 4)
    for (int k = 0; k < 4; ++k) acc[k] += c[i + k] * w[i + k];
}

void AcrossToPixelsPlain(const float* columns, const Across& across, size_t from, size_t to,
                         float alpha_scale, uint8_t* out) {
  for (size_t o = from; o < to; ++o) {
    float s[4];
    AcrossPlain(columns, across, o, s);
    SumsToPixel(s, alpha_scale, out + o * 4);
  }
}

#ifdef COIFFURE_X86_64

// Alpha times each colour, and 255 times alpha, for four pixels: 16-bit products (at most
// 255 * 255) widened to 32 bits.
int RowProductsSse2(const uint8_t* row, int width, float* out) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alpha_to_255 = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x * 4));
    const __m128i two[2] = {_mm_unpacklo_epi8(v, zero), _mm_unpackhi_epi8(v, zero)};
    float* d = out + static_cast<size_t>(x) * 4;
    for (int i = 0; i < 2; ++i) {
      const __m128i alphas = _mm_shufflehi_epi16(_mm_shufflelo_epi16(two[i], 0xFF), 0xFF);
      const __m128i p = _mm_mullo_epi16(_mm_or_si128(two[i], alpha_to_255), alphas);
      _mm_storeu_ps(d + 8 * i, _mm_cvtepi32_ps(_mm_unpacklo_epi16(p, zero)));
      _mm_storeu_ps(d + 8 * i + 4, _mm_cvtepi32_ps(_mm_unpackhi_epi16(p, zero)));
    }
  }
  return x;
}

// Pairs [begin, end) over four columns, summed exactly and then made floats.
inline void SumPairsSse2(const Down& down, size_t begin, size_t end, size_t at, __m128 f[4]) {
  __m128i s[4] = {_mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128(),
                  _mm_setzero_si128()};
  for (size_t i = begin; i < end; ++i)
    AddPair(_mm_loadu_si128(reinterpret_cast<const __m128i*>(down.pairs[i].a + at)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(down.pairs[i].b + at)), s);
  for (int i = 0; i < 4; ++i) f[i] = _mm_cvtepi32_ps(s[i]);
}

int SumDownSse2(const Down& down, int width, float* out) {
  const size_t n = down.pairs.size();
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const size_t at = static_cast<size_t>(x) * 4;
    __m128 f[4];
    SumPairsSse2(down, 0, std::min(n, kMaxPairsPerSum), at, f);
    for (size_t begin = kMaxPairsPerSum; begin < n; begin += kMaxPairsPerSum) {
      __m128 g[4];
      SumPairsSse2(down, begin, std::min(n, begin + kMaxPairsPerSum), at, g);
      for (int i = 0; i < 4; ++i) f[i] = _mm_add_ps(f[i], g[i]);
    }
    for (const Partial& partial : down.partials) {
      const __m128 share = _mm_set1_ps(partial.share);
      for (int i = 0; i < 4; ++i)
        f[i] = _mm_add_ps(f[i], _mm_mul_ps(_mm_loadu_ps(partial.products + at + 4 * i), share));
    }
    for (int i = 0; i < 4; ++i) _mm_storeu_ps(out + at + 4 * i, f[i]);
  }
  return x;
}

// Four output pixels' sums over their columns, side by side so that the four chains of
// additions overlap.
inline void AcrossSse2(const float* columns, const Across& across, size_t o, __m128 h[4]) {
  const float* c[4];
  for (size_t j = 0; j < 4; ++j) c[j] = columns + static_cast<size_t>(across.first[o + j]) * 4;
  const size_t stride = static_cast<size_t>(across.taps) * 4;
  const float* w = across.weights.data() + o * stride;
  for (size_t j = 0; j < 4; ++j)
    h[j] = _mm_mul_ps(_mm_loadu_ps(c[j]), _mm_loadu_ps(w + j * stride));
  for (size_t i = 4; i < stride; i += 4)
    for (size_t j = 0; j < 4; ++j)
      h[j] = _mm_add_ps(h[j], _mm_mul_ps(_mm_loadu_ps(c[j] + i), _mm_loadu_ps(w + j * stride + i)));
}

size_t AcrossToPixelsSse2(const float* columns, const Across& across, float alpha_scale,
                          size_t from, size_t to, uint8_t* out) {
  const __m128 scale = _mm_set1_ps(alpha_scale);
  size_t o = from;
  for (; o + 4 <= to; o += 4) {
    __m128 h[4];
    AcrossSse2(columns, across, o, h);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o * 4), PixelsSse2(h, scale));
  }
  return o;
}

#endif

}  // namespace

void RowProducts(const uint8_t* row, int width, float* out, Loops loops) {
  int done = 0;
#ifdef COIFFURE_X86_64
  if (loops == Loops::kAvx2) done = RowProductsAvx2(row, width, out);
  if (loops == Loops::kSse2) done = RowProductsSse2(row, width, out);
#else
  (void)loops;
#endif
  RowProductsPlain(row, done, width, out);
}

void SumDown(const Down& down, int width, float* out, Loops loops) {
  int done = 0;
#ifdef COIFFURE_X86_64
  if (loops == Loops::kAvx2) done = SumDownAvx2(down, width, out);
  if (loops == Loops::kSse2) done = SumDownSse2(down, width, out);
#else
  (void)loops;
#endif
  SumDownPlain(down, done, width, out);
}

void AcrossToPixels(const float* columns, const Across& across, float alpha_scale, size_t from,
                    size_t to, uint8_t* out, Loops loops) {
  size_t done = from;
#ifdef COIFFURE_X86_64
  if (loops == Loops::kAvx2) done = AcrossToPixelsAvx2(columns, across, alpha_scale, from, to, out);
  if (loops == Loops::kSse2) done = AcrossToPixelsSse2(columns, across, alpha_scale, from, to, out);
#else
  (void)loops;
#endif
  AcrossToPixelsPlain(columns, across, done, to, alpha_scale, out);
}

void AcrossToPixels(const float* columns, const Across& across, float alpha_scale, uint8_t* out,
                    Loops loops) {
  AcrossToPixels(columns, across, alpha_scale, 0, across.first.size(), out, loops);
}

namespace {
Loops Widest(bool vectors) {
  return vectors ? BestLoops() : Loops::kPlain;
}
}  // namespace

void RowProducts(const uint8_t* row, int width, float* out, bool vectors) {
  RowProducts(row, width, out, Widest(vectors));
}

void SumDown(const Down& down, int width, float* out, bool vectors) {
  SumDown(down, width, out, Widest(vectors));
}

void AcrossToPixels(const float* columns, const Across& across, float alpha_scale, uint8_t* out,
                    bool vectors) {
  AcrossToPixels(columns, across, alpha_scale, out, Widest(vectors));
}

}  // namespace coiffure::resample
