#include "import/resample_rows.h"

#include <algorithm>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define COIFFURE_RESAMPLE_SSE2 1
#endif

namespace coiffure::resample {

namespace {

// Rounds a non-negative value to a byte, half up; the vector form truncates and saturates
// the same way.
uint8_t ToByte(float v) {
  return static_cast<uint8_t>(std::min(v + 0.5f, 255.0f));
}

// Columns [from, width) of SumDown. Sums stay integers until a band is done, so they are
// exact whichever way they are added.
void SumDownPlain(const Down& down, int from, int width, float* out) {
  for (int x = from; x < width; ++x) {
    float f[4] = {};
    for (size_t b = 0; b < down.bands.size(); ++b) {
      const Band& band = down.bands[b];
      int32_t s[4] = {};
      for (size_t i = band.begin; i < band.end; ++i) {
        const uint8_t* p = down.pairs[i].a + static_cast<size_t>(x) * 4;
        const uint8_t* q = down.pairs[i].b + static_cast<size_t>(x) * 4;
        for (int c = 0; c < 3; ++c) s[c] += p[c] * p[3] + q[c] * q[3];
        s[3] += 255 * p[3] + 255 * q[3];
      }
      for (int c = 0; c < 4; ++c) {
        const float t = static_cast<float>(s[c]) * band.share;
        f[c] = b == 0 ? t : f[c] + t;
      }
    }
    std::copy_n(f, 4, out + static_cast<size_t>(x) * 4);
  }
}

void SumAcrossPlain(const float* columns, const std::vector<Span>& spans, float* out) {
  for (const Span& span : spans) {
    const float* c = columns + static_cast<size_t>(span.first) * 4;
    float acc[4];
    for (int k = 0; k < 4; ++k) acc[k] = c[k] * span.first_share;
    for (int i = 1; i + 1 < span.count; ++i)
      for (int k = 0; k < 4; ++k) acc[k] += c[4 * i + k];
    if (span.count > 1) {
      const float* last = c + static_cast<size_t>(span.count - 1) * 4;
      for (int k = 0; k < 4; ++k) acc[k] += last[k] * span.last_share;
    }
    out = std::copy_n(acc, 4, out);
  }
}

void ToPixelsPlain(const float* sums, int from, int count, float alpha_scale, uint8_t* out) {
  for (int i = from; i < count; ++i) {
    const float* s = sums + static_cast<size_t>(i) * 4;
    uint8_t* d = out + static_cast<size_t>(i) * 4;
    d[3] = ToByte(s[3] * alpha_scale);
    const float r = 255.0f / s[3];
    for (int c = 0; c < 3; ++c) d[c] = d[3] == 0 ? 0 : ToByte(s[c] * r);
  }
}

#ifdef COIFFURE_RESAMPLE_SSE2

// Adds one pair of rows over four columns. Interleaving the two rows' bytes puts each
// channel's two values side by side, so one multiply-add per column gives
// (blue, green, red) times alpha summed over both rows, and 255 times the alpha sum.
inline void AddPair(const uint8_t* a, const uint8_t* b, __m128i s[4]) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alpha_to_255 = _mm_set_epi16(255, 255, 0, 0, 0, 0, 0, 0);
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
  const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
  const __m128i lo = _mm_unpacklo_epi8(v, u), hi = _mm_unpackhi_epi8(v, u);
  const __m128i x[4] = {_mm_unpacklo_epi8(lo, zero), _mm_unpackhi_epi8(lo, zero),
                        _mm_unpacklo_epi8(hi, zero), _mm_unpackhi_epi8(hi, zero)};
  for (int i = 0; i < 4; ++i) {
    const __m128i alphas = _mm_shuffle_epi32(x[i], 0xFF);
    s[i] = _mm_add_epi32(s[i], _mm_madd_epi16(_mm_or_si128(x[i], alpha_to_255), alphas));
  }
}

int SumDownSse2(const Down& down, int width, float* out) {
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const size_t offset = static_cast<size_t>(x) * 4;
    __m128 f[4];
    for (size_t b = 0; b < down.bands.size(); ++b) {
      const Band& band = down.bands[b];
      __m128i s[4] = {_mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128(),
                      _mm_setzero_si128()};
      for (size_t i = band.begin; i < band.end; ++i)
        AddPair(down.pairs[i].a + offset, down.pairs[i].b + offset, s);
      const __m128 share = _mm_set1_ps(band.share);
      for (int i = 0; i < 4; ++i) {
        __m128 t = _mm_cvtepi32_ps(s[i]);
        if (band.share != 1.0f) t = _mm_mul_ps(t, share);  // times 1 changes no bit
        f[i] = b == 0 ? t : _mm_add_ps(f[i], t);
      }
    }
    for (int i = 0; i < 4; ++i) _mm_storeu_ps(out + offset + 4 * i, f[i]);
  }
  return x;
}

