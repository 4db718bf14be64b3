// Hair or not for every cell of the grid, from the operator's marks: colour and texture models
// of both sides, distances along the photo from the strokes, and a smoothing that respects the
// photo's edges.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "cutout/grid.h"
#include "cutout/marks.h"

namespace coiffure::cutout {

// What the marks say about a cell.
enum class Seed : uint8_t { kFree = 0, kHair = 1, kNotHair = 2, kOutside = 3 };

// A cell holding any hair stroke pixel is a hair seed; else one holding any not-hair pixel a
// not-hair seed; a cell wholly outside the box is outside.
std::vector<Seed> SeedCells(const Marks& marks, const Grid& grid);

struct CellMatte {
  std::vector<float> soft;    // probability of hair, 0..1
  std::vector<uint8_t> hair;  // the decision: 1 hair, 0 not
};

// Empty when cancelled.
CellMatte SegmentCells(const Grid& grid, const std::vector<Seed>& seeds,
                       const std::atomic<bool>* cancel);

}  // namespace coiffure::cutout
