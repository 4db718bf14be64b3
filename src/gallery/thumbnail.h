// The gallery's cell for one library picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/picture.h"

namespace coiffure {

inline constexpr int kThumbSide = 200;

// One gallery cell: the top-left 200 x 200 pixels at 24 bits (a picture 400 or more pixels wide
// is shown whole instead, reduced to fit the cell), with the pure white pixels turned black, and
// a 1-bit mask (top row first, rows padded to 16 bits, most significant bit
// leftmost) whose set bits mark those pixels as transparent.
struct Thumbnail {
  Picture image;
  std::vector<uint8_t> mask;
  size_t mask_stride = 0;

  bool Transparent(int x, int y) const {
    return (mask[static_cast<size_t>(y) * mask_stride + static_cast<size_t>(x) / 8] >>
            (7 - x % 8)) &
           1u;
  }
};

// The picture as its own mask. The picture must be at least 200 x 200.
Thumbnail MakeThumbnail(const Picture& picture);

// Pictures at least this wide would fill several cells of the image list; they are reduced to
// one cell, whole, rather than cut.
inline constexpr int kWideThumbnailWidth = 2 * kThumbSide;

// A picture reduced by averaging to fit a side x side square, keeping its proportions, centred
// on pure white (which the thumbnail then shows as transparent). Each pixel is the rounded mean
// of a box of whole source pixels: box i of n over a length L spans [i*L/n, (i+1)*L/n). The
// picture's larger side must be at least `side`: it is only ever reduced.
Picture ReduceToFit(const Picture& picture, int side);

}  // namespace coiffure
