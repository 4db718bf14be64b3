// The inner loops of the area-averaging resampling, one output row at a time: sums down the
// source rows the row covers, then across the columns each output pixel covers, then the
// division by the summed alpha. The vector and the plain forms give the same bits, so either
// may finish what the other leaves; tests run the plain form alone through ResampleWith.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "import/convert.h"

namespace coiffure::resample {

// How much of one output pixel a run of source pixels along one axis covers: `count` pixels
// from `first`, each fully covered but the first and last, which have their own shares. A
// share is the covered length over a whole pixel's (or, enlarging, a whole output's) length.
struct Span {
  int first = 0, count = 0;
  float first_share = 1, last_share = 1;
};

// The spans of every output pixel along an axis, and the sum of shares each output receives.
std::vector<Span> AxisSpans(int src, int dst, float* total_share);

// Two source rows summed together; `b` may be a row of zeros.
struct RowPair {
  const uint8_t* a;
  const uint8_t* b;
};

// Pairs [begin, end) summed exactly, then scaled by `share`.
struct Band {
  size_t begin = 0, end = 0;
  float share = 1;
};

// The source rows of one output row.
struct Down {
  std::vector<RowPair> pairs;
  std::vector<Band> bands;
};

// out[4x + c] for x in [0, width): the sum over the rows of share * alpha * colour c, the
// colours in blue, green, red order; out[4x + 3] is 255 times the sum of share * alpha.
void SumDown(const Down& down, int width, float* out, bool vectors);

// out[4o + c]: the column sums of the columns output o covers, weighted by their shares.
void SumAcross(const float* columns, const std::vector<Span>& spans, float* out, bool vectors);

// Each pixel's colour is its colour sum over its alpha sum; its alpha is the alpha sum times
// alpha_scale. Colours stay 0 where the alpha rounds to 0.
void ToPixels(const float* sums, int count, float alpha_scale, uint8_t* out, bool vectors);

// Resample, with the vector loops or (vectors false) with the plain ones only.
RgbaImage ResampleWith(const RgbaImage& image, Size size, bool vectors);

}  // namespace coiffure::resample
