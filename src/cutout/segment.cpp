#include "cutout/segment.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "cutout/window.h"

namespace coiffure::cutout {
namespace {

constexpr int kRounds = 4;  // model, decide, and model again from the decision
constexpr int kMeanFieldSteps = 5;
constexpr float kColourWeight = 1.5f, kTextureWeight = 1.5f, kDistanceWeight = 3.0f;

bool Cancelled(const std::atomic<bool>* cancel) {
  return cancel && cancel->load(std::memory_order_relaxed);
}

}  // namespace

std::vector<Seed> SeedCells(const Marks& marks, const Grid& g) {
  std::vector<Seed> seeds(g.Size(), Seed::kFree);
  std::vector<uint8_t> any(g.Size() * 4, 0);  // per cell: counts of each mark seen, capped
  std::vector<int> outside(g.Size(), 0), total(g.Size(), 0);
  for (int y = 0; y < marks.height; ++y) {
    const Mark* row = marks.labels.data() + static_cast<size_t>(y) * marks.width;
    const size_t base = static_cast<size_t>(y / g.scale) * g.width;
    for (int x = 0; x < marks.width; ++x) {
      const size_t c = base + x / g.scale;
      any[c * 4 + static_cast<int>(row[x])] = 1;
      outside[c] += row[x] == Mark::kOutside;
      ++total[c];
    }
  }
  for (size_t c = 0; c < g.Size(); ++c) {
    if (any[c * 4 + 1])
      seeds[c] = Seed::kHair;
    else if (any[c * 4 + 2])
      seeds[c] = Seed::kNotHair;
    else if (total[c] > 0 && outside[c] == total[c])
      seeds[c] = Seed::kOutside;
  }
  return seeds;
}

namespace {

struct Histograms {
  std::vector<float> colour[2], texture[2];  // [0] not hair, [1] hair
};

// A 3 x 3 x 3 box over the colour bins: a few samples still speak for their neighbours.
std::vector<float> SmoothColour(const std::vector<float>& h) {
  constexpr int n = kColourBinsPerAxis;
  std::vector<float> a(h.size()), b(h.size());
  auto pass = [&](const std::vector<float>& in, std::vector<float>& out, int stride) {
    for (int i = 0; i < kColourBins; ++i) {
      const int k = (i / stride) % n;
      float s = in[i];
      if (k > 0) s += in[i - stride];
      if (k + 1 < n) s += in[i + stride];
      out[i] = s;
    }
  };
  pass(h, a, 1);
  pass(a, b, n);
  pass(b, a, n * n);
  return a;
}

// Where a side's samples come from. Each source is normalised on its own and then mixed with
// a fixed share, so that a small stroke speaks as loudly as the thousands of cells around it.
enum Source { kHairStrokes, kHairDecided, kBackStrokes, kOutsideBox, kBackDecided, kSources };
constexpr float kShare[kSources] = {0.5f, 0.5f, 0.4f, 0.3f, 0.3f};

// Probabilities mixed over the sources of one side, with a floor so that an unseen bin is
// unlikely, not impossible; as logarithms.
std::vector<float> Mix(const std::vector<float>* raw, int first, int last) {
  const size_t bins = raw[first].size();
  std::vector<double> p(bins, 0.0);
  double shares = 0;
  for (int s = first; s < last; ++s) {
    double total = 0;
    for (float v : raw[s]) total += v;
    if (total <= 0) continue;
    shares += kShare[s];
    for (size_t i = 0; i < bins; ++i) p[i] += kShare[s] * raw[s][i] / total;
  }
  std::vector<float> out(bins);
  const double floor = 1e-4;
  for (size_t i = 0; i < bins; ++i)
    out[i] = static_cast<float>(std::log((shares > 0 ? p[i] / shares : 0) + floor));
  return out;
}

// The outside of the box, counted once over the whole grid.
struct OutsideCounts {
  std::vector<float> colour, texture;
};

OutsideCounts CountOutside(const Grid& g, const std::vector<Seed>& seeds) {
  OutsideCounts out{std::vector<float>(kColourBins, 0.f), std::vector<float>(kTextureBins, 0.f)};
  for (size_t c = 0; c < g.Size(); ++c)
    if (seeds[c] == Seed::kOutside) {
      out.colour[g.colour_bin[c]] += 1;
      out.texture[g.texture_bin[c]] += 1;
    }
  return out;
}

// Samples of each side: the strokes and the box's outside always, and once a decision exists,
// the cells it gave.
Histograms Model(const Grid& g, const std::vector<Seed>& seeds, const std::vector<float>* q,
                 const OutsideCounts& outside) {
  std::vector<float> colour[kSources], texture[kSources];
  for (int s = 0; s < kSources; ++s) {
    colour[s].assign(kColourBins, 0.f);
    texture[s].assign(kTextureBins, 0.f);
  }
  colour[kOutsideBox] = outside.colour;
  texture[kOutsideBox] = outside.texture;
  for (size_t c = 0; c < g.Size(); ++c) {
    int s = kSources;
    switch (seeds[c]) {
      case Seed::kHair:
        s = kHairStrokes;
        break;
      case Seed::kNotHair:
        s = kBackStrokes;
        break;
      case Seed::kOutside:
        break;  // counted over the whole grid
      case Seed::kFree:
        // Before any decision, the whole box stands for the hair, as in GrabCut: colours found
        // in the box and not outside it are likely the hair's.
        s = !q ? kHairDecided : (*q)[c] > 0.5f ? kHairDecided : kBackDecided;
        break;
    }
    if (s == kSources) continue;
    colour[s][g.colour_bin[c]] += 1;
    texture[s][g.texture_bin[c]] += 1;
  }
  for (int s = 0; s < kSources; ++s) colour[s] = SmoothColour(colour[s]);
  Histograms h;
  h.colour[1] = Mix(colour, kHairStrokes, kBackStrokes);
  h.colour[0] = Mix(colour, kBackStrokes, kSources);
  h.texture[1] = Mix(texture, kHairStrokes, kBackStrokes);
  h.texture[0] = Mix(texture, kBackStrokes, kSources);
  return h;
}

// Geodesic distance from the seed cells of one side, by raster sweeps over the grid's steps.
std::vector<float> DistanceFrom(const Grid& g, const std::vector<Seed>& seeds, bool hair) {
  const int w = g.width, h = g.height;
  std::vector<float> d(g.Size(), 1e9f);
  for (size_t c = 0; c < g.Size(); ++c) {
    const bool seed =
        hair ? seeds[c] == Seed::kHair : (seeds[c] == Seed::kNotHair || seeds[c] == Seed::kOutside);
    if (seed) d[c] = 0;
  }
  for (int sweep = 0; sweep < 4; ++sweep) {
    const bool back = sweep % 2 == 1;
    for (int yi = 0; yi < h; ++yi) {
      const int y = back ? h - 1 - yi : yi;
      for (int xi = 0; xi < w; ++xi) {
        const int x = back ? w - 1 - xi : xi;
        const size_t c = static_cast<size_t>(y) * w + x;
        float best = d[c];
        for (int k = 0; k < 4; ++k) {
          const int nx = back ? x - kStepDx[k] : x + kStepDx[k];
          const int ny = back ? y - kStepDy[k] : y + kStepDy[k];
          if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
          const size_t n = static_cast<size_t>(ny) * w + nx;
          best = std::min(best, d[n] + g.step[k][back ? n : c]);
        }
        d[c] = best;
      }
    }
  }
  return d;
}

// The logistic function from a table: the mean field asks for it millions of times.
float Sigmoid(float v) {
  static const std::array<float, 1025> table = [] {
    std::array<float, 1025> t{};
    for (int i = 0; i <= 1024; ++i) t[i] = 1.f / (1.f + std::exp(-(i - 512) / 32.f));
    return t;
  }();
  const float i = std::clamp(v * 32.f + 512.f, 0.f, 1024.f);
  return table[static_cast<int>(i + 0.5f)];
}

// Mean-field steps of the edge-aware smoothness between 4-neighbours; seeds stay fixed.
// Cells are updated like the squares of a chessboard, all of one colour and then all of the
// other: no cell waits for the one just before it, and the sweep runs at the memory's pace.
void MeanField(const Grid& g, const std::vector<Seed>& seeds, const std::vector<float>& unary,
               int steps, std::vector<float>& q) {
  const int w = g.width, h = g.height;
  const float *right = g.link_right.data(), *down = g.link_down.data();
  for (int step = 0; step < 2 * steps; ++step)
    for (int y = 0; y < h; ++y) {
      const size_t row = static_cast<size_t>(y) * w;
      for (int x = (y + step) % 2; x < w; x += 2) {
        const size_t c = row + x;
        if (seeds[c] != Seed::kFree) continue;
        float m = unary[c];
        if (x > 0) m += right[c - 1] * (2 * q[c - 1] - 1);
        if (x + 1 < w) m += right[c] * (2 * q[c + 1] - 1);
        if (y > 0) m += down[c - w] * (2 * q[c - w] - 1);
        if (y + 1 < h) m += down[c] * (2 * q[c + w] - 1);
        q[c] = Sigmoid(m);
      }
    }
}

// Cells of `member` reached from the `start` cells through members, 8- or 4-connected.
std::vector<uint8_t> Flood(const Grid& g, const std::vector<uint8_t>& start,
                           const std::vector<uint8_t>& member, bool diagonals) {
  std::vector<uint8_t> reached = start;
  std::vector<size_t> stack;
  for (size_t c = 0; c < g.Size(); ++c)
    if (start[c]) stack.push_back(c);
  while (!stack.empty()) {
    const size_t c = stack.back();
    stack.pop_back();
    const int x = static_cast<int>(c % g.width), y = static_cast<int>(c / g.width);
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        if ((dx != 0 && dy != 0 && !diagonals) || (dx == 0 && dy == 0)) continue;
        const int nx = x + dx, ny = y + dy;
        if (nx < 0 || ny < 0 || nx >= g.width || ny >= g.height) continue;
        const size_t n = static_cast<size_t>(ny) * g.width + nx;
        if (reached[n] || !member[n]) continue;
        reached[n] = 1;
        stack.push_back(n);
      }
  }
  return reached;
}

// Hair not joined to any hair stroke is a look-alike somewhere else in the box.
void KeepJoinedToStrokes(const Grid& g, const std::vector<Seed>& seeds,
                         std::vector<uint8_t>& hair) {
  std::vector<uint8_t> start(g.Size());
  for (size_t c = 0; c < g.Size(); ++c) start[c] = seeds[c] == Seed::kHair;
  hair = Flood(g, start, hair, true);
}

// The hair grown and shrunk again by one cell: gaps of a cell or two closed.
std::vector<uint8_t> Closed(const Grid& g, const std::vector<uint8_t>& hair) {
  auto pass = [&](const std::vector<uint8_t>& in, bool grow) {
    std::vector<uint8_t> out(in.size());
    for (int y = 0; y < g.height; ++y)
      for (int x = 0; x < g.width; ++x) {
        bool v = !grow;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = std::clamp(x + dx, 0, g.width - 1);
            const int ny = std::clamp(y + dy, 0, g.height - 1);
            const bool h = in[static_cast<size_t>(ny) * g.width + nx];
            v = grow ? (v || h) : (v && h);
          }
        out[static_cast<size_t>(y) * g.width + x] = v;
      }
    return out;
  };
  return pass(pass(hair, true), false);
}

