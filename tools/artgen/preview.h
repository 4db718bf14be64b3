// Contact sheet of every hairstyle over a customer photo, composited as the workspace does, for
// judging the artwork by eye.
#pragma once

#include <string>
#include <vector>

#include "hair.h"
#include "imaging/picture.h"

namespace coiffure::art {

// Where a hairstyle's rectangle goes over the shipped 512 x 512 portrait, in the photo's pixels:
// the head's crown, chin and centre line meet those of HeadFrame.
struct PhotoFit {
  int left = 120, top = 0, right = 324, bottom = 276;
};

// One cell per pair, `columns` to a row.
Picture ContactSheet(const Picture& photo, const std::vector<HairPair>& pairs, PhotoFit fit = {},
                     int columns = 4);

}  // namespace coiffure::art