// The same sums as SumAcrossPlain, one vector a pixel.
void SumAcrossSse2(const float* columns, const std::vector<Span>& spans, float* out) {
  for (const Span& span : spans) {
    const float* c = columns + static_cast<size_t>(span.first) * 4;
    __m128 acc = _mm_mul_ps(_mm_loadu_ps(c), _mm_set1_ps(span.first_share));
    for (int i = 1; i + 1 < span.count; ++i) acc = _mm_add_ps(acc, _mm_loadu_ps(c + 4 * i));
    if (span.count > 1) {
      const __m128 last = _mm_loadu_ps(c + static_cast<size_t>(span.count - 1) * 4);
      acc = _mm_add_ps(acc, _mm_mul_ps(last, _mm_set1_ps(span.last_share)));
    }
    _mm_storeu_ps(out, acc);
    out += 4;
  }
}

// Four pixels at a time: one division gives the four reciprocals of the alpha sums.
int ToPixelsSse2(const float* sums, int count, float alpha_scale, uint8_t* out) {
  const __m128 k255 = _mm_set1_ps(255.0f), scale = _mm_set1_ps(alpha_scale);
  const __m128 half = _mm_set1_ps(0.5f);
  const __m128i alpha_bits = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const float* s = sums + static_cast<size_t>(i) * 4;
    const __m128 h[4] = {_mm_loadu_ps(s), _mm_loadu_ps(s + 4), _mm_loadu_ps(s + 8),
                         _mm_loadu_ps(s + 12)};
    const __m128 alphas = _mm_shuffle_ps(_mm_shuffle_ps(h[0], h[1], 0xFF),
                                         _mm_shuffle_ps(h[2], h[3], 0xFF), _MM_SHUFFLE(2, 0, 2, 0));
    const __m128 r = _mm_div_ps(k255, alphas);
    // (r0, scale, r1, scale) and (r2, scale, r3, scale): each pixel's multipliers are its
    // reciprocal for the three colours and the alpha scale for the alpha.
    const __m128 lo = _mm_unpacklo_ps(r, scale), hi = _mm_unpackhi_ps(r, scale);
    const __m128 m[4] = {_mm_shuffle_ps(lo, lo, _MM_SHUFFLE(1, 0, 0, 0)),
                         _mm_shuffle_ps(lo, lo, _MM_SHUFFLE(3, 2, 2, 2)),
                         _mm_shuffle_ps(hi, hi, _MM_SHUFFLE(1, 0, 0, 0)),
                         _mm_shuffle_ps(hi, hi, _MM_SHUFFLE(3, 2, 2, 2))};
    __m128i q[4];
    for (int j = 0; j < 4; ++j) q[j] = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(h[j], m[j]), half));
    __m128i px = _mm_packus_epi16(_mm_packs_epi32(q[0], q[1]), _mm_packs_epi32(q[2], q[3]));
    const __m128i clear = _mm_cmpeq_epi32(_mm_and_si128(px, alpha_bits), _mm_setzero_si128());
    px = _mm_andnot_si128(clear, px);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + static_cast<size_t>(i) * 4), px);
  }
  return i;
}

#endif

}  // namespace

void SumDown(const Down& down, int width, float* out, bool vectors) {
  int done = 0;
#ifdef COIFFURE_RESAMPLE_SSE2
  if (vectors) done = SumDownSse2(down, width, out);
#else
  (void)vectors;
#endif
  SumDownPlain(down, done, width, out);
}

void SumAcross(const float* columns, const std::vector<Span>& spans, float* out, bool vectors) {
#ifdef COIFFURE_RESAMPLE_SSE2
  if (vectors) return SumAcrossSse2(columns, spans, out);
#else
  (void)vectors;
#endif
  SumAcrossPlain(columns, spans, out);
}

void ToPixels(const float* sums, int count, float alpha_scale, uint8_t* out, bool vectors) {
  int done = 0;
#ifdef COIFFURE_RESAMPLE_SSE2
  if (vectors) done = ToPixelsSse2(sums, count, alpha_scale, out);
#else
  (void)vectors;
#endif
  ToPixelsPlain(sums, done, count, alpha_scale, out);
}

}  // namespace coiffure::resample