// A small patch of background that no not-hair stroke and not the box's outside reach, but
// through a gap of a cell or two, is a shadow or a highlight of the hair that looks like the
// background. Large patches stay: they may be the background seen through the hair, for a
// stroke to say.
void FillHoles(const Grid& g, const std::vector<Seed>& seeds, std::vector<uint8_t>& hair) {
  const std::vector<uint8_t> closed = Closed(g, hair);
  std::vector<uint8_t> start(g.Size()), open(g.Size());
  size_t hair_cells = 0;
  for (size_t c = 0; c < g.Size(); ++c) {
    open[c] = !closed[c];
    start[c] = open[c] && (seeds[c] == Seed::kNotHair || seeds[c] == Seed::kOutside);
    hair_cells += hair[c];
  }
  std::vector<uint8_t> seen = Flood(g, start, open, false);
  const size_t largest = std::max<size_t>(16, hair_cells / 50);
  std::vector<size_t> hole, stack;
  for (size_t s = 0; s < g.Size(); ++s) {
    if (seen[s] || hair[s]) continue;
    hole.clear();
    seen[s] = 1;
    stack.push_back(s);
    while (!stack.empty()) {
      const size_t c = stack.back();
      stack.pop_back();
      hole.push_back(c);
      const int x = static_cast<int>(c % g.width), y = static_cast<int>(c / g.width);
      const size_t next[4] = {c - 1, c + 1, c - g.width, c + g.width};
      const bool inside[4] = {x > 0, x + 1 < g.width, y > 0, y + 1 < g.height};
      for (int k = 0; k < 4; ++k) {
        if (!inside[k] || seen[next[k]] || hair[next[k]]) continue;
        seen[next[k]] = 1;
        stack.push_back(next[k]);
      }
    }
    if (hole.size() <= largest)
      for (size_t c : hole) hair[c] = 1;
  }
}

