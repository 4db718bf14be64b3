#include "cutout_robot.h"

#include <algorithm>
#include <cmath>

namespace coiffure::robot {
namespace {

using cutout::Mark;

}  // namespace

// Chamfer (1, 1.41) weights; the photo's border counts as outside.
std::vector<float> DistanceInside(const std::vector<uint8_t>& in, int w, int h) {
  std::vector<float> d(in.size());
  for (size_t i = 0; i < in.size(); ++i) d[i] = in[i] ? 1e9f : 0.f;
  auto at = [&](int x, int y) {
    return (x < 0 || y < 0 || x >= w || y >= h) ? 0.f : d[static_cast<size_t>(y) * w + x];
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float& v = d[static_cast<size_t>(y) * w + x];
      v = std::min({v, at(x - 1, y) + 1, at(x, y - 1) + 1, at(x - 1, y - 1) + 1.414f,
                    at(x + 1, y - 1) + 1.414f});
    }
  for (int y = h - 1; y >= 0; --y)
    for (int x = w - 1; x >= 0; --x) {
      float& v = d[static_cast<size_t>(y) * w + x];
      v = std::min({v, at(x + 1, y) + 1, at(x, y + 1) + 1, at(x + 1, y + 1) + 1.414f,
                    at(x - 1, y + 1) + 1.414f});
    }
  return d;
}

namespace {

float BrushRadius(const Truth& t) {
  return std::max(2.f, 0.012f * std::max(t.width, t.height));
}

// A dab at the deepest point of the region, no wider than the region there.
Dab Heart(const std::vector<uint8_t>& region, const Truth& t, Mark kind) {
  const std::vector<float> d = DistanceInside(region, t.width, t.height);
  const size_t best = std::max_element(d.begin(), d.end()) - d.begin();
  Dab dab;
  dab.at = {static_cast<float>(best % t.width) + 0.5f, static_cast<float>(best / t.width) + 0.5f};
  dab.radius = std::clamp(d[best] - 1.f, 0.5f, BrushRadius(t));
  dab.kind = kind;
  return dab;
}

cutout::Box TruthBox(const Truth& t) {
  int x0 = t.width, y0 = t.height, x1 = -1, y1 = -1;
  for (int y = 0; y < t.height; ++y)
    for (int x = 0; x < t.width; ++x)
      if (t.hair[static_cast<size_t>(y) * t.width + x]) {
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
  const int margin = std::max(2, static_cast<int>(0.02f * std::max(t.width, t.height)));
  return {x0 - margin, y0 - margin, x1 + 1 + margin, y1 + 1 + margin};
}

// 8-connected components of `wrong`; the largest one's pixels.
std::vector<uint8_t> LargestRegion(const std::vector<uint8_t>& wrong, int w, int h) {
  std::vector<int> label(wrong.size(), 0);
  std::vector<size_t> stack;
  int best_label = 0;
  size_t best_size = 0;
  int next = 0;
  for (size_t s = 0; s < wrong.size(); ++s) {
    if (!wrong[s] || label[s]) continue;
    label[s] = ++next;
    size_t size = 0;
    stack.push_back(s);
    while (!stack.empty()) {
      const size_t c = stack.back();
      stack.pop_back();
      ++size;
      const int x = static_cast<int>(c % w), y = static_cast<int>(c / w);
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
          const size_t n = static_cast<size_t>(ny) * w + nx;
          if (wrong[n] && !label[n]) label[n] = next, stack.push_back(n);
        }
    }
    if (size > best_size) best_size = size, best_label = next;
  }
  std::vector<uint8_t> out(wrong.size(), 0);
  for (size_t i = 0; i < wrong.size(); ++i) out[i] = best_label && label[i] == best_label;
  return out;
}

}  // namespace

double Iou(const std::vector<uint8_t>& alpha, const Truth& t) {
  size_t both = 0, either = 0;
  for (size_t i = 0; i < t.hair.size(); ++i) {
    const bool a = alpha[i] >= 128, b = t.hair[i] != 0;
    both += a && b;
    either += a || b;
  }
  return either ? static_cast<double>(both) / either : 1.0;
}

cutout::Marks FirstMarks(const Truth& t) {
  cutout::Marks marks = cutout::Marks::Create(t.width, t.height);
  const cutout::Box box = TruthBox(t);
  cutout::SetBox(marks, box);
  Apply(marks, Heart(t.hair, t, Mark::kHair));
  std::vector<uint8_t> not_hair(t.hair.size());
  for (size_t i = 0; i < not_hair.size(); ++i)
    not_hair[i] = !t.hair[i] && marks.labels[i] != Mark::kOutside;
  Apply(marks, Heart(not_hair, t, Mark::kNotHair));
  return marks;
}

std::optional<Dab> Correction(const Truth& t, const std::vector<uint8_t>& alpha) {
  std::vector<uint8_t> missed(t.hair.size()), extra(t.hair.size());
  size_t n_missed = 0, n_extra = 0;
  for (size_t i = 0; i < t.hair.size(); ++i) {
    missed[i] = t.hair[i] && alpha[i] < 128;
    extra[i] = !t.hair[i] && alpha[i] >= 128;
    n_missed += missed[i];
    n_extra += extra[i];
  }
  if (n_missed + n_extra == 0) return std::nullopt;
  const std::vector<uint8_t> a = LargestRegion(missed, t.width, t.height);
  const std::vector<uint8_t> b = LargestRegion(extra, t.width, t.height);
  const size_t size_a = std::count(a.begin(), a.end(), 1),
               size_b = std::count(b.begin(), b.end(), 1);
  return size_a >= size_b ? Heart(a, t, Mark::kHair) : Heart(b, t, Mark::kNotHair);
}

void Apply(cutout::Marks& marks, const Dab& dab) {
  const cutout::Point p[1] = {dab.at};
  cutout::PaintStroke(marks, p, dab.radius, dab.kind);
}

Run Operate(const cutout::Session& session, const Truth& t, double target) {
  Run run;
  cutout::Marks marks = FirstMarks(t);
  std::vector<uint8_t> alpha = session.Update(marks)->alpha;
  run.first_alpha = alpha;
  run.first_iou = run.final_iou = Iou(alpha, t);
  run.clicks_to_90 = Run::kNever;
  for (int clicks = 0;; ++clicks) {
    if (run.final_iou >= target) {
      run.clicks_to_90 = clicks;
      break;
    }
    if (clicks == kStrokeCap) break;
    const std::optional<Dab> dab = Correction(t, alpha);
    if (!dab) break;
    Apply(marks, *dab);
    alpha = session.Update(marks)->alpha;
    run.final_iou = Iou(alpha, t);
  }
  run.final_alpha = std::move(alpha);
  return run;
}

}  // namespace coiffure::robot
