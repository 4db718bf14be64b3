#include "pictures/upright_rows.h"

#include <algorithm>
#include <cstring>

#ifdef COIFFURE_X86_64
#include <emmintrin.h>
#endif

namespace coiffure::upright {

namespace {

void CopyPixel(uint8_t* to, const uint8_t* from) {
  std::memcpy(to, from, 4);
}

void SwapPixels(uint8_t* a, uint8_t* b) {
  uint8_t t[4];
  std::memcpy(t, a, 4);
  std::memcpy(a, b, 4);
  std::memcpy(b, t, 4);
}

void TransposePlain(const uint8_t* src, ptrdiff_t ss, uint8_t* dst, ptrdiff_t ds, int r0, int rows,
                    int c0, int cols) {
  for (int r = r0; r < rows; ++r)
    for (int c = c0; c < cols; ++c) CopyPixel(dst + c * ds + r * 4, src + r * ss + c * 4);
}

#ifdef COIFFURE_X86_64
__m128i Load(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
void Store(uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
__m128i Reversed(__m128i v) {
  return _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 1, 2, 3));
}

// A 4 x 4 block of pixels in four registers, its rows becoming columns: shuffles alone, no
// gathers (slow on some processors) and nothing wider than SSE2.
void Transpose4x4(const uint8_t* src, ptrdiff_t ss, uint8_t* dst, ptrdiff_t ds) {
  const __m128i a = Load(src), b = Load(src + ss), c = Load(src + 2 * ss), d = Load(src + 3 * ss);
  const __m128i ab0 = _mm_unpacklo_epi32(a, b), ab1 = _mm_unpackhi_epi32(a, b);
  const __m128i cd0 = _mm_unpacklo_epi32(c, d), cd1 = _mm_unpackhi_epi32(c, d);
  Store(dst, _mm_unpacklo_epi64(ab0, cd0));
  Store(dst + ds, _mm_unpackhi_epi64(ab0, cd0));
  Store(dst + 2 * ds, _mm_unpacklo_epi64(ab1, cd1));
  Store(dst + 3 * ds, _mm_unpackhi_epi64(ab1, cd1));
}
#endif

}  // namespace

void TransposeBlock(const uint8_t* src, ptrdiff_t ss, uint8_t* dst, ptrdiff_t ds, int rows,
                    int cols, Loops loops) {
  int done_rows = 0;
#ifdef COIFFURE_X86_64
  if (loops != Loops::kPlain) {
    const int wide = cols & ~3;
    for (; done_rows + 4 <= rows; done_rows += 4) {
      const uint8_t* s = src + done_rows * ss;
      uint8_t* d = dst + done_rows * 4;
      for (int c = 0; c < wide; c += 4) Transpose4x4(s + c * 4, ss, d + c * ds, ds);
      TransposePlain(src, ss, dst, ds, done_rows, done_rows + 4, wide, cols);
    }
  }
#else
  (void)loops;
#endif
  TransposePlain(src, ss, dst, ds, done_rows, rows, 0, cols);
}

void ReverseCopy(const uint8_t* src, uint8_t* dst, int n, Loops loops) {
  int i = 0;
#ifdef COIFFURE_X86_64
  if (loops != Loops::kPlain)
    for (; i + 4 <= n; i += 4) Store(dst + i * 4, Reversed(Load(src + (n - 4 - i) * 4)));
#else
  (void)loops;
#endif
  for (; i < n; ++i) CopyPixel(dst + i * 4, src + (n - 1 - i) * 4);
}

void ReverseInPlace(uint8_t* row, int n, Loops loops) {
  int lo = 0, hi = n;  // the pixels still to reverse: [lo, hi)
#ifdef COIFFURE_X86_64
  if (loops != Loops::kPlain) {
    for (; hi - lo >= 8; lo += 4, hi -= 4) {
      const __m128i a = Load(row + lo * 4), b = Load(row + (hi - 4) * 4);
      Store(row + lo * 4, Reversed(b));
      Store(row + (hi - 4) * 4, Reversed(a));
    }
  }
#else
  (void)loops;
#endif
  for (; hi - lo >= 2; ++lo, --hi) SwapPixels(row + lo * 4, row + (hi - 1) * 4);
}

}  // namespace coiffure::upright
