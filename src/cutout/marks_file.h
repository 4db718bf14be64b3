// The operator's marks kept in a file between uses, for the photo they were drawn on: a photo
// is recognised by a fingerprint of its bytes, so marks never land on another photo of the
// same size.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "cutout/marks.h"

namespace coiffure::cutout {

// The labels in runs, a few kilobytes for a photo's box and strokes.
std::vector<uint8_t> EncodeMarks(const Marks& marks, uint64_t photo);

// The marks of a file EncodeMarks wrote, when they were drawn on the photo of that fingerprint
// and size; nothing for any other file, whatever its bytes.
std::optional<Marks> DecodeMarks(std::span<const uint8_t> bytes, uint64_t photo, int width,
                                 int height);

}  // namespace coiffure::cutout
