#include "pictures/upright.h"

#include <algorithm>
#include <cstring>

#include "pictures/picture_header.h"
#include "pictures/picture_source.h"

namespace coiffure {

namespace {

// Where output pixel (x, y) is read from, in pixels of the stored picture: start + x * along_x
// + y * along_y.
struct Walk {
  int64_t start, along_x, along_y;
};

Walk WalkFor(int orientation, int64_t w, int64_t h) {
  const int64_t last_row = (h - 1) * w, last_col = w - 1;
  switch (orientation) {
    case 2:
      return {last_col, -1, w};  // mirrored left to right
    case 3:
      return {last_row + last_col, -1, -w};  // half a turn
    case 4:
      return {last_row, 1, -w};  // mirrored top to bottom
    case 5:
      return {0, w, 1};  // rows become columns
    case 6:
      return {last_row, -w, 1};  // stored a quarter turn anticlockwise
    case 7:
      return {last_row + last_col, -w, -1};  // rows become columns, half a turn
    case 8:
      return {last_col, w, -1};  // stored a quarter turn clockwise
    default:
      return {0, 1, w};
  }
}

}  // namespace

RgbaImage Upright(const RgbaImage& image, int orientation) {
  if (orientation < 2 || orientation > 8 || image.width <= 0 || image.height <= 0) return image;
  const bool swaps = orientation >= 5;
  RgbaImage out =
      RgbaImage::Create(swaps ? image.height : image.width, swaps ? image.width : image.height);
  const Walk walk = WalkFor(orientation, image.width, image.height);
  const uint8_t* in = image.bgra.data();
  // In small tiles, so that a quarter turn reads each stored row's cache lines (and pages)
  // while they are still near; 16 was the fastest of 16 to 128 on a 4032 x 3024 picture.
  constexpr int kTile = 16;
  for (int ty = 0; ty < out.height; ty += kTile) {
    for (int tx = 0; tx < out.width; tx += kTile) {
      const int y1 = std::min(ty + kTile, out.height), x1 = std::min(tx + kTile, out.width);
      for (int y = ty; y < y1; ++y) {
        uint8_t* d = out.Pixel(tx, y);
        int64_t s = walk.start + tx * walk.along_x + y * walk.along_y;
        for (int x = tx; x < x1; ++x, d += 4, s += walk.along_x) std::memcpy(d, in + s * 4, 4);
      }
    }
  }
  return out;
}

void RefuseHugeHeader(std::span<const uint8_t> file) {
  const std::optional<HeaderSize> size = ReadHeaderSize(file);
  if (size && ExceedsPictureLimits(size->width, size->height))
    throw ImportError(kMsgPictureTooLarge);
}

RgbaImage DecodeUpright(std::span<const uint8_t> file, PixelDecoder& decoder) {
  RefuseHugeHeader(file);
  RgbaImage pixels = decoder.DecodePixels(file);
  const int orientation = ReadOrientation(file);
  if (orientation == 1) return pixels;
  return Upright(pixels, orientation);
}

}  // namespace coiffure
