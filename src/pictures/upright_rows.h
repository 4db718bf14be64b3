// The inner loops of turning a picture upright, on 4-byte pixels: a block copied transposed,
// a row of pixels reversed. The SSE2 and the plain forms give the same bits (a turn only
// moves pixels), so tests run each form alone and compare.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/loops.h"

namespace coiffure::upright {

// dst(c, r) = src(r, c) for a block of `rows` rows of `cols` pixels; strides in bytes. The two
// blocks do not overlap.
void TransposeBlock(const uint8_t* src, ptrdiff_t src_stride, uint8_t* dst, ptrdiff_t dst_stride,
                    int rows, int cols, Loops loops);

// dst[i] = src[n - 1 - i], n pixels; the two do not overlap.
void ReverseCopy(const uint8_t* src, uint8_t* dst, int n, Loops loops);

// The n pixels of a row in the opposite order, where they are.
void ReverseInPlace(uint8_t* row, int n, Loops loops);

}  // namespace coiffure::upright
