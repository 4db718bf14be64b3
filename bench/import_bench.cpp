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

struct State {
  RgbaImage opaque, cut_out, reduced;
  cv::Mat peer_src, peer_dst;
  std::vector<uint8_t> floor_dst;
};

// The camera photo, opaque like the 2000 x 2000 picture, reduced to the size the import fits
// it to.
struct PhotoState {
  RgbaImage photo, reduced;
  cv::Mat peer_src, peer_dst;
  std::vector<uint8_t> floor_dst;
};

Workload PhotoReduction() {
  auto s = std::make_shared<PhotoState>();
  s->photo = MakePicture(false, kPhotoWidth, kPhotoHeight);
  s->peer_src = cv::Mat(kPhotoHeight, kPhotoWidth, CV_8UC4, s->photo.bgra.data());
  s->floor_dst.resize(s->photo.bgra.size());
  const Size fit = FittedSize(kPhotoWidth, kPhotoHeight);
  s->reduced = Resample(s->photo, fit);
  cv::resize(s->peer_src, s->peer_dst, cv::Size(fit.width, fit.height), 0, 0, cv::INTER_AREA);
  RequireClose("import_reduce_photo", s->reduced, s->peer_dst);
  Workload w;
  w.name = "import_reduce_photo_3024x4032";
  w.peer_name = "opencv_inter_area";
  w.ours = [s, fit] { s->reduced = Resample(s->photo, fit); };
  w.peer = [s, fit] {
    cv::resize(s->peer_src, s->peer_dst, cv::Size(fit.width, fit.height), 0, 0, cv::INTER_AREA);
  };
  w.floor = [s] { std::memcpy(s->floor_dst.data(), s->photo.bgra.data(), s->photo.bgra.size()); };
  return w;
}

}  // namespace

std::vector<Workload> ImportWorkloads() {
  auto s = std::make_shared<State>();
  s->opaque = MakePicture(false);
  s->cut_out = MakePicture(true);
  s->peer_src = cv::Mat(kSide, kSide, CV_8UC4, s->opaque.bgra.data());
  s->floor_dst.resize(s->opaque.bgra.size());
  const Size half{kSide / 2, kSide / 2};
  // Opaque, so that weighting the colours by alpha changes nothing and the bytes compare.
  s->reduced = Resample(s->opaque, half);
  cv::resize(s->peer_src, s->peer_dst, cv::Size(half.width, half.height), 0, 0, cv::INTER_AREA);
  RequireClose("import_reduce", s->reduced, s->peer_dst);

  std::vector<Workload> out;
  Workload reduce;
  reduce.name = "import_reduce_2000";
  reduce.peer_name = "opencv_inter_area";
  reduce.ours = [s, half] { s->reduced = Resample(s->opaque, half); };
  reduce.peer = [s, half] {
    cv::resize(s->peer_src, s->peer_dst, cv::Size(half.width, half.height), 0, 0, cv::INTER_AREA);
  };
  reduce.floor = [s] {
    std::memcpy(s->floor_dst.data(), s->opaque.bgra.data(), s->opaque.bgra.size());
  };
  out.push_back(reduce);
  out.push_back(PhotoReduction());

  // No peer turns a cut-out into a pair for a bitwise composite; the floor is copying the input.
  Workload convert;
  convert.name = "import_convert_2000_cutout";
  convert.ours = [s] {
    std::optional<HairstylePair> pair = ConvertToHairstyle(s->cut_out);
    if (!pair) std::abort();
  };
  convert.floor = reduce.floor;
  out.push_back(convert);
  return out;
}

}  // namespace coiffure::bench
