// One paint of the try-on picture: photo, mask AND, colour OR, handles; against OpenCV.
#include <array>
#include <cstring>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "bench.h"
#include "workspace/composite.h"

namespace coiffure::bench {
namespace {

constexpr int kBoxW = 529, kBoxH = 444;

cv::Mat ToMat(const Picture& p) {
  cv::Mat m(p.Height(), p.Width(), CV_8UC3);
  for (int y = 0; y < p.Height(); ++y) std::memcpy(m.ptr(y), p.Row(y), size_t(p.Width()) * 3);
  return m;
}

// A hairstyle pair: an elliptic "hair" region, black in the mask and coloured in the picture.
void MakeHair(Picture& mask, Picture& image, int side) {
  mask = Picture::Create24(side, side, {255, 255, 255});
  image = Picture::Create24(side, side);
  std::vector<uint8_t> noise(size_t(side) * 3);
  for (int y = 0; y < side; ++y) {
    FillNoise(noise.data(), noise.size(), 1000u + static_cast<uint32_t>(y));
    for (int x = 0; x < side; ++x) {
      const double dx = (x - side / 2.0) / (side * 0.45), dy = (y - side / 2.0) / (side * 0.3);
      if (dx * dx + dy * dy > 1) continue;
      std::memset(mask.Row(y) + 3 * x, 0, 3);
      std::memcpy(image.Row(y) + 3 * x, &noise[size_t(x) * 3], 3);
    }
  }
}

struct PeerState {
  cv::Mat frame, photo, mask, image, mask_scaled, image_scaled;
  cv::Rect rect;
  std::array<Point, 8> handles{};
};

void PeerCompose(PeerState& p) {
  const cv::Rect box(0, 0, p.frame.cols, p.frame.rows);
  const Point o = PhotoOrigin(box.width, box.height, p.photo.cols, p.photo.rows);
  const cv::Rect photo_at(o.x, o.y, p.photo.cols, p.photo.rows);
  const cv::Rect shown = photo_at & box;
  if (shown != box) p.frame.setTo(cv::Scalar(kTeal.b, kTeal.g, kTeal.r));
  p.photo(shown - photo_at.tl()).copyTo(p.frame(shown));
  cv::resize(p.mask, p.mask_scaled, p.rect.size(), 0, 0, cv::INTER_NEAREST);
  cv::resize(p.image, p.image_scaled, p.rect.size(), 0, 0, cv::INTER_NEAREST);
  const cv::Rect hair = p.rect & box;
  cv::Mat under = p.frame(hair);
  cv::bitwise_and(under, p.mask_scaled(hair - p.rect.tl()), under);
  cv::bitwise_or(under, p.image_scaled(hair - p.rect.tl()), under);
  for (const Point& h : p.handles) {
    cv::rectangle(p.frame, cv::Rect(h.x - 3, h.y - 3, 6, 6), cv::Scalar(0, 0, 0), cv::FILLED);
    cv::rectangle(p.frame, cv::Rect(h.x - 2, h.y - 2, 4, 4), cv::Scalar(255, 255, 255), cv::FILLED);
  }
}

struct OurState {
  Workspace ws;
  Frame frame;
  std::vector<uint8_t> floor_dst;
};

Workload Make(const std::string& name, const Rect& rect, bool with_peer) {
  auto s = std::make_shared<OurState>();
  s->ws.Reset();
  s->ws.Photo = Picture::Create24(640, 480);
  for (int y = 0; y < 480; ++y) FillNoise(s->ws.Photo.Row(y), 640 * 3, static_cast<uint32_t>(y));
  MakeHair(s->ws.HairMask, s->ws.HairImage, 300);
  s->ws.SetHairRect(rect);
  s->ws.HairSelected = true;
  s->frame.Resize(kBoxW, kBoxH);
  s->floor_dst.resize(s->frame.bgr.size());
  ComposeWorkspace(s->ws, s->frame);

  Workload w;
  w.name = name;
  w.ours = [s] { ComposeWorkspace(s->ws, s->frame); };
  w.floor = [s] { std::memcpy(s->floor_dst.data(), s->frame.bgr.data(), s->floor_dst.size()); };
  if (!with_peer) return w;

  auto p = std::make_shared<PeerState>();
  p->frame = cv::Mat(kBoxH, kBoxW, CV_8UC3);
  p->photo = ToMat(s->ws.Photo);
  p->mask = ToMat(s->ws.HairMask);
  p->image = ToMat(s->ws.HairImage);
  p->rect = cv::Rect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  p->handles = s->ws.HairHandles;
  PeerCompose(*p);
  for (int y = 0; y < kBoxH; ++y)
    RequireSame(name, s->frame.Row(y), p->frame.ptr(y), size_t{kBoxW} * 3);
  w.peer_name = "opencv_resize_nearest";
  w.peer = [p] { PeerCompose(*p); };
  return w;
}

}  // namespace

std::vector<Workload> CompositeWorkloads() {
  std::vector<Workload> out;
  out.push_back(Make("composite_640x480", {100, 40, 420, 420}, true));
  // 100000 x 100000, placed so that it covers the whole paint box.
  out.push_back(Make("composite_huge_rect", {-49900, -49960, 50100, 50040}, false));
  return out;
}

}  // namespace coiffure::bench
