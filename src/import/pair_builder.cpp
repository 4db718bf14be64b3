#include <algorithm>
#include <bit>
#include <cstdint>

#include "import/pair_rows.h"

namespace coiffure::pair_rows {

// Serpentine Floyd-Steinberg on the alpha of the partly transparent pixels, row by row. Fully
// opaque and fully transparent pixels keep their level, so no stray dot lands outside the
// hair and no hole inside it; only partial alpha carries error on. One padding cell each side
// spares the bounds tests.
//
// Along a row, error reaches only the next pixel, and only a partly transparent one reads it:
// each run of neighbouring partly transparent pixels is a chain of its own. Two runs are
// decided side by side, so that one's additions wait less on the other's. The next row's
// cells that both runs add to lie between them and get one addition from each, made to 0
// first, so the order between the runs does not change the sums.
class PairBuilder::Diffusion {
 public:
  explicit Diffusion(int width)
      : cur_(static_cast<size_t>(width) + 2),
        next_(static_cast<size_t>(width) + 2),
        order_(static_cast<size_t>(width)) {}

  // Decides row y's partly transparent pixels; returns how many became hair.
  int Row(int y, const uint8_t* px, LevelRow& row) {
    const int dir = y % 2 == 0 ? 1 : -1, n = row.partials;
    for (int i = 0; i < n; ++i)
      order_[static_cast<size_t>(i)] = row.partial[dir > 0 ? i : n - 1 - i];
    Step step{px, row, cur_.data() + 1, next_.data() + 1, dir};
    for (int i = 0; i < n;) {
      Chain a = step.Start(order_.data(), i, RunEnd(i, n, dir));
      Chain b = step.Start(order_.data(), a.end, a.end < n ? RunEnd(a.end, n, dir) : n);
      i = b.end;
      while (a.at < a.end && b.at < b.end) {
        step(a, order_[static_cast<size_t>(a.at++)]);
        step(b, order_[static_cast<size_t>(b.at++)]);
      }
      for (Chain* c : {&a, &b})
        while (c->at < c->end) step(*c, order_[static_cast<size_t>(c->at++)]);
    }
    // Rows without partial alpha touch neither buffer, so a buffer is cleared only when used.
    if (n > 0) cur_dirty_ = next_dirty_ = true;
    cur_.swap(next_);
    std::swap(cur_dirty_, next_dirty_);
    if (next_dirty_) std::fill(next_.begin(), next_.end(), 0.0f);
    next_dirty_ = false;
    return step.hairs;
  }

 private:
  // A run of neighbours [at, end) in the order of deciding, and the error the next pixel
  // reads: at first its own cell's, then what the pixel before passed on (kept at hand rather
  // than read back).
  struct Chain {
    int at, end;
    float carried;
  };

  struct Step {
    const uint8_t* px;
    LevelRow& row;
    float* cur;
    float* next;
    int dir;
    int hairs = 0;

    Chain Start(const int* order, int at, int end) const {
      return {at, end, at < end ? cur[order[at]] : 0.0f};
    }

    void operator()(Chain& chain, int x) {
      const uint8_t* p = px + static_cast<size_t>(x) * 4;
      const float v = static_cast<float>(p[3]) + chain.carried;
      const bool hair = v >= 127.5f;
      // 255 or 0 picked by a mask: the compiler would branch on a choice, and the dither makes
      // that branch unpredictable.
      const float level = std::bit_cast<float>(std::bit_cast<uint32_t>(255.0f) &
                                               (0u - static_cast<uint32_t>(hair)));
      const float e = v - level;
      chain.carried = cur[x + dir] + e * (7.0f / 16);
      cur[x + dir] = chain.carried;
      next[x - dir] += e * (3.0f / 16);
      next[x] += e * (5.0f / 16);
      next[x + dir] += e * (1.0f / 16);
      // Written either way (the first pass left these pixels background), for the same reason.
      const uint8_t keep = static_cast<uint8_t>(-static_cast<int>(hair));
      for (int c = 0; c < 3; ++c) {
        row.colour[3 * x + c] = p[c] & keep;
        row.mask[3 * x + c] = static_cast<uint8_t>(~keep);
      }
      hairs += hair;
    }
  };

  // The end of the run of neighbours that starts at position i of the order.
  int RunEnd(int i, int n, int dir) const {
    while (i + 1 < n && order_[static_cast<size_t>(i + 1)] == order_[static_cast<size_t>(i)] + dir)
      ++i;
    return i + 1;
  }

  std::vector<float> cur_, next_;
  std::vector<int> order_;
  bool cur_dirty_ = false, next_dirty_ = false;
};

PairBuilder::PairBuilder(int width, int height, Loops loops)
    : width_(width),
      height_(height),
      loops_(loops),
      colour_row_(static_cast<size_t>(width) * 3),
      mask_row_(static_cast<size_t>(width) * 3),
      partial_(static_cast<size_t>(width)),
      diffusion_(std::make_unique<Diffusion>(width)) {
  // Rows are made in small buffers and appended, so each byte of the pictures is written once.
  colour_.reserve(colour_row_.size() * static_cast<size_t>(height));
  mask_.reserve(mask_row_.size() * static_cast<size_t>(height));
}

PairBuilder::~PairBuilder() = default;

void PairBuilder::AddRow(const uint8_t* bgra) {
  LevelRow row{colour_row_.data(), mask_row_.data(), partial_.data()};
  pair_.hair_pixels += Levels(bgra, width_, row, loops_);
  pair_.hair_pixels += diffusion_->Row(y_++, bgra, row);
  colour_.insert(colour_.end(), colour_row_.begin(), colour_row_.end());
  mask_.insert(mask_.end(), mask_row_.begin(), mask_row_.end());
}

HairstylePair PairBuilder::Take() {
  pair_.colour = Picture::FromLayout({width_, height_, 24}, std::move(colour_));
  pair_.mask = Picture::FromLayout({width_, height_, 24}, std::move(mask_));
  return std::move(pair_);
}

HairstylePair MakePairWith(const RgbaImage& image, Loops loops) {
  const int w = image.width, h = image.height;
  if (w <= 0 || h <= 0 || int64_t{w} * h > kMaxPixels) {  // nothing to decide, or refused
    HairstylePair pair;
    pair.colour = Picture::Create24(w, h);
    pair.mask = Picture::Create24(w, h, {255, 255, 255});
    return pair;
  }
  PairBuilder builder(w, h, loops);
  for (int y = 0; y < h; ++y) builder.AddRow(image.Pixel(0, y));
  return builder.Take();
}

}  // namespace coiffure::pair_rows
