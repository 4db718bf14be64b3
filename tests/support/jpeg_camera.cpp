#include "jpeg_camera.h"

// stb's code itself is compiled once for the test program, in tests/native/colour/stb_impl.cpp.

#include <stb_image.h>
#include <stb_image_write.h>

#include <stdexcept>

namespace coiffure::robot {
namespace {

void Append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

}  // namespace

RgbaImage ThroughJpeg(const Picture& photo, int quality) {
  const int w = photo.Width(), h = photo.Height();
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c)
        rgb[(static_cast<size_t>(y) * w + x) * 3 + c] = photo.Row(y)[3 * x + 2 - c];
  if (quality > 0) {
    std::vector<uint8_t> file;
    stbi_write_jpg_to_func(Append, &file, w, h, 3, rgb.data(), quality);
    int dw = 0, dh = 0, n = 0;
    uint8_t* px =
        stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &dw, &dh, &n, 3);
    if (!px || dw != w || dh != h) throw std::runtime_error("JPEG round trip failed");
    rgb.assign(px, px + rgb.size());
    stbi_image_free(px);
  }
  RgbaImage out = RgbaImage::Create(w, h);
  for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
    out.bgra[4 * i] = rgb[3 * i + 2];
    out.bgra[4 * i + 1] = rgb[3 * i + 1];
    out.bgra[4 * i + 2] = rgb[3 * i];
    out.bgra[4 * i + 3] = 255;
  }
  return out;
}

bool WritePng(const char* path, int width, int height, const std::vector<uint8_t>& rgb) {
  return stbi_write_png(path, width, height, 3, rgb.data(), width * 3) != 0;
}

}  // namespace coiffure::robot
