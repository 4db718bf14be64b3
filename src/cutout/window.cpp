#include "cutout/window.h"

#include <algorithm>

namespace coiffure::cutout {

CellWindow ActiveWindow(const Grid& g, const std::vector<Seed>& seeds) {
  int x0 = g.width, y0 = g.height, x1 = -1, y1 = -1;
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x)
      if (seeds[static_cast<size_t>(y) * g.width + x] != Seed::kOutside) {
        x0 = std::min(x0, x), x1 = std::max(x1, x);
        y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
  if (x1 < 0) return {};
  // One ring of outside cells: the seeds that distances along the photo start from.
  x0 = std::max(0, x0 - 1), y0 = std::max(0, y0 - 1);
  x1 = std::min(g.width - 1, x1 + 1), y1 = std::min(g.height - 1, y1 + 1);
  return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

Grid CropGrid(const Grid& g, CellWindow w) {
  Grid out;
  out.width = w.width;
  out.height = w.height;
  out.scale = g.scale;
  out.lab = CropCells(g.lab, g.width, w);
  out.smooth = CropCells(g.smooth, g.width, w);
  out.energy = CropCells(g.energy, g.width, w);
  out.colour_bin = CropCells(g.colour_bin, g.width, w);
  out.texture_bin = CropCells(g.texture_bin, g.width, w);
  for (int k = 0; k < 4; ++k) out.step[k] = CropCells(g.step[k], g.width, w);
  out.link_right = CropCells(g.link_right, g.width, w);
  out.link_down = CropCells(g.link_down, g.width, w);
  return out;
}

}  // namespace coiffure::cutout
