#include "cutout/cutout.h"

#include <stdexcept>

#include "cutout/refine.h"
#include "cutout/segment.h"

namespace coiffure::cutout {

Session::Session(RgbaImage photo) : photo_(std::move(photo)) {
  if (photo_.width <= 0 || photo_.height <= 0 ||
      photo_.bgra.size() != static_cast<size_t>(photo_.width) * photo_.height * 4)
    throw std::invalid_argument("empty photo");
  grid_ = BuildGrid(photo_);
}

std::optional<Matte> Session::Update(const Marks& marks, const std::atomic<bool>* cancel) const {
  if (marks.width != photo_.width || marks.height != photo_.height ||
      marks.labels.size() != static_cast<size_t>(marks.width) * marks.height)
    throw std::invalid_argument("marks of another size than the photo");
  const std::vector<Seed> seeds = SeedCells(marks, grid_);
  const CellMatte cells = SegmentCells(grid_, seeds, cancel);
  if (cells.hair.empty() || (cancel && cancel->load(std::memory_order_relaxed)))
    return std::nullopt;
  Matte m{photo_.width, photo_.height, {}};
  RefineMatte(photo_, grid_, cells, marks, m.alpha);
  return m;
}

}  // namespace coiffure::cutout
