// Provisional decoder: 24-bit BI_RGB with a BITMAPINFOHEADER only.
#include <cstring>

#include "imaging/picture.h"

namespace coiffure {

namespace {
uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}
}  // namespace

Picture DecodeBmp(std::span<const uint8_t> b) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw PictureError(kMsgInvalidBitmap);
  const uint32_t off = U32(b, 10);
  const int32_t w = static_cast<int32_t>(U32(b, 18));
  int32_t h = static_cast<int32_t>(U32(b, 22));
  const bool top_down = h < 0;
  if (top_down) h = -h;
  if (b[28] != 24 || U32(b, 30) != 0 || w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide)
    throw PictureError(kMsgInvalidBitmap);
  const size_t padded = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  if (off > b.size() || b.size() - off < padded * static_cast<size_t>(h))
    throw PictureError(kMsgInvalidBitmap);
  Picture::Layout l;
  l.width = w;
  l.height = h;
  l.bpp = 24;
  std::vector<uint8_t> px(static_cast<size_t>(w) * 3 * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    const int src_y = top_down ? y : h - 1 - y;
    std::memcpy(&px[static_cast<size_t>(y) * w * 3], &b[off + padded * static_cast<size_t>(src_y)],
                static_cast<size_t>(w) * 3);
  }
  return Picture::FromLayout(std::move(l), std::move(px));
}

}  // namespace coiffure
