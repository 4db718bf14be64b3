// The photo's tone passes on a 12-megapixel camera photo, against OpenCV.
#include <cstring>
#include <memory>
#include <opencv2/core.hpp>

#include "bench.h"
#include "imaging/tone.h"

namespace coiffure::bench {
namespace {

constexpr int kW = 4000, kH = 3000;

struct ToneState {
  Picture ours;
  cv::Mat peer;
  std::vector<uint8_t> floor_src, floor_dst;
};

std::shared_ptr<ToneState> MakeState(const Picture& original) {
  auto s = std::make_shared<ToneState>();
  s->ours = original;
  s->peer = cv::Mat(kH, kW, CV_8UC3);
  for (int y = 0; y < kH; ++y) std::memcpy(s->peer.ptr(y), original.Row(y), size_t{kW} * 3);
  s->floor_src.assign(original.Row(0), original.Row(0) + size_t{kW} * kH * 3);
  s->floor_dst.resize(s->floor_src.size());
  return s;
}

// One pass of each on identical photos must give identical bytes before anything is timed.
void Verify(const std::string& name, ToneState& s) {
  for (int y = 0; y < kH; ++y) RequireSame(name, s.ours.Row(y), s.peer.ptr(y), size_t{kW} * 3);
}

Workload Make(const std::string& name, const Picture& original, void (*ours)(Picture&),
              const std::string& peer_name, std::function<void(cv::Mat&)> peer) {
  auto s = MakeState(original);
  ours(s->ours);
  peer(s->peer);
  Verify(name, *s);
  Workload w;
  w.name = name;
  w.peer_name = peer_name;
  // In place, as the program does it; saturated bytes cost the same as any others.
  w.ours = [s, ours] { ours(s->ours); };
  w.peer = [s, peer] { peer(s->peer); };
  w.floor = [s] { std::memcpy(s->floor_dst.data(), s->floor_src.data(), s->floor_src.size()); };
  return w;
}

}  // namespace

std::vector<Workload> ToneWorkloads() {
  Picture photo = Picture::Create24(kW, kH);
  for (int y = 0; y < kH; ++y) FillNoise(photo.Row(y), size_t{kW} * 3, static_cast<uint32_t>(y));

  cv::Mat lut(1, 256, CV_8UC3);
  for (int c = 0; c < 256; ++c)
    lut.at<cv::Vec3b>(0, c) = {ContrastDownByte(c, 0), ContrastDownByte(c, 1),
                               ContrastDownByte(c, 2)};

  std::vector<Workload> out;
  out.push_back(Make("tone_brightness_up", photo, BrightnessUp, "opencv_add", [](cv::Mat& m) {
    cv::add(m, cv::Scalar(kBrightnessStep, kBrightnessStep, kBrightnessStep), m);
  }));
  out.push_back(Make("tone_contrast_down", photo, ContrastDown, "opencv_lut",
                     [lut](cv::Mat& m) { cv::LUT(m, lut, m); }));
  return out;
}

}  // namespace coiffure::bench
