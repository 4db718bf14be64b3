#include "pictures/upright.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "pictures/picture_header.h"
#include "pictures/picture_source.h"
#include "pictures/upright_rows.h"

namespace coiffure {

namespace {

// The side of the tiles a transposition works in: two tiles of 64 x 64 pixels (32 KB) stay in
// the first-level cache while they are swapped.
constexpr int kTile = 64;

// What an orientation asks after any transposition (5 to 8 transpose first): each row's pixels
// in the opposite order, the rows in the opposite order.
struct Flips {
  bool pixels, rows;
};

Flips FlipsFor(int orientation) {
  const int o = orientation;
  return {o == 2 || o == 3 || o == 6 || o == 7, o == 3 || o == 4 || o == 7 || o == 8};
}

void FlipInPlace(RgbaImage& image, Flips flips, Loops loops) {
  const int w = image.width, h = image.height;
  if (flips.rows) {
    std::vector<uint8_t> held(static_cast<size_t>(w) * 4);
    for (int y = 0; y < h / 2; ++y) {
      uint8_t *a = image.Pixel(0, y), *b = image.Pixel(0, h - 1 - y);
      if (!flips.pixels) {
        std::swap_ranges(a, a + held.size(), b);
        continue;
      }
      upright::ReverseCopy(a, held.data(), w, loops);
      upright::ReverseCopy(b, a, w, loops);
      std::memcpy(b, held.data(), held.size());
    }
  }
  if (!flips.pixels) return;
  for (int y = flips.rows ? h / 2 : 0; y < (flips.rows ? (h + 1) / 2 : h); ++y)
    upright::ReverseInPlace(image.Pixel(0, y), w, loops);
}

// The transposed picture in memory of its own, in tiles.
RgbaImage TransposedCopy(const RgbaImage& in, Loops loops) {
  RgbaImage out = RgbaImage::Create(in.height, in.width);
  for (int ty = 0; ty < in.height; ty += kTile)
    for (int tx = 0; tx < in.width; tx += kTile)
      upright::TransposeBlock(in.Pixel(tx, ty), in.width * 4LL, out.Pixel(ty, tx), out.width * 4LL,
                              std::min(kTile, in.height - ty), std::min(kTile, in.width - tx),
                              loops);
  return out;
}

// Each g x g square of the picture (g divides both sides) transposed where it lies, a pair of
// tiles at a time through one tile of scratch.
void TransposeSquares(RgbaImage& image, int g, Loops loops) {
  std::vector<uint8_t> tile(size_t{kTile} * kTile * 4);
  const ptrdiff_t stride = image.width * 4LL;
  for (int sy = 0; sy < image.height; sy += g) {
    for (int sx = 0; sx < image.width; sx += g) {
      for (int ti = 0; ti < g; ti += kTile) {
        for (int tj = ti; tj < g; tj += kTile) {
          const int rows = std::min(kTile, g - ti), cols = std::min(kTile, g - tj);
          uint8_t* a = image.Pixel(sx + tj, sy + ti);  // rows x cols
          uint8_t* b = image.Pixel(sx + ti, sy + tj);  // cols x rows
          upright::TransposeBlock(a, stride, tile.data(), rows * 4, rows, cols, loops);
          if (a != b) upright::TransposeBlock(b, stride, a, stride, cols, rows, loops);
          for (int r = 0; r < cols; ++r) std::memcpy(b + r * stride, &tile[r * rows * 4], rows * 4);
        }
      }
    }
  }
}

// After TransposeSquares, each run of g pixels of a square's row is a run of the turned
// picture's rows: moved there along the cycles of that permutation (each run moved once, one
// run held aside a cycle), reversed on the way when the orientation mirrors the rows.
void MoveRuns(RgbaImage& image, int g, Flips flips, Loops loops) {
  const size_t across = image.width / g, down = image.height / g;  // squares, as stored
  const size_t runs = image.bgra.size() / (size_t{4} * g), run_bytes = size_t{4} * g;
  // The stored run that the turned picture's run d takes (the turned rows have `down` runs).
  const auto source = [&](size_t d) {
    size_t square_row = d / down / g, row = d / down % g;
    const size_t column = d % down;
    if (flips.rows) square_row = across - 1 - square_row, row = g - 1 - row;
    const size_t stored_square_row = flips.pixels ? down - 1 - column : column;
    return (stored_square_row * g + row) * across + square_row;
  };
  const auto move = [&](uint8_t* to, const uint8_t* from) {
    if (flips.pixels)
      upright::ReverseCopy(from, to, g, loops);
    else
      std::memcpy(to, from, run_bytes);
  };
  std::vector<bool> moved(runs);
  std::vector<uint8_t> held(run_bytes);
  uint8_t* at = image.bgra.data();
  for (size_t start = 0; start < runs; ++start) {
    if (moved[start]) continue;
    std::memcpy(held.data(), at + start * run_bytes, run_bytes);
    for (size_t d = start;;) {
      moved[d] = true;
      const size_t s = source(d);
      if (s == start) {
        move(at + d * run_bytes, held.data());
        break;
      }
      move(at + d * run_bytes, at + s * run_bytes);
      d = s;
    }
  }
}

// Runs shorter than this fill less than a cache line, and moving them along the permutation
// costs more than writing into new memory does.
constexpr int kMinRun = 16;

}  // namespace

RgbaImage UprightWith(RgbaImage image, int orientation, Loops loops) {
  if (orientation < 2 || orientation > 8 || image.width <= 0 || image.height <= 0) return image;
  const Flips flips = FlipsFor(orientation);
  if (orientation < 5) {
    FlipInPlace(image, flips, loops);
    return image;
  }
  // A picture whose sides share a large divisor (a phone's 4032 x 3024: 1008) is turned where
  // it lies: no second picture's worth of memory, none of it new to the process.
  const int g = std::gcd(image.width, image.height);
  if (g >= kMinRun) {
    TransposeSquares(image, g, loops);
    MoveRuns(image, g, flips, loops);
    std::swap(image.width, image.height);
    return image;
  }
  RgbaImage out = TransposedCopy(image, loops);
  FlipInPlace(out, flips, loops);
  return out;
}

RgbaImage Upright(RgbaImage image, int orientation) {
  return UprightWith(std::move(image), orientation, BestLoops());
}

void RefuseHugeHeader(std::span<const uint8_t> file) {
  const std::optional<HeaderSize> size = ReadHeaderSize(file);
  if (size && ExceedsPictureLimits(size->width, size->height))
    throw ImportError(kMsgPictureTooLarge);
}

RgbaImage DecodeUpright(std::span<const uint8_t> file, PixelDecoder& decoder) {
  return DecodeTurned(file, decoder).image;
}

TurnedPicture DecodeTurned(std::span<const uint8_t> file, PixelDecoder& decoder) {
  RefuseHugeHeader(file);
  DecodedPixels decoded;
  try {
    decoded = decoder.DecodePixels(file);
  } catch (const ImportError& e) {
    // Not damaged but of a format this system lacks the decoder for: say which, and what to do.
    const MediaBrand brand = ReadMediaBrand(file);
    if (std::strcmp(e.what(), kMsgNotAPicture) != 0 || brand == MediaBrand::kNone) throw;
    throw ImportError(brand == MediaBrand::kHeif ? kMsgHeifPhoto : kMsgAvifPicture);
  }
  int orientation = decoded.orientation ? decoded.orientation : ReadOrientation(file);
  if (orientation < 1 || orientation > 8) orientation = 1;
  return {Upright(std::move(decoded.image), orientation), orientation};
}

}  // namespace coiffure
