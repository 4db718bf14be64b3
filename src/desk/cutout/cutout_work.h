// The cut-out window's work, done off its thread: a photo prepared once (the session, and a
// smaller copy for showing), then a matte for the marks after each change of them. Each piece
// is immutable once made, so the window and the worker may share it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cutout/cutout.h"

namespace coiffure {

// The copy shown is at most this on its longer side: enough for any window, small enough to
// bring to the window's size at once whenever it changes.
inline constexpr int kShownSide = 1600;

struct PreparedPhoto {
  std::shared_ptr<const cutout::Session> session;
  std::shared_ptr<const RgbaImage> shown;  // the photo reduced to kShownSide, or as it is
  uint64_t fingerprint = 0;                // of the photo's pixels, to know it again
};

// Takes the photo over; 0.1 - 0.5 s for a camera's photo.
PreparedPhoto PreparePhoto(RgbaImage photo);

// The matte of the sketch, and the same at the shown copy's size.
struct WorkedMatte {
  cutout::Matte matte;
  std::vector<uint8_t> shown;
};
// Nothing when cancel was set before it was done.
std::optional<WorkedMatte> WorkOutMatte(const PreparedPhoto& photo, const cutout::Sketch& sketch,
                                        const std::atomic<bool>* cancel);

// Of every byte of the pixels and the size: the same photo opened again is known by it.
uint64_t PhotoFingerprint(const RgbaImage& photo);

// The marks of the photo worked on last, kept while the desk is open, so that opening the same
// photo again starts from them.
struct KeptMarks {
  std::string photo;  // the file's path as it was opened
  uint64_t fingerprint = 0;
  cutout::Sketch sketch;
};

}  // namespace coiffure