CellMatte SegmentWithin(const Grid& g, const std::vector<Seed>& seeds, const OutsideCounts& outside,
                        const std::atomic<bool>* cancel) {
  CellMatte out;
  const std::vector<float> dh = DistanceFrom(g, seeds, true);
  const std::vector<float> db = DistanceFrom(g, seeds, false);
  std::vector<float> q(g.Size()), unary(g.Size());
  for (size_t c = 0; c < g.Size(); ++c)
    q[c] = seeds[c] == Seed::kHair ? 1.f : seeds[c] == Seed::kFree ? 0.5f : 0.f;
  for (int round = 0; round < kRounds; ++round) {
    if (Cancelled(cancel)) return {};
    const Histograms h = Model(g, seeds, round == 0 ? nullptr : &q, outside);
    for (size_t c = 0; c < g.Size(); ++c) {
      const float colour = h.colour[1][g.colour_bin[c]] - h.colour[0][g.colour_bin[c]];
      const float texture = h.texture[1][g.texture_bin[c]] - h.texture[0][g.texture_bin[c]];
      const float near = (db[c] - dh[c]) / (db[c] + dh[c] + 1e-6f);
      unary[c] = kColourWeight * std::clamp(colour, -6.f, 6.f) +
                 kTextureWeight * std::clamp(texture, -4.f, 4.f) + kDistanceWeight * near;
      if (seeds[c] == Seed::kFree) q[c] = Sigmoid(unary[c]);
    }
    // The early rounds only feed the models; the last one decides.
    MeanField(g, seeds, unary, round + 1 < kRounds ? kMeanFieldSteps - 2 : kMeanFieldSteps, q);
  }
  out.hair.resize(g.Size());
  for (size_t c = 0; c < g.Size(); ++c) out.hair[c] = q[c] > 0.5f;
  KeepJoinedToStrokes(g, seeds, out.hair);
  FillHoles(g, seeds, out.hair);
  out.soft = std::move(q);
  return out;
}

}  // namespace

CellMatte SegmentCells(const Grid& g, const std::vector<Seed>& seeds,
                       const std::atomic<bool>* cancel) {
  const CellWindow w = ActiveWindow(g, seeds);
  if (w.Size() == 0) return {std::vector<float>(g.Size(), 0.f), std::vector<uint8_t>(g.Size(), 0)};
  const OutsideCounts outside = CountOutside(g, seeds);
  if (w.Size() == g.Size()) return SegmentWithin(g, seeds, outside, cancel);
  CellMatte part = SegmentWithin(CropGrid(g, w), CropCells(seeds, g.width, w), outside, cancel);
  if (part.hair.empty()) return {};
  return {PlaceCells(part.soft, g.width, g.height, w, 0.f),
          PlaceCells(part.hair, g.width, g.height, w, uint8_t{0})};
}

}  // namespace coiffure::cutout
