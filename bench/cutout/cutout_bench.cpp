// One update of the hair cut-out after a corrective stroke, on a portrait of 1 MP and of 12 MP
// (a phone's photo): the box, a stroke of each kind and the scripted operator's first
// correction. The peer at 1 MP is OpenCV's grabCut, 5 iterations from a mask of the same marks;
// at 12 MP it has none (grabCut takes minutes there). The floor copies the matte's bytes.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <opencv2/imgproc.hpp>

#include "bench.h"
#include "cutout/cutout.h"
#include "pictures/rgba_image.h"
#include "portraits.h"
#include "support/cutout_robot.h"

namespace coiffure::bench {
namespace {

struct CutoutState {
  std::unique_ptr<cutout::Session> session;
  robot::Truth truth;
  cutout::Marks marks;
  cv::Mat bgr, gc_mask;
  std::vector<uint8_t> floor_src, floor_dst;
};

RgbaImage ToRgba(const Picture& p) {
  RgbaImage out = RgbaImage::Create(p.Width(), p.Height());
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) {
      std::memcpy(out.Pixel(x, y), p.Row(y) + 3 * x, 3);
      out.Pixel(x, y)[3] = 255;
    }
  return out;
}

// grabCut's mask from the marks: strokes are sure, the rest of the box probably hair.
cv::Mat GrabCutMask(const cutout::Marks& m) {
  cv::Mat mask(m.height, m.width, CV_8UC1);
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x) {
      const cutout::Mark k = m.At(x, y);
      mask.at<uint8_t>(y, x) = k == cutout::Mark::kHair        ? cv::GC_FGD
                               : k == cutout::Mark::kUndecided ? cv::GC_PR_FGD
                                                               : cv::GC_BGD;
    }
  return mask;
}

std::vector<uint8_t> GrabCut(CutoutState& s) {
  cv::Mat mask = s.gc_mask.clone(), bgd, fgd;
  cv::grabCut(s.bgr, mask, cv::Rect(), bgd, fgd, 5, cv::GC_INIT_WITH_MASK);
  std::vector<uint8_t> alpha(mask.total());
  for (size_t i = 0; i < alpha.size(); ++i) {
    const uint8_t v = mask.data[i];
    alpha[i] = (v == cv::GC_FGD || v == cv::GC_PR_FGD) ? 255 : 0;
  }
  return alpha;
}

std::shared_ptr<CutoutState> Prepare(float scale, bool peer) {
  auto s = std::make_shared<CutoutState>();
  const art::Portrait p = art::DrawPortrait(art::PortraitSittings()[3], scale);
  s->truth = {p.photo.Width(), p.photo.Height(), p.hair};
  const auto t0 = std::chrono::steady_clock::now();
  s->session = std::make_unique<cutout::Session>(ToRgba(p.photo));
  const double prep = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  s->marks = robot::FirstMarks(s->truth);
  const std::vector<uint8_t> first = s->session->Update(s->marks)->alpha;
  if (const auto dab = robot::Correction(s->truth, first)) robot::Apply(s->marks, *dab);
  const std::vector<uint8_t> ours = s->session->Update(s->marks)->alpha;
  std::printf("cutout %dx%d: session prepared in %.0f ms; IoU after the correction: ours %.3f",
              s->truth.width, s->truth.height, prep * 1e3, robot::Iou(ours, s->truth));
  if (peer) {
    s->bgr = cv::Mat(p.photo.Height(), p.photo.Width(), CV_8UC3);
    for (int y = 0; y < p.photo.Height(); ++y)
      std::memcpy(s->bgr.ptr(y), p.photo.Row(y), size_t{3} * p.photo.Width());
    s->gc_mask = GrabCutMask(s->marks);
    std::printf(", grabCut %.3f", robot::Iou(GrabCut(*s), s->truth));
  }
  std::printf("\n");
  s->floor_src = ours;
  s->floor_dst.resize(ours.size());
  return s;
}

Workload Make(const std::string& name, float scale, bool peer) {
  Workload w;
  w.name = name;
  auto s = Prepare(scale, peer);
  w.ours = [s] {
    const auto matte = s->session->Update(s->marks);
    benchmark::DoNotOptimize(matte->alpha.data());
  };
  if (peer) {
    w.peer_name = "opencv_grabcut5";
    w.peer = [s] {
      const std::vector<uint8_t> alpha = GrabCut(*s);
      benchmark::DoNotOptimize(alpha.data());
    };
  }
  w.floor = [s] { std::memcpy(s->floor_dst.data(), s->floor_src.data(), s->floor_src.size()); };
  return w;
}

}  // namespace

std::vector<Workload> CutoutWorkloads() {
  // 902 x 1107 and 3124 x 3834 pixels.
  return {Make("cutout_update_1mp", 2.05f, true), Make("cutout_update_12mp", 7.1f, false)};
}

}  // namespace coiffure::bench
