#include "native/colour/hair_photos.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <stdexcept>

namespace coiffure::test {

Picture JpegRoundTrip(const Picture& picture, int quality) {
  const int w = picture.Width(), h = picture.Height();
  std::vector<uint8_t> rgb(3 * static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Bgr c = picture.PixelBgr(x, y);
      uint8_t* p = &rgb[3 * (static_cast<size_t>(y) * w + x)];
      p[0] = c.r, p[1] = c.g, p[2] = c.b;
    }
  std::vector<uint8_t> file;
  const auto sink = [](void* ctx, void* data, int size) {
    auto* f = static_cast<std::vector<uint8_t>*>(ctx);
    f->insert(f->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  };
  if (!stbi_write_jpg_to_func(sink, &file, w, h, 3, rgb.data(), quality))
    throw std::runtime_error("JPEG not written");
  int rw = 0, rh = 0, n = 0;
  uint8_t* back =
      stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &rw, &rh, &n, 3);
  if (!back || rw != w || rh != h) throw std::runtime_error("JPEG not read back");
  Picture out = Picture::Create24(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = back + 3 * (static_cast<size_t>(y) * w + x);
      uint8_t* o = out.Row(y) + 3 * x;
      o[0] = p[2], o[1] = p[1], o[2] = p[0];
    }
  stbi_image_free(back);
  return out;
}

void SavePng(const Picture& picture, const std::string& path) {
  const int w = picture.Width(), h = picture.Height();
  std::vector<uint8_t> rgb;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Bgr c = picture.PixelBgr(x, y);
      rgb.insert(rgb.end(), {c.r, c.g, c.b});
    }
  if (!stbi_write_png(path.c_str(), w, h, 3, rgb.data(), 3 * w))
    throw std::runtime_error("cannot write " + path);
}

TestPhoto MakePhoto(const PhotoRecipe& recipe) {
  art::HairPhoto drawn = art::DrawHairPhoto(recipe);
  TestPhoto t{std::move(drawn.photo), std::move(drawn.matte), {}, {}};
  if (recipe.quality > 0) t.photo = JpegRoundTrip(t.photo, recipe.quality);
  const int W = t.photo.Width(), H = t.photo.Height();
  t.style_colour = Picture::Create24(W, H);
  t.style_mask = Picture::Create24(W, H, {255, 255, 255});
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (t.matte[static_cast<size_t>(y) * W + x] < 128) continue;
      std::copy_n(t.photo.Row(y) + 3 * x, 3, t.style_colour.Row(y) + 3 * x);
      std::fill_n(t.style_mask.Row(y) + 3 * x, 3, 0);
    }
  return t;
}

}  // namespace coiffure::test
