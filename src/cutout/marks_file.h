// The operator's marks kept in a file between uses, for the photo they were drawn on: a photo
// is recognised by a fingerprint of its bytes, so marks never land on another photo of the
// same size. They are kept as the box and strokes that made them, so that the window can take
// them up again and undo them stroke by stroke.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "cutout/marks.h"

namespace coiffure::cutout {

std::vector<uint8_t> EncodeSketch(const Sketch& sketch, uint64_t photo, int width, int height);

// The sketch of a file EncodeSketch wrote, when it was drawn on the photo of that fingerprint
// and size; nothing for any other file, whatever its bytes.
std::optional<Sketch> DecodeSketch(std::span<const uint8_t> bytes, uint64_t photo, int width,
                                   int height);

// A sketch that gives these marks: a box around all that is not outside it, and a stroke of
// the finest brush along each row's run of hair and of not hair. Outside pixels within that box
// become undecided: a box is all a sketch can say of outside.
Sketch SketchOf(const Marks& marks);

}  // namespace coiffure::cutout
