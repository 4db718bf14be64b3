// The gallery cell of a shipped hairstyle: a 400 x 541 picture reduced whole into 200 x 200,
// white made transparent; against OpenCV's area resize doing the same.
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "bench.h"
#include "gallery/thumbnail.h"
#include "native/reduce_model.h"

namespace coiffure::bench {
namespace {

constexpr int kW = 400, kH = 541;  // the size every shipped style has

// Like a shipped style: brown strands in the middle, pure white around them.
Picture StyleLike() {
  Picture p = Picture::Create24(kW, kH, {255, 255, 255});
  std::vector<uint8_t> grain(size_t{kW});
  for (int y = 0; y < kH; ++y) {
    FillNoise(grain.data(), grain.size(), 700u + static_cast<uint32_t>(y));
    for (int x = 0; x < kW; ++x) {
      const double dx = (x - kW / 2.0) / (kW * 0.42), dy = (y - kH * 0.45) / (kH * 0.4);
      if (dx * dx + dy * dy > 1) continue;
      const int v = static_cast<int>(40 * std::sin(x * 0.15 + y * 0.02)) + grain[size_t(x)] / 16;
      uint8_t* px = p.Row(y) + 3 * x;
      px[0] = static_cast<uint8_t>(60 + v), px[1] = static_cast<uint8_t>(80 + v);
      px[2] = static_cast<uint8_t>(110 + v);
    }
  }
  return p;
}

// Ours must give the plain reduction's pixels exactly; white becomes black and transparent.
void VerifyOurs(const Picture& src, const Thumbnail& t) {
  const Picture want = model::ReduceToFit(src, kThumbSide);
  for (int y = 0; y < kThumbSide; ++y) {
    std::vector<uint8_t> row(want.Row(y), want.Row(y) + kThumbSide * 3);
    for (int x = 0; x < kThumbSide; ++x) {
      uint8_t* p = &row[3 * size_t(x)];
      const bool white = p[0] == 255 && p[1] == 255 && p[2] == 255;
      if (white) p[0] = p[1] = p[2] = 0;
      if (white != t.Transparent(x, y)) {
        std::fprintf(stderr, "thumbnail: mask differs at (%d, %d)\n", x, y);
        std::exit(2);
      }
    }
    RequireSame("thumbnail_400x541", t.image.Row(y), row.data(), row.size());
  }
}

struct Peer {
  cv::Mat src, cell, white;
  cv::Rect at;
  void Run() {
    cell.setTo(cv::Scalar(255, 255, 255));
    cv::resize(src, cell(at), at.size(), 0, 0, cv::INTER_AREA);
    cv::inRange(cell, cv::Scalar(255, 255, 255), cv::Scalar(255, 255, 255), white);
    cell.setTo(cv::Scalar(0, 0, 0), white);
  }
};

// The peer weighs the pixels a box cuts through by the part inside it, ours takes whole pixels:
// they must still agree closely, or the peer would be doing other work.
void VerifyPeer(const Thumbnail& ours, const cv::Mat& cell) {
  double total = 0;
  for (int y = 0; y < kThumbSide; ++y)
    for (int i = 0; i < kThumbSide * 3; ++i)
      total += std::abs(int{ours.image.Row(y)[i]} - int{cell.ptr(y)[i]});
  const double mean = total / (kThumbSide * kThumbSide * 3);
  std::printf("thumbnail_400x541: mean difference from the peer %.2f levels\n", mean);
  if (mean > 3) std::exit(2);
}

}  // namespace

std::vector<Workload> ThumbnailWorkloads() {
  auto src = std::make_shared<Picture>(StyleLike());
  VerifyOurs(*src, MakeThumbnail(*src));

  auto peer = std::make_shared<Peer>();
  peer->src = cv::Mat(kH, kW, CV_8UC3);
  for (int y = 0; y < kH; ++y) std::memcpy(peer->src.ptr(y), src->Row(y), size_t{kW} * 3);
  peer->cell = cv::Mat(kThumbSide, kThumbSide, CV_8UC3);
  const int tw = kW * kThumbSide / kH;  // the taller side fills the cell
  peer->at = cv::Rect((kThumbSide - tw) / 2, 0, tw, kThumbSide);
  peer->Run();
  VerifyPeer(MakeThumbnail(*src), peer->cell);

  Workload w;
  w.name = "thumbnail_400x541";
  w.ours = [src] {
    Thumbnail t = MakeThumbnail(*src);
    benchmark::DoNotOptimize(t.image.Row(0));
  };
  w.peer_name = "opencv_resize_area";
  w.peer = [peer] { peer->Run(); };
  // The floor: one copy of the picture, which the reduction must read whole.
  auto dst = std::make_shared<std::vector<uint8_t>>(size_t{kW} * kH * 3);
  w.floor = [src, dst] { std::memcpy(dst->data(), src->Row(0), dst->size()); };
  return {w};
}

}  // namespace coiffure::bench
