#include "import/convert.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "import/pair_rows.h"
#include "import/resample_rows.h"

namespace coiffure {

bool HasTransparency(const RgbaImage& image) {
  for (size_t i = 3; i < image.bgra.size(); i += 4)
    if (image.bgra[i] != 255) return true;
  return false;
}

namespace {

// The border's most common colour, counted in 5-bit-per-channel buckets so that JPEG noise on
// a plain backdrop falls into one bucket; the result is the mean of that bucket's pixels.
std::array<int, 3> BorderColour(const RgbaImage& image) {
  std::vector<uint32_t> count(1u << 15);
  std::vector<std::array<uint64_t, 3>> sum(1u << 15);
  auto add = [&](int x, int y) {
    const uint8_t* p = image.Pixel(x, y);
    const uint32_t key = (p[0] >> 3) << 10 | (p[1] >> 3) << 5 | (p[2] >> 3);
    ++count[key];
    for (int c = 0; c < 3; ++c) sum[key][c] += p[c];
  };
  for (int x = 0; x < image.width; ++x) {
    add(x, 0);
    add(x, image.height - 1);
  }
  for (int y = 0; y < image.height; ++y) {
    add(0, y);
    add(image.width - 1, y);
  }
  const size_t best =
      static_cast<size_t>(std::max_element(count.begin(), count.end()) - count.begin());
  std::array<int, 3> colour{};
  for (int c = 0; c < 3; ++c) colour[c] = static_cast<int>(sum[best][c] / count[best]);
  return colour;
}

int Distance(const uint8_t* p, const std::array<int, 3>& ref) {
  return std::abs(p[0] - ref[0]) + std::abs(p[1] - ref[1]) + std::abs(p[2] - ref[2]);
}

// The ring of pixels next to the removed background is where a photo blends hair into the
// backdrop: those still close to the backdrop's colour become partly transparent (fully
// opaque from twice the tolerance on), so the edge is dithered rather than fringed.
void SoftenEdge(RgbaImage& image, const std::array<int, 3>& ref, int tolerance) {
  const int w = image.width, h = image.height;
  auto cleared = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < w && y < h && image.Pixel(x, y)[3] == 0;
  };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = image.Pixel(x, y);
      if (p[3] != 255 ||
          !(cleared(x - 1, y) || cleared(x + 1, y) || cleared(x, y - 1) || cleared(x, y + 1)))
        continue;
      // Above the tolerance, so never 0: the ring cannot spread the background.
      const int d = Distance(p, ref);
      if (d < 2 * tolerance) p[3] = static_cast<uint8_t>(255 * (d - tolerance) / tolerance);
    }
  }
}

}  // namespace

bool LooksLikeAPhotoOfAPerson(const RgbaImage& image, int tolerance) {
  if (image.width <= 0 || image.height <= 0 || HasTransparency(image)) return false;
  const std::array<int, 3> ref = BorderColour(image);
  const int w = image.width, h = image.height;
  int64_t border = 0, plain = 0, bottom_other = 0;
  const auto count = [&](int x, int y) {
    const bool near = Distance(image.Pixel(x, y), ref) <= tolerance;
    ++border;
    plain += near;
    if (y == h - 1 && !near) ++bottom_other;
  };
  for (int x = 0; x < w; ++x) count(x, 0), count(x, h - 1);
  for (int y = 1; y + 1 < h; ++y) count(0, y), count(w - 1, y);
  return plain * 10 < border * 6 || bottom_other * 4 > w;
}

void ClearBorderBackground(RgbaImage& image, int tolerance) {
  if (image.width <= 0 || image.height <= 0) return;
  const std::array<int, 3> ref = BorderColour(image);
  const int w = image.width, h = image.height;
  // Alpha 0 doubles as "visited": the picture had no transparency before.
  std::vector<uint32_t> stack;
  auto visit = [&](int x, int y) {
    uint8_t* p = image.Pixel(x, y);
    if (p[3] == 0) return;
    if (Distance(p, ref) > tolerance) return;
    p[3] = 0;
    stack.push_back(static_cast<uint32_t>(y) * static_cast<uint32_t>(w) + static_cast<uint32_t>(x));
  };
  for (int x = 0; x < w; ++x) {
    visit(x, 0);
    visit(x, h - 1);
  }
  for (int y = 0; y < h; ++y) {
    visit(0, y);
    visit(w - 1, y);
  }
  while (!stack.empty()) {
    const uint32_t i = stack.back();
    stack.pop_back();
    const int x = static_cast<int>(i % static_cast<uint32_t>(w));
    const int y = static_cast<int>(i / static_cast<uint32_t>(w));
    if (x > 0) visit(x - 1, y);
    if (x + 1 < w) visit(x + 1, y);
    if (y > 0) visit(x, y - 1);
    if (y + 1 < h) visit(x, y + 1);
  }
  SoftenEdge(image, ref, tolerance);
}

