// Importing a 2000 x 2000 picture: the area-averaging reduction against OpenCV's, and the whole
// conversion (backdrop, crop, reduction, error-diffused mask) against the copy floor.
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

// Noise colours; the alpha is a soft-edged disc when cut_out, else fully opaque.
RgbaImage MakePicture(bool cut_out) {
  RgbaImage img = RgbaImage::Create(kSide, kSide);
  FillNoise(img.bgra.data(), img.bgra.size(), 77);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const double d = std::hypot(x - kSide / 2.0, y - kSide / 2.0) / (kSide / 2.0);
      const double a = cut_out ? std::clamp((0.95 - d) / 0.1, 0.0, 1.0) : 1.0;
      img.Pixel(x, y)[3] = static_cast<uint8_t>(std::lround(a * 255));
    }
  }
  return img;
}

// The two reductions must agree (to rounding) before their times mean anything.
void RequireClose(const RgbaImage& ours, const cv::Mat& peer) {
  for (int y = 0; y < ours.height; ++y) {
    for (int x = 0; x < ours.width * 4; ++x) {
      const int a = ours.Pixel(0, y)[x], b = peer.ptr(y)[x];
      if (std::abs(a - b) > 1) {
        std::fprintf(stderr, "import_reduce: ours and the peer differ at %d,%d (%d vs %d)\n", x / 4,
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
  RequireClose(s->reduced, s->peer_dst);

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
