// Importing a 2000 x 2000 picture: the area-averaging reduction against OpenCV's, and the whole
// conversion (backdrop, crop, reduction, error-diffused mask) against the copy floor. A camera
// photo's reduction to the fitted size (3024 x 4032 to 750 x 1000, not a whole ratio) checks
// that the reduction is fast for any ratio, not only halving.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "bench.h"
#include "import/convert.h"

namespace coiffure::bench {
namespace {

constexpr int kSide = 2000;
constexpr int kPhotoWidth = 3024, kPhotoHeight = 4032;

// Noise colours; the alpha is a soft-edged disc when cut_out, else fully opaque.
RgbaImage MakePicture(bool cut_out, int width = kSide, int height = kSide) {
  RgbaImage img = RgbaImage::Create(width, height);
  FillNoise(img.bgra.data(), img.bgra.size(), 77);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double d = std::hypot(x - width / 2.0, y - height / 2.0) / (kSide / 2.0);
      const double a = cut_out ? std::clamp((0.95 - d) / 0.1, 0.0, 1.0) : 1.0;
      img.Pixel(x, y)[3] = static_cast<uint8_t>(std::lround(a * 255));
    }
  }
  return img;
}

// The two reductions must agree (to rounding) before their times mean anything.
void RequireClose(const char* workload, const RgbaImage& ours, const cv::Mat& peer) {
  for (int y = 0; y < ours.height; ++y) {
    for (int x = 0; x < ours.width * 4; ++x) {
      const int a = ours.Pixel(0, y)[x], b = peer.ptr(y)[x];
      if (std::abs(a - b) > 1) {
        std::fprintf(stderr, "%s: ours and the peer differ at %d,%d (%d vs %d)\n", workload, x / 4,
                     y, a, b);
        std::exit(2);
      }
    }
  }
}

// An opaque picture reduced to a size, ours against OpenCV's area resize. Opaque, so that
// weighting the colours by alpha changes nothing and the outputs compare.
struct Reduction {
  RgbaImage picture, reduced;
  cv::Mat peer_src, peer_dst;
  std::vector<uint8_t> floor_dst;
};

Workload ReductionWorkload(const std::string& name, int width, int height, Size to) {
  auto s = std::make_shared<Reduction>();
  s->picture = MakePicture(false, width, height);
  s->peer_src = cv::Mat(height, width, CV_8UC4, s->picture.bgra.data());
  s->floor_dst.resize(s->picture.bgra.size());
  s->reduced = Resample(s->picture, to);
  cv::resize(s->peer_src, s->peer_dst, cv::Size(to.width, to.height), 0, 0, cv::INTER_AREA);
  RequireClose(name.c_str(), s->reduced, s->peer_dst);
  Workload w;
  w.name = name;
  w.peer_name = "opencv_inter_area";
  w.ours = [s, to] { s->reduced = Resample(s->picture, to); };
  w.peer = [s, to] {
    cv::resize(s->peer_src, s->peer_dst, cv::Size(to.width, to.height), 0, 0, cv::INTER_AREA);
  };
  w.floor = [s] {
    std::memcpy(s->floor_dst.data(), s->picture.bgra.data(), s->picture.bgra.size());
  };
  return w;
}

}  // namespace

std::vector<Workload> ImportWorkloads() {
  std::vector<Workload> out;
  out.push_back(ReductionWorkload("import_reduce_2000", kSide, kSide, {kSide / 2, kSide / 2}));
  // A camera photo to the size the import fits it to.
  out.push_back(ReductionWorkload("import_reduce_photo_3024x4032", kPhotoWidth, kPhotoHeight,
                                  FittedSize(kPhotoWidth, kPhotoHeight)));

  // No peer turns a cut-out into a pair for a bitwise composite; the floor is copying the input.
  auto cut_out = std::make_shared<RgbaImage>(MakePicture(true));
  auto copy = std::make_shared<std::vector<uint8_t>>(cut_out->bgra.size());
  Workload convert;
  convert.name = "import_convert_2000_cutout";
  convert.ours = [cut_out] {
    std::optional<HairstylePair> pair = ConvertToHairstyle(*cut_out);
    if (!pair) std::abort();
  };
  convert.floor = [cut_out, copy] {
    std::memcpy(copy->data(), cut_out->bgra.data(), cut_out->bgra.size());
  };
  out.push_back(convert);
  return out;
}

}  // namespace coiffure::bench
