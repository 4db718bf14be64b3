// The part of the grid an update works on: the box's cells and a ring of the outside around
// them. Cells further out are outside the box and stay background; skipping them keeps an
// update's time to the box's size.
#pragma once

#include <vector>

#include "cutout/grid.h"
#include "cutout/segment.h"

namespace coiffure::cutout {

struct CellWindow {
  int x0 = 0, y0 = 0, width = 0, height = 0;
  size_t Size() const { return static_cast<size_t>(width) * height; }
};

// Empty when every cell is outside the box.
CellWindow ActiveWindow(const Grid& grid, const std::vector<Seed>& seeds);

Grid CropGrid(const Grid& grid, CellWindow w);

template <typename T>
std::vector<T> CropCells(const std::vector<T>& cells, int grid_width, CellWindow w) {
  std::vector<T> out;
  out.reserve(w.Size());
  for (int y = 0; y < w.height; ++y) {
    const auto row = cells.begin() + static_cast<ptrdiff_t>(y + w.y0) * grid_width + w.x0;
    out.insert(out.end(), row, row + w.width);
  }
  return out;
}

// The window's cells back in a grid of this size; other cells get `fill`.
template <typename T>
std::vector<T> PlaceCells(const std::vector<T>& cells, int grid_width, int grid_height,
                          CellWindow w, T fill) {
  std::vector<T> out(static_cast<size_t>(grid_width) * grid_height, fill);
  for (int y = 0; y < w.height; ++y)
    std::copy(cells.begin() + static_cast<ptrdiff_t>(y) * w.width,
              cells.begin() + static_cast<ptrdiff_t>(y + 1) * w.width,
              out.begin() + static_cast<ptrdiff_t>(y + w.y0) * grid_width + w.x0);
  return out;
}

}  // namespace coiffure::cutout
