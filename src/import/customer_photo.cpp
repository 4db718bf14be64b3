#include "import/customer_photo.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "import/kept_photo.h"

namespace coiffure {

Size FitInside(int width, int height, int box_width, int box_height) {
  const int64_t w = std::max(width, 1), h = std::max(height, 1);
  auto scaled = [](int64_t v, int64_t num, int64_t den) {
    return static_cast<int>(std::max<int64_t>(1, (v * num + den / 2) / den));
  };
  // The side that reaches its limit first is the one the box allows least of.
  if (w * box_height >= h * box_width) return {box_width, scaled(h, box_width, w)};
  return {scaled(w, box_height, h), box_height};
}

Size PhotoSize(int width, int height) {
  if (width <= kPaintBoxWidth && height <= kPaintBoxHeight) return {width, height};
  return FitInside(width, height, kPaintBoxWidth, kPaintBoxHeight);
}

namespace {

double ToLinear(int v) {
  const double c = v / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

uint8_t FromLinear(double l) {
  const double c = l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
  return static_cast<uint8_t>(std::lround(std::clamp(c, 0.0, 1.0) * 255));
}

}  // namespace

Picture FlattenOnWhite(const RgbaImage& image) {
  static const std::array<double, 256> linear = [] {
    std::array<double, 256> t{};
    for (int v = 0; v < 256; ++v) t[static_cast<size_t>(v)] = ToLinear(v);
    return t;
  }();
  Picture out = Picture::Create24(image.width, image.height, {255, 255, 255});
  for (int y = 0; y < image.height; ++y) {
    uint8_t* row = out.Row(y);
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = image.Pixel(x, y);
      uint8_t* d = row + 3 * x;
      if (p[3] == 255) {
        d[0] = p[0], d[1] = p[1], d[2] = p[2];
      } else if (p[3] != 0) {
        const double a = p[3] / 255.0;
        for (int c = 0; c < 3; ++c) d[c] = FromLinear(a * linear[p[c]] + (1 - a));
      }
    }
  }
  return out;
}

Picture MakeCustomerPhoto(const RgbaImage& image) {
  const Size size = PhotoSize(image.width, image.height);
  if (size == Size{image.width, image.height}) return FlattenOnWhite(image);
  return FlattenOnWhite(Resample(image, size));
}

PhotoResult ReplaceCustomerPhoto(const std::string& path, PictureSource& source,
                                 LibraryFolder& photo_folder) {
  PhotoResult result;
  result.path = path;
  std::string temp;
  result.message = ReasonItFailed([&] {
    if (path.empty()) throw ImportError(kMsgNoPhotoFile);
    Picture photo = MakeCustomerPhoto(source.Decode(path));
    const std::vector<uint8_t> bytes = photo.EncodeBmp24();
    result.size = {photo.Width(), photo.Height()};
    photo = {};
    photo_folder.Prepare();
    temp = photo_folder.WriteTemporary("photo", bytes);
    if (!photo_folder.MoveReplacing(temp, kPhotoFileName)) throw ImportError(kMsgPhotoNotReplaced);
    temp.clear();
    ForgetOriginalPhoto(photo_folder);  // a new customer: the last one's photo is not hers
  });
  result.replaced = result.message.empty();
  if (!result.replaced) result.size = {};
  if (!temp.empty()) photo_folder.Remove(temp);
  return result;
}

std::string PhotoResultText(const PhotoResult& result) {
  if (!result.replaced) return "未换照片：" + result.message;
  return "已换为顾客照片（" + std::to_string(result.size.width) + " × " +
         std::to_string(result.size.height) + "）";
}

std::string PhotoNextStep(const std::string& file_name) {
  return "已换上 " + file_name + "：在 Coiffure 中单击“重新引入底片”即可看到。";
}

}  // namespace coiffure
