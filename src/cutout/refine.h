// The matte at the photo's full size: whole cells of hair and of background are filled at
// once, and only the band of cells along the boundary is worked out pixel by pixel, where
// strands over the background get partial values.
#pragma once

#include <cstdint>
#include <vector>

#include "cutout/grid.h"
#include "cutout/marks.h"
#include "cutout/segment.h"

namespace coiffure::cutout {

// alpha is the photo's size; the marks are enforced: hair strokes at least 128, not-hair
// strokes and everything outside the box 0.
void RefineMatte(const RgbaImage& photo, const Grid& grid, const CellMatte& cells,
                 const Marks& marks, std::vector<uint8_t>& alpha);

}  // namespace coiffure::cutout
