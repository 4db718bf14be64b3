// The picture every reader of picture files gives: any file, any format, once decoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace coiffure {

// A decoded picture: top row first, 4 bytes a pixel in the order blue, green, red, alpha, the
// colour not multiplied by the alpha (what the platform's 32bppBGRA gives).
struct RgbaImage {
  int width = 0, height = 0;
  std::vector<uint8_t> bgra;

  uint8_t* Pixel(int x, int y) { return bgra.data() + (static_cast<size_t>(y) * width + x) * 4; }
  const uint8_t* Pixel(int x, int y) const {
    return bgra.data() + (static_cast<size_t>(y) * width + x) * 4;
  }
  static RgbaImage Create(int width, int height) {
    RgbaImage image;
    image.width = width;
    image.height = height;
    image.bgra.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    return image;
  }
};

}  // namespace coiffure
