#include "gallery/thumbnail.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace coiffure {

namespace {

static_assert(std::endian::native == std::endian::little, "box sums pack lanes low to high");

uint64_t Load64(const void* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// Box i of n along a length spans [bounds[i], bounds[i + 1]), bounds[i] = i * length / n, so
// every box is length / n pixels wide, rounded down or up.
struct Boxes {
  Boxes(int64_t length, int64_t n)
      : bounds(static_cast<size_t>(n) + 1), narrow(static_cast<int32_t>(length / n)) {
    for (int64_t i = 0; i <= n; ++i)
      bounds[static_cast<size_t>(i)] = static_cast<int32_t>(i * length / n);
  }
  size_t Count() const { return bounds.size() - 1; }
  int32_t Width(size_t i) const { return bounds[i + 1] - bounds[i]; }

  std::vector<int32_t> bounds;
  int32_t narrow;
};

// The rows of a picture as BGR bytes: 24-bit rows in place, other depths converted.
class BgrRows {
 public:
  explicit BgrRows(const Picture& p) : pic_(p) {
    if (p.BitsPerPixel() != 24) scratch_.resize(static_cast<size_t>(p.Width()) * 3);
  }
  const uint8_t* Get(int y) {
    if (scratch_.empty()) return pic_.Row(y);
    pic_.ReadRowBgr(y, scratch_.data());
    return scratch_.data();
  }

 private:
  const Picture& pic_;
  std::vector<uint8_t> scratch_;
};

// acc[i] = the sum of byte i over the rows [y0, y1).
template <typename Acc>
void SumRows(BgrRows& rows, int y0, int y1, Acc* __restrict acc, size_t n) {
  const uint8_t* first = rows.Get(y0);
  for (size_t i = 0; i < n; ++i) acc[i] = first[i];
  for (int y = y0 + 1; y < y1; ++y) {
    const uint8_t* __restrict s = rows.Get(y);
    for (size_t i = 0; i < n; ++i) acc[i] = static_cast<Acc>(acc[i] + s[i]);
  }
}

// Any box size: 32-bit column sums, and one division per value.
void ReducePlain(const Picture& picture, const Boxes& xs, const Boxes& ys, Picture& out, int64_t ox,
                 int64_t oy) {
  BgrRows rows(picture);
  std::vector<uint32_t> acc(static_cast<size_t>(picture.Width()) * 3);
  for (size_t ty = 0; ty < ys.Count(); ++ty) {
    SumRows(rows, ys.bounds[ty], ys.bounds[ty + 1], acc.data(), acc.size());
    uint8_t* dst = out.Row(static_cast<int>(oy + static_cast<int64_t>(ty))) + ox * 3;
    for (size_t tx = 0; tx < xs.Count(); ++tx, dst += 3) {
      uint64_t s[3] = {};
      for (int32_t x = xs.bounds[tx]; x < xs.bounds[tx + 1]; ++x)
        for (int c = 0; c < 3; ++c) s[c] += acc[static_cast<size_t>(x) * 3 + c];
      const uint64_t n = uint64_t(xs.Width(tx)) * uint64_t(ys.Width(ty));
      for (int c = 0; c < 3; ++c) dst[c] = static_cast<uint8_t>((s[c] + n / 2) / n);
    }
  }
}

// Small boxes (a thumbnail of a picture up to about five times its size) take a faster way: the
// rounded mean (x + n/2) / n of n bytes is the high half of a 16-bit product, shifted. With
// n <= 2^l and x < 256 n <= 2^(l+8), the multiplier ceil(2^(2l+8) / n) gives the exact quotient
// (Granlund and Montgomery); it fits 16 bits when n > 2^(2l-8). Returns the shift, or -1 when
// some box size in [n_min, n_max] does not fit.
int HighMultiplyShift(uint32_t n_min, uint32_t n_max) {
  if (n_max > 128) return -1;
  const int l = std::max(4, static_cast<int>(std::bit_width(n_max - 1)));
  return n_min > (1u << (2 * l - 8)) ? 2 * l - 8 : -1;
}

// Per channel value of a reduced row, for one band height: n / 2 and the multiplier.
struct Divisors {
  std::vector<uint16_t> half, mul;
};

Divisors DivisorsFor(const Boxes& xs, int32_t band, int shift) {
  Divisors d;
  for (size_t tx = 0; tx < xs.Count(); ++tx) {
    const uint32_t n = static_cast<uint32_t>(xs.Width(tx) * band);
    const auto mul = static_cast<uint16_t>(((1u << (16 + shift)) + n - 1) / n);
    d.half.insert(d.half.end(), 3, static_cast<uint16_t>(n / 2));
    d.mul.insert(d.mul.end(), 3, mul);
  }
  return d;
}

// The three channel sums of each box in one 64-bit word of four 16-bit lanes (blue, green, red,
// and the next pixel's blue, left over). A box sum stays below 2^15, so no lane carries into
// the next. The pixel after a narrow box is added masked out, which keeps the loop free of
// branches.
void BoxSums(const uint16_t* acc, const Boxes& xs, const std::vector<uint64_t>& wide,
             uint16_t* sums) {
  const int32_t narrow = xs.narrow;
  for (size_t tx = 0; tx < xs.Count(); ++tx) {
    const uint16_t* a = acc + static_cast<size_t>(xs.bounds[tx]) * 3;
    uint64_t s = Load64(a + 3 * narrow) & wide[tx];
    for (int32_t k = 0; k < narrow; ++k) s += Load64(a + 3 * k);
    std::memcpy(sums + 3 * tx, &s, 8);
  }
}

void ReduceFast(const Picture& picture, const Boxes& xs, const Boxes& ys, int shift, Picture& out,
                int64_t ox, int64_t oy) {
  BgrRows rows(picture);
  const size_t n = xs.Count() * 3;
  // Box sums read one pixel past a box and write one lane past it: both arrays have room.
  std::vector<uint16_t> acc(static_cast<size_t>(picture.Width()) * 3 + 4), sums(n + 1);
  std::vector<uint64_t> wide(xs.Count());
  for (size_t tx = 0; tx < xs.Count(); ++tx) wide[tx] = xs.Width(tx) > xs.narrow ? ~0ull : 0;
  const Divisors bands[2] = {DivisorsFor(xs, ys.narrow, shift),
                             DivisorsFor(xs, ys.narrow + 1, shift)};
  for (size_t ty = 0; ty < ys.Count(); ++ty) {
    SumRows(rows, ys.bounds[ty], ys.bounds[ty + 1], acc.data(), acc.size() - 4);
    BoxSums(acc.data(), xs, wide, sums.data());
    const Divisors& d = bands[ys.Width(ty) - ys.narrow];
    uint8_t* dst = out.Row(static_cast<int>(oy + static_cast<int64_t>(ty))) + ox * 3;
    for (size_t i = 0; i < n; ++i) {
      const uint32_t x = static_cast<uint16_t>(sums[i] + d.half[i]);
      dst[i] = static_cast<uint8_t>(static_cast<uint16_t>((x * d.mul[i]) >> 16) >> shift);
    }
  }
}

// Pure white pixels of [x0, x1) of a cell row become black and transparent.
void MarkWhitePixels(uint8_t* row, uint8_t* mask, int x0, int x1) {
  for (int x = x0; x < x1; ++x) {
    uint8_t* px = row + 3 * x;
    if (px[0] != 255 || px[1] != 255 || px[2] != 255) continue;
    px[0] = px[1] = px[2] = 0;  // black under the transparent part, however the cell is drawn
    mask[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  }
}

// The same for a whole row, sixteen pixels (48 bytes, two mask bytes) at a time where they are
// all white or none is, as they are away from the outline of the hair.
void MarkWhite(uint8_t* row, uint8_t* mask) {
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
  int x = 0;
  for (; x + 16 <= kThumbSide; x += 16) {
    uint64_t all = ~0ull, any = 0;
    for (int i = 0; i < 6; ++i) {
      const uint64_t v = Load64(row + 3 * x + 8 * i), inv = ~v;
      all &= v;
      any |= (inv - kOnes) & ~inv & kHigh;  // nonzero when some byte of v is 255
    }
    if (any == 0) continue;
    if (all != ~0ull) {
      MarkWhitePixels(row, mask, x, x + 16);
      continue;
    }
    std::memset(row + 3 * x, 0, 48);
    mask[x / 8] = mask[x / 8 + 1] = 0xFF;
  }
  MarkWhitePixels(row, mask, x, kThumbSide);
}

}  // namespace

Picture ReduceToFit(const Picture& picture, int side) {
  const int w = picture.Width(), h = picture.Height();
  // The larger side becomes `side`; the other keeps the proportions, at least one pixel.
  const int64_t tw = w >= h ? side : std::max<int64_t>(1, int64_t{w} * side / h);
  const int64_t th = h >= w ? side : std::max<int64_t>(1, int64_t{h} * side / w);
  Picture out = Picture::Create24(side, side, {255, 255, 255});
  const int64_t ox = (side - tw) / 2, oy = (side - th) / 2;
  const Boxes xs(w, tw), ys(h, th);
  const int shift = HighMultiplyShift(static_cast<uint32_t>(xs.narrow * ys.narrow),
                                      static_cast<uint32_t>((xs.narrow + 1) * (ys.narrow + 1)));
  if (shift >= 0) {
    ReduceFast(picture, xs, ys, shift, out, ox, oy);
  } else {
    ReducePlain(picture, xs, ys, out, ox, oy);
  }
  return out;
}

Thumbnail MakeThumbnail(const Picture& source) {
  Picture reduced;
  if (source.Width() >= kWideThumbnailWidth) reduced = ReduceToFit(source, kThumbSide);
  const Picture& picture = reduced.Empty() ? source : reduced;
  Thumbnail t;
  t.image = Picture::Create24(kThumbSide, kThumbSide);
  t.mask_stride = (kThumbSide + 15) / 16 * 2;
  t.mask.assign(t.mask_stride * kThumbSide, 0);
  BgrRows rows(picture);
  for (int y = 0; y < kThumbSide; ++y) {
    uint8_t* out = t.image.Row(y);
    std::memcpy(out, rows.Get(y), kThumbSide * 3);
    MarkWhite(out, t.mask.data() + static_cast<size_t>(y) * t.mask_stride);
  }
  return t;
}

}  // namespace coiffure
