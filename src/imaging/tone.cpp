#include "imaging/tone.h"

#include <cstddef>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define COIFFURE_TONE_SSE2 1
#endif

namespace coiffure {

namespace {

using Lut = std::array<uint8_t, 256>;

// One table per byte position within a pixel (blue, green, red).
struct PixelLuts {
  Lut ch[3];
};

template <class F>
constexpr PixelLuts MakeLuts(F f) {
  PixelLuts t{};
  for (int ch = 0; ch < 3; ++ch)
    for (int c = 0; c < 256; ++c) t.ch[ch][c] = f(c, ch);
  return t;
}

constexpr PixelLuts kBrightUp = MakeLuts([](int c, int) { return BrightnessUpByte(c); });
constexpr PixelLuts kBrightDown = MakeLuts([](int c, int) { return BrightnessDownByte(c); });
constexpr PixelLuts kContrastUp = MakeLuts([](int c, int) { return ContrastUpByte(c); });
constexpr PixelLuts kContrastDown = MakeLuts([](int c, int ch) { return ContrastDownByte(c, ch); });

// The bytes a vector kernel left over at the end of a row; `from` is a multiple of 3 whenever
// the channels differ, so i % 3 is the byte's channel.
void TailByLut(uint8_t* row, size_t from, size_t n, const PixelLuts& t) {
  for (size_t i = from; i < n; ++i) row[i] = t.ch[i % 3][row[i]];
}

#ifdef COIFFURE_TONE_SSE2

// Exact x / 255 for any 16-bit x: (x * 0x8081) >> 23.
inline __m128i Div255(__m128i x) {
  return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(static_cast<short>(0x8081))), 7);
}

size_t AddSaturatingSse2(uint8_t* p, size_t n, bool up) {
  const __m128i step = _mm_set1_epi8(kBrightnessStep);
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i* q = reinterpret_cast<__m128i*>(p + i);
    const __m128i v = _mm_loadu_si128(q);
    _mm_storeu_si128(q, up ? _mm_adds_epu8(v, step) : _mm_subs_epu8(v, step));
  }
  return i;
}

// c + ((255 - c) * 13) / 255 on the eight 16-bit lanes of c.
inline __m128i ContrastUpLanes(__m128i c) {
  const __m128i dist = _mm_sub_epi16(_mm_set1_epi16(255), c);
  return _mm_add_epi16(c, Div255(_mm_mullo_epi16(dist, _mm_set1_epi16(13))));
}

size_t ContrastUpSse2(uint8_t* p, size_t n) {
  const __m128i zero = _mm_setzero_si128();
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i* q = reinterpret_cast<__m128i*>(p + i);
    const __m128i v = _mm_loadu_si128(q);
    const __m128i lo = ContrastUpLanes(_mm_unpacklo_epi8(v, zero));
    const __m128i hi = ContrastUpLanes(_mm_unpackhi_epi8(v, zero));
    _mm_storeu_si128(q, _mm_packus_epi16(lo, hi));
  }
  return i;
}

// Blue bytes use weight 13, green and red 14; the pattern repeats every 48 bytes, so the loop
// takes three vectors at a time and each vector half has its own fixed weights.
size_t ContrastDownSse2(uint8_t* p, size_t n) {
  alignas(16) int16_t weights[48];
  for (int j = 0; j < 48; ++j) weights[j] = j % 3 == 0 ? 13 : 14;
  __m128i w[6];
  for (int h = 0; h < 6; ++h) w[h] = _mm_load_si128(reinterpret_cast<const __m128i*>(weights) + h);
  const __m128i zero = _mm_setzero_si128();
  size_t i = 0;
  for (; i + 48 <= n; i += 48) {
    for (int v = 0; v < 3; ++v) {
      __m128i* q = reinterpret_cast<__m128i*>(p + i) + v;
      const __m128i x = _mm_loadu_si128(q);
      __m128i lo = _mm_unpacklo_epi8(x, zero);
      __m128i hi = _mm_unpackhi_epi8(x, zero);
      lo = _mm_sub_epi16(lo, Div255(_mm_mullo_epi16(lo, w[2 * v])));
      hi = _mm_sub_epi16(hi, Div255(_mm_mullo_epi16(hi, w[2 * v + 1])));
      _mm_storeu_si128(q, _mm_packus_epi16(lo, hi));
    }
  }
  return i;
}

#endif

enum class Pass { BrightUp, BrightDown, ContrastUp, ContrastDown };

// Changes the bytes of one row; returns how many the vector code took.
size_t VectorPart(Pass pass, uint8_t* row, size_t n) {
#ifdef COIFFURE_TONE_SSE2
  switch (pass) {
    case Pass::BrightUp:
      return AddSaturatingSse2(row, n, true);
    case Pass::BrightDown:
      return AddSaturatingSse2(row, n, false);
    case Pass::ContrastUp:
      return ContrastUpSse2(row, n);
    case Pass::ContrastDown:
      return ContrastDownSse2(row, n);
  }
#else
  (void)pass, (void)row, (void)n;
#endif
  return 0;
}

const PixelLuts& LutsFor(Pass pass) {
  switch (pass) {
    case Pass::BrightUp:
      return kBrightUp;
    case Pass::BrightDown:
      return kBrightDown;
    case Pass::ContrastUp:
      return kContrastUp;
    case Pass::ContrastDown:
      break;
  }
  return kContrastDown;
}

// One pass over the photo, row by row through its row pointers, in place.
void RunPass(Picture& photo, Pass pass) {
  photo.ConvertTo24();
  const PixelLuts& luts = LutsFor(pass);
  const int h = photo.Height();
  for (int y = 0; y < h; ++y) {
    uint8_t* row = photo.Row(y);
    const size_t n = static_cast<size_t>(photo.Width()) * 3;
    TailByLut(row, VectorPart(pass, row, n), n, luts);
  }
}

}  // namespace

void BrightnessUp(Picture& photo) {
  RunPass(photo, Pass::BrightUp);
}

void BrightnessDown(Picture& photo) {
  RunPass(photo, Pass::BrightDown);
}

void ContrastUp(Picture& photo) {
  RunPass(photo, Pass::ContrastUp);
}

void ContrastDown(Picture& photo) {
  RunPass(photo, Pass::ContrastDown);
}

}  // namespace coiffure