namespace {

// The visible pixels' rectangle with a little air around it, so the mask's soft edge is not
// cut by the picture's edge; with extents, also where each row's visible pixels lie.
std::optional<resample::Window> VisibleWindow(const RgbaImage& image,
                                              std::vector<resample::Extent>* extents = nullptr) {
  const std::optional<pair_rows::Box> box = pair_rows::VisibleBox(image, BestLoops(), extents);
  if (!box) return std::nullopt;
  const int margin = std::max(2, std::max(box->width, box->height) / 50);
  return resample::Window{&image, box->x0, box->y0, box->width, box->height, margin, extents};
}

RgbaImage CopyWindow(const resample::Window& w) {
  RgbaImage out = RgbaImage::Create(w.OuterWidth(), w.OuterHeight());
  for (int y = 0; y < w.height; ++y)
    std::copy_n(w.image->Pixel(w.x0, w.y0 + y), static_cast<size_t>(w.width) * 4,
                out.Pixel(w.margin, w.margin + y));
  return out;
}

}  // namespace

std::optional<RgbaImage> CropToVisible(const RgbaImage& image) {
  const std::optional<resample::Window> window = VisibleWindow(image);
  if (!window) return std::nullopt;
  return CopyWindow(*window);
}

RgbaImage PadToMinimum(const RgbaImage& image) {
  const int w = std::max(image.width, kImportMinSide), h = std::max(image.height, kImportMinSide);
  if (w == image.width && h == image.height) return image;
  RgbaImage out = RgbaImage::Create(w, h);
  const int ox = (w - image.width) / 2, oy = (h - image.height) / 2;
  for (int y = 0; y < image.height; ++y)
    std::copy_n(image.Pixel(0, y), static_cast<size_t>(image.width) * 4, out.Pixel(ox, oy + y));
  return out;
}

HairstylePair MakePair(const RgbaImage& image) {
  return pair_rows::MakePairWith(image, BestLoops());
}

namespace {

// The window's rows as the cut-out would hold them, margins and all, one at a time.
void WindowRowsInto(const resample::Window& w, pair_rows::PairBuilder& builder) {
  std::vector<uint8_t> row(static_cast<size_t>(w.OuterWidth()) * 4);
  for (int y = 0; y < w.OuterHeight(); ++y) {
    const int inner = y - w.margin;
    if (inner >= 0 && inner < w.height)
      std::copy_n(w.image->Pixel(w.x0, w.y0 + inner), static_cast<size_t>(w.width) * 4,
                  row.data() + static_cast<size_t>(w.margin) * 4);
    else
      std::fill(row.begin(), row.end(), uint8_t{0});
    builder.AddRow(row.data());
  }
}

// The conversion once the background is transparent: the visible window is resampled where it
// stands (a crop would copy nearly the whole picture first) and, unless it needs padding,
// straight into the pair, row by row.
std::optional<HairstylePair> ConvertVisible(const RgbaImage& image) {
  std::vector<resample::Extent> extents;
  const std::optional<resample::Window> window = VisibleWindow(image, &extents);
  if (!window) return std::nullopt;
  const Size outer{window->OuterWidth(), window->OuterHeight()};
  const Size size = FittedSize(outer.width, outer.height);
  std::optional<HairstylePair> pair;
  if (size.width >= kImportMinSide && size.height >= kImportMinSide) {
    pair_rows::PairBuilder builder(size.width, size.height, BestLoops());
    if (size == outer)
      WindowRowsInto(*window, builder);
    else
      resample::ResampleWindowRows(*window, size, BestLoops(),
                                   [&](const uint8_t* row) { builder.AddRow(row); });
    pair = builder.Take();
  } else {
    pair = MakePair(PadToMinimum(size == outer
                                     ? CopyWindow(*window)
                                     : resample::ResampleWindow(*window, size, BestLoops())));
  }
  if (pair->hair_pixels == 0) return std::nullopt;
  return pair;
}

}  // namespace

std::optional<HairstylePair> ConvertToHairstyle(const RgbaImage& image) {
  if (HasTransparency(image)) return ConvertVisible(image);
  RgbaImage copy = image;
  ClearBorderBackground(copy);
  return ConvertVisible(copy);
}

std::optional<HairstylePair> ConvertToHairstyle(RgbaImage&& image) {
  if (!HasTransparency(image)) ClearBorderBackground(image);
  return ConvertVisible(image);
}

}  // namespace coiffure
