// The customer photo from a phone's picture: a 4032 x 3024 picture stored sideways turned
// upright (ours where the decoded picture lies, as DecodeUpright turns it; OpenCV's rotate,
// which cannot turn a picture of unequal sides in place, into a fresh picture), and
// the upright 3024 x 4032 picture brought to the paint box's 333 x 444 at 24 bits (against
// OpenCV's area resize and its BGRA to BGR conversion).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "bench.h"
#include "import/customer_photo.h"
#include "pictures/upright.h"

namespace coiffure::bench {
namespace {

constexpr int kLong = 4032, kShort = 3024;

RgbaImage OpaqueNoise(int width, int height) {
  RgbaImage img = RgbaImage::Create(width, height);
  FillNoise(img.bgra.data(), img.bgra.size(), 91);
  for (size_t i = 3; i < img.bgra.size(); i += 4) img.bgra[i] = 255;
  return img;
}

struct Turn {
  RgbaImage stored, turning;
  bool sideways = true;  // `turning` is as stored; else it is upright
  cv::Mat peer_src, peer_dst;
  std::vector<uint8_t> floor_dst;
};

Workload UprightWorkload() {
  auto s = std::make_shared<Turn>();
  s->stored = OpaqueNoise(kLong, kShort);
  s->peer_src = cv::Mat(kShort, kLong, CV_8UC4, s->stored.bgra.data());
  s->floor_dst.resize(s->stored.bgra.size());
  cv::rotate(s->peer_src, s->peer_dst, cv::ROTATE_90_CLOCKWISE);
  const RgbaImage upright = Upright(s->stored, 6);
  RequireSame("desk_upright_4032x3024", upright.bgra.data(), s->peer_dst.data, upright.bgra.size());
  // Turned the other way (a camera held the other way up), the upright picture is the stored one.
  RequireSame("desk_upright_4032x3024", Upright(upright, 8).bgra.data(), s->stored.bgra.data(),
              s->stored.bgra.size());
  s->turning = s->stored;
  Workload w;
  w.name = "desk_upright_4032x3024";
  w.peer_name = "opencv_rotate";
  // Each run turns the picture the last run left: a quarter turn of a 4032 x 3024 photo either
  // way, from a picture already in memory, as a decoded one is.
  w.ours = [s] {
    s->turning = Upright(std::move(s->turning), s->sideways ? 6 : 8);
    s->sideways = !s->sideways;
  };
  w.peer = [s] {
    cv::Mat fresh;
    cv::rotate(s->peer_src, fresh, cv::ROTATE_90_CLOCKWISE);
    s->peer_dst = fresh;
  };
  w.floor = [s] { std::memcpy(s->floor_dst.data(), s->stored.bgra.data(), s->floor_dst.size()); };
  return w;
}

struct Fit {
  RgbaImage upright;
  Picture photo;
  cv::Mat peer_src, peer_small, peer_dst;
  std::vector<uint8_t> floor_dst;
};

Workload PhotoWorkload() {
  auto s = std::make_shared<Fit>();
  s->upright = OpaqueNoise(kShort, kLong);
  s->peer_src = cv::Mat(kLong, kShort, CV_8UC4, s->upright.bgra.data());
  s->floor_dst.resize(s->upright.bgra.size());
  const Size size = PhotoSize(kShort, kLong);
  auto peer = [s, size] {
    cv::resize(s->peer_src, s->peer_small, cv::Size(size.width, size.height), 0, 0, cv::INTER_AREA);
    cv::cvtColor(s->peer_small, s->peer_dst, cv::COLOR_BGRA2BGR);
  };
  s->photo = MakeCustomerPhoto(s->upright);
  peer();
  for (int y = 0; y < size.height; ++y)
    for (int x = 0; x < size.width * 3; ++x)
      if (std::abs(s->photo.Row(y)[x] - s->peer_dst.ptr(y)[x]) > 1) {
        std::fprintf(stderr, "desk_photo_3024x4032: ours and the peer differ at %d,%d\n", x / 3, y);
        std::exit(2);
      }
  Workload w;
  w.name = "desk_photo_3024x4032";
  w.peer_name = "opencv_inter_area_bgr";
  w.ours = [s] { s->photo = MakeCustomerPhoto(s->upright); };
  w.peer = peer;
  w.floor = [s] { std::memcpy(s->floor_dst.data(), s->upright.bgra.data(), s->floor_dst.size()); };
  return w;
}

}  // namespace

std::vector<Workload> DeskWorkloads() {
  return {UprightWorkload(), PhotoWorkload()};
}

}  // namespace coiffure::bench
