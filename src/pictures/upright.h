// Every picture the desk reads comes in the same way: refused from its header when it is too
// large, decoded by the platform, then turned the way up its camera meant.
#pragma once

#include <cstdint>
#include <span>

#include "imaging/loops.h"
#include "pictures/picture_source.h"
#include "pictures/rgba_image.h"

namespace coiffure {

// A decoded picture as stored, and the orientation its decoder reports for it: 0 when the
// decoder reports none and the file's own EXIF says (a HEIF picture's orientation is in its
// container, which only the platform's decoder reads).
struct DecodedPixels {
  RgbaImage image;
  int orientation = 0;
};

// The platform's decoder, given a picture file's bytes; throws ImportError (kMsgNotAPicture
// when it has no decoder for them).
class PixelDecoder {
 public:
  virtual ~PixelDecoder() = default;
  virtual DecodedPixels DecodePixels(std::span<const uint8_t> file) = 0;
};

// The picture shown the right way up for an EXIF orientation (1 to 8; anything else is 1):
// mirrored and turned by quarter turns; 5 to 8 swap width and height. Turned in the picture's
// own memory, except a quarter turn of sides without a common divisor of 16 or more, which
// goes into a new picture. Pass the picture with std::move when it is no longer needed.
RgbaImage Upright(RgbaImage image, int orientation);
// The same with the given form of the inner loops (each gives the same bits).
RgbaImage UprightWith(RgbaImage image, int orientation, Loops loops);

// Throws ImportError(kMsgPictureTooLarge) when the header in these bytes (a whole file, or its
// beginning) claims a size beyond the limits.
void RefuseHugeHeader(std::span<const uint8_t> file);

// RefuseHugeHeader before the decoder runs; then the decoded picture, upright. A HEIF or AVIF
// file the decoder cannot read is refused with the reason of its format (kMsgHeifPhoto,
// kMsgAvifPicture).
RgbaImage DecodeUpright(std::span<const uint8_t> file, PixelDecoder& decoder);
// The same, with the orientation it was turned by.
TurnedPicture DecodeTurned(std::span<const uint8_t> file, PixelDecoder& decoder);

}  // namespace coiffure
