// libFuzzer target: any bytes through the header readers. The orientation is always 1 to 8, a
// size is never negative, only an ftyp box names a brand, and turning a picture by the orientation
// found keeps its pixels.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "pictures/picture_header.h"
#include "pictures/upright.h"

namespace {

void Require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  const int orientation = coiffure::ReadOrientation(file);
  Require(orientation >= 1 && orientation <= 8);
  if (const auto header = coiffure::ReadHeaderSize(file))
    Require(header->width >= 0 && header->height >= 0);
  // A file's brand is read from its first box alone, whatever that box claims.
  const coiffure::MediaBrand brand = coiffure::ReadMediaBrand(file);
  Require(brand == coiffure::MediaBrand::kNone ||
          (size >= 16 && std::memcmp(data + 4, "ftyp", 4) == 0));

  // Odd sizes turn into a new picture; sides with a divisor of 16 turn where they lie.
  const bool shared = size % 2 == 1;
  const int w = shared ? 16 * int(1 + size % 3) : 1 + int(size % 7);
  const int h = shared ? 16 * int(1 + size / 3 % 4) : 1 + int(size % 5);
  coiffure::RgbaImage img = coiffure::RgbaImage::Create(w, h);
  for (size_t i = 0; i < img.bgra.size(); ++i) img.bgra[i] = static_cast<uint8_t>(i);
  const coiffure::RgbaImage up = coiffure::Upright(img, orientation);
  const bool swaps = orientation >= 5;
  Require(up.width == (swaps ? img.height : img.width));
  Require(up.height == (swaps ? img.width : img.height));
  uint64_t sum_in = 0, sum_out = 0;
  for (uint8_t v : img.bgra) sum_in += v;
  for (uint8_t v : up.bgra) sum_out += v;
  Require(sum_in == sum_out);
  return 0;
}
