// Hair cut out of a photo. A session is made once per photo (its preparation reads the whole
// photo; run it off the window's thread); each update takes the operator's marks as they are
// now and gives the soft matte. Updates keep no state of their own: the same marks always give
// the same matte, so undo and redo are just updates, and a stale one may simply be dropped.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "cutout/grid.h"
#include "cutout/marks.h"
#include "pictures/rgba_image.h"

namespace coiffure::cutout {

struct Matte {
  int width = 0, height = 0;
  std::vector<uint8_t> alpha;  // 255 hair, 0 not, in between only along the hair's edge
};

class Session {
 public:
  // Keeps a copy of the photo. Throws std::invalid_argument for an empty photo.
  explicit Session(RgbaImage photo);

  int Width() const { return photo_.width; }
  int Height() const { return photo_.height; }
  // The photo as it was given, for whatever is made of it with the matte.
  const RgbaImage& Photo() const { return photo_; }

  // Marks of the photo's size (std::invalid_argument otherwise). Nothing when cancel was set
  // before the work ended. Safe to call from several threads at once.
  std::optional<Matte> Update(const Marks& marks, const std::atomic<bool>* cancel = nullptr) const;

 private:
  RgbaImage photo_;
  Grid grid_;
};

}  // namespace coiffure::cutout
