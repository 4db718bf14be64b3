// The inner loops of the area-averaging resampling, one output row at a time: sums down the
// source rows the row covers, then across the columns each output pixel covers and the
// division by the summed alpha. The vector and the plain forms give the same bits, so either
// may finish what the other leaves; tests run each form alone through ResampleWith.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "imaging/loops.h"
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

// A partly covered row's products (see RowProducts) and the share of it the output row has.
struct Partial {
  const float* products;
  float share;
};

// The source rows of one output row: the fully covered ones in pairs, then the partly
// covered ones.
struct Down {
  std::vector<RowPair> pairs;
  std::vector<Partial> partials;
  bool last_alone = false;  // the last pair's second row is the row of zeros
};

// out[4x + c] for x in [0, width): alpha times colour c, the colours in blue, green, red
// order, and out[4x + 3] 255 times alpha. Whole numbers, so exact in a float.
void RowProducts(const uint8_t* row, int width, float* out, bool vectors);

// out[4x + c]: the sums of those products over the output row's source rows, each partly
// covered row's scaled by its share.
void SumDown(const Down& down, int width, float* out, bool vectors);

// Along a row: every output pixel reads `taps` columns from first[o], each with its weight
// (0 for the columns outside its span), so that every pixel runs the same loop.
struct Across {
  int taps = 0;
  std::vector<int> first;
  std::vector<float> weights;  // `taps` a pixel, each weight four times (once a channel)
};
Across MakeAcross(const std::vector<Span>& spans, int width);

// Sums each output pixel's columns, then divides its colour sums by its alpha sum; its alpha
// is the alpha sum times alpha_scale. Colours stay 0 where the alpha rounds to 0.
void AcrossToPixels(const float* columns, const Across& across, float alpha_scale, uint8_t* out,
                    bool vectors);

// Resample, with the vector loops or (vectors false) with the plain ones only.
RgbaImage ResampleWith(const RgbaImage& image, Size size, bool vectors);

// The same row functions with a chosen form of the loops (`vectors` above means the widest).
void RowProducts(const uint8_t* row, int width, float* out, Loops loops);
void SumDown(const Down& down, int width, float* out, Loops loops);
void AcrossToPixels(const float* columns, const Across& across, float alpha_scale, uint8_t* out,
                    Loops loops);
// Output pixels [from, to) only (out still points at pixel 0).
void AcrossToPixels(const float* columns, const Across& across, float alpha_scale, size_t from,
                    size_t to, uint8_t* out, Loops loops);

// Halving both sides exactly: output pixel x of a row is source pixels 2x and 2x + 1 of rows
// a and b, with the same bits the general loops give for that ratio.
void HalveRow(const uint8_t* a, const uint8_t* b, int out_width, uint8_t* out, Loops loops);

// A row's visible pixels lie in [first, last]; none when first > last.
struct Extent {
  int first = 0, last = -1;
};

// A window of a picture with a transparent margin around it, as CropToVisible cuts it out:
// resampled as it stands, without the copy.
struct Window {
  const RgbaImage* image = nullptr;
  int x0 = 0, y0 = 0, width = 0, height = 0;  // the window inside the picture
  int margin = 0;                             // transparent pixels on each side
  // Where known, each window row's extent in window columns: what lies outside it is
  // transparent, so it is neither read nor summed.
  const std::vector<Extent>* extents = nullptr;
  int OuterWidth() const { return width + 2 * margin; }
  int OuterHeight() const { return height + 2 * margin; }
};
RgbaImage ResampleWindow(const Window& window, Size size, Loops loops);
// The same, each output row handed on (size.width pixels) as soon as it is made, top first.
void ResampleWindowRows(const Window& window, Size size, Loops loops,
                        const std::function<void(const uint8_t* row)>& take);

// Resample with a chosen form of the loops.
RgbaImage ResampleWith(const RgbaImage& image, Size size, Loops loops);

}  // namespace coiffure::resample
