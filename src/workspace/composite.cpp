#include "workspace/composite.h"

#include <algorithm>
#include <cstring>

namespace coiffure {

void Frame::Resize(int w, int h) {
  width = std::max(w, 0);
  height = std::max(h, 0);
  stride = PaddedRowBytes(static_cast<size_t>(width), 24);
  bgr.assign(stride * static_cast<size_t>(height), 0);
}

void Frame::Fill(Bgr c) {
  FillRect(0, 0, width, height, c);
}

// One row of the colour is built once; every other row is a plain copy of it.
void Frame::FillRect(int x0, int y0, int x1, int y1, Bgr c) {
  x0 = std::max(x0, 0), y0 = std::max(y0, 0);
  x1 = std::min(x1, width), y1 = std::min(y1, height);
  if (x0 >= x1 || y0 >= y1) return;
  uint8_t* first = Row(y0) + size_t(x0) * 3;
  for (int x = 0; x < x1 - x0; ++x) {
    first[3 * x] = c.b;
    first[3 * x + 1] = c.g;
    first[3 * x + 2] = c.r;
  }
  const size_t bytes = size_t(x1 - x0) * 3;
  for (int y = y0 + 1; y < y1; ++y) std::memcpy(Row(y) + size_t(x0) * 3, first, bytes);
}

Point PhotoOrigin(int box_w, int box_h, int photo_w, int photo_h) {
  return {(box_w - photo_w) / 2, (box_h - photo_h) / 2};
}

namespace {

// Gives BGR rows of any picture: 24-bit rows directly, others converted into a scratch row.
class RowSource {
 public:
  explicit RowSource(const Picture& p) : pic_(p) {
    if (p.BitsPerPixel() != 24) scratch_.resize(static_cast<size_t>(p.Width()) * 3);
  }
  const uint8_t* Get(int y) {
    if (scratch_.empty()) return pic_.Row(y);
    if (y != cached_) {
      pic_.ReadRowBgr(y, scratch_.data());
      cached_ = y;
    }
    return scratch_.data();
  }

 private:
  const Picture& pic_;
  std::vector<uint8_t> scratch_;
  int cached_ = -1;
};

// One axis of a stretch: for destination cells [first, last) the source index of each.
struct AxisMap {
  int64_t first = 0, last = 0;  // visible destination range, clipped
  std::vector<int32_t> src;     // source index per visible cell
};

// dst_start and extent describe the destination along one axis (extent may be negative,
// which mirrors); src_len is the source length; limit is the frame's size on that axis.
AxisMap MapAxis(int64_t dst_start, int64_t extent, int32_t src_len, int limit) {
  AxisMap m;
  if (extent == 0 || src_len <= 0) return m;
  const bool mirrored = extent < 0;
  const int64_t len = mirrored ? -extent : extent;
  // A mirrored run covers start+extent+1 .. start, as the platform's stretch does: the start
  // cell itself is covered and the far end is exclusive.
  const int64_t lo = mirrored ? dst_start + extent + 1 : dst_start;  // cells [lo, lo + len)
  m.first = std::max<int64_t>(lo, 0);
  m.last = std::min<int64_t>(lo + len, limit);
  if (m.first >= m.last) {
    m.first = m.last = 0;
    return m;
  }
  m.src.resize(static_cast<size_t>(m.last - m.first));
  for (int64_t d = m.first; d < m.last; ++d) {
    int64_t i = d - lo;  // position within the destination run
    if (mirrored) i = len - 1 - i;
    m.src[static_cast<size_t>(d - m.first)] = static_cast<int32_t>(i * src_len / len);
  }
  return m;
}

// The visible rows of a picture stretched into a rectangle. Consecutive destination rows that
// sample the same source row share one gathered row, so an enlarged picture costs per visible
// destination row one pass over contiguous bytes, however large the rectangle is.
class StretchedRows {
 public:
  StretchedRows(const Picture& src, const Rect& r, const Frame& dst)
      : rows_(src), src_bytes_(static_cast<size_t>(src.Width()) * 3) {
    if (src.Empty()) return;
    xs_ = MapAxis(r.left, int64_t{r.right} - r.left, src.Width(), dst.width);
    ys_ = MapAxis(r.top, int64_t{r.bottom} - r.top, src.Height(), dst.height);
    if (xs_.src.empty() || ys_.src.empty()) return;
    offs_.resize(xs_.src.size());
    for (size_t i = 0; i < offs_.size(); ++i) offs_[i] = static_cast<uint32_t>(xs_.src[i]) * 3;
    row_.resize(offs_.size() * 3 + 1);  // one spare byte for the 4-byte stores of Gather
  }

  bool Empty() const { return offs_.empty() || ys_.src.empty(); }
  int64_t FirstX() const { return xs_.first; }
  int64_t FirstY() const { return ys_.first; }
  int64_t LastY() const { return ys_.last; }
  size_t Bytes() const { return offs_.size() * 3; }

  const uint8_t* Row(int64_t dy) {
    const int sy = ys_.src[static_cast<size_t>(dy - ys_.first)];
    if (sy != gathered_) {
      Gather(rows_.Get(sy));
      gathered_ = sy;
    }
    return row_.data();
  }

 private:
  // Each pixel moves as one 4-byte word; the fourth byte is overwritten by the next pixel or
  // lands in the spare byte. Only a pixel at the very end of the source row is copied bytewise,
  // since the word would reach past it.
  void Gather(const uint8_t* s) {
    uint8_t* d = row_.data();
    const size_t n = offs_.size();
    for (size_t i = 0; i < n; ++i, d += 3) {
      const uint32_t o = offs_[i];
      if (o + 4 <= src_bytes_) {
        uint32_t v;
        std::memcpy(&v, s + o, 4);
        std::memcpy(d, &v, 4);
      } else {
        d[0] = s[o], d[1] = s[o + 1], d[2] = s[o + 2];
      }
    }
  }

  RowSource rows_;
  size_t src_bytes_;
  AxisMap xs_, ys_;
  std::vector<uint32_t> offs_;
  std::vector<uint8_t> row_;
  int gathered_ = -1;
};

void AndBytes(uint8_t* __restrict d, const uint8_t* __restrict s, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] &= s[i];
}

void OrBytes(uint8_t* __restrict d, const uint8_t* __restrict s, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] |= s[i];
}

void AndOrBytes(uint8_t* __restrict d, const uint8_t* __restrict m, const uint8_t* __restrict c,
                size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>((d[i] & m[i]) | c[i]);
}

uint8_t* FrameAt(Frame& f, int64_t x, int64_t y) {
  return f.Row(static_cast<int>(y)) + x * 3;
}

// Mask AND then colour OR into the same rectangle. Both cover the same visible cells, so the two
// passes fold into one per row; each pixel still gets (background AND mask) OR colour.
void HairPasses(Frame& frame, const Picture& mask, const Picture& image, const Rect& r) {
  StretchedRows m(mask, r, frame), c(image, r, frame);
  if (m.Empty() || c.Empty()) {
    StretchPicture(frame, mask, r, RasterOp::And);
    StretchPicture(frame, image, r, RasterOp::Or);
    return;
  }
  for (int64_t dy = m.FirstY(); dy < m.LastY(); ++dy)
    AndOrBytes(FrameAt(frame, m.FirstX(), dy), m.Row(dy), c.Row(dy), m.Bytes());
}

}  // namespace

void BlitPicture(Frame& dst, const Picture& src, int32_t x, int32_t y) {
  if (src.Empty()) return;
  const int64_t x0 = std::max<int64_t>(x, 0),
                x1 = std::min<int64_t>(int64_t{x} + src.Width(), dst.width);
  const int64_t y0 = std::max<int64_t>(y, 0),
                y1 = std::min<int64_t>(int64_t{y} + src.Height(), dst.height);
  if (x0 >= x1 || y0 >= y1) return;
  RowSource rows(src);
  const size_t bytes = static_cast<size_t>(x1 - x0) * 3;
  for (int64_t dy = y0; dy < y1; ++dy) {
    const uint8_t* s = rows.Get(static_cast<int>(dy - y)) + (x0 - x) * 3;
    std::memcpy(dst.Row(static_cast<int>(dy)) + x0 * 3, s, bytes);
  }
}

void StretchPicture(Frame& dst, const Picture& src, const Rect& r, RasterOp op) {
  StretchedRows rows(src, r, dst);
  if (rows.Empty()) return;
  const size_t n = rows.Bytes();
  for (int64_t dy = rows.FirstY(); dy < rows.LastY(); ++dy) {
    uint8_t* d = FrameAt(dst, rows.FirstX(), dy);
    const uint8_t* s = rows.Row(dy);
    switch (op) {
      case RasterOp::Copy:
        std::memcpy(d, s, n);
        break;
      case RasterOp::And:
        AndBytes(d, s, n);
        break;
      case RasterOp::Or:
        OrBytes(d, s, n);
        break;
    }
  }
}

void DrawHandleSquare(Frame& dst, int32_t x, int32_t y) {
  for (int64_t py = int64_t{y} - 3; py <= int64_t{y} + 2; ++py) {
    if (py < 0 || py >= dst.height) continue;
    for (int64_t px = int64_t{x} - 3; px <= int64_t{x} + 2; ++px) {
      if (px < 0 || px >= dst.width) continue;
      const bool ring = px == int64_t{x} - 3 || px == int64_t{x} + 2 || py == int64_t{y} - 3 ||
                        py == int64_t{y} + 2;
      const uint8_t v = ring ? 0 : 255;
      uint8_t* p = dst.Row(static_cast<int>(py)) + px * 3;
      p[0] = p[1] = p[2] = v;
    }
  }
}

std::string PositionText(const Rect& r) {
  return "x:" + std::to_string(r.left) + "  y:" + std::to_string(r.top);
}

namespace {

// The background is painted only where the photo leaves it visible, so each frame byte is
// written once before the hairstyle passes.
void PaintBackgroundAndPhoto(Frame& frame, const Picture& photo, Bgr background) {
  const Point o = PhotoOrigin(frame.width, frame.height, photo.Width(), photo.Height());
  if (photo.Empty()) {
    frame.Fill(background);
    return;
  }
  // The photo's size is bounded well below the int range, so these sums cannot overflow.
  const int X0 = std::clamp(o.x, 0, frame.width);
  const int X1 = std::clamp(o.x + photo.Width(), X0, frame.width);
  const int Y0 = std::clamp(o.y, 0, frame.height);
  const int Y1 = std::clamp(o.y + photo.Height(), Y0, frame.height);
  frame.FillRect(0, 0, frame.width, Y0, background);
  frame.FillRect(0, Y0, X0, Y1, background);
  frame.FillRect(X1, Y0, frame.width, Y1, background);
  frame.FillRect(0, Y1, frame.width, frame.height, background);
  BlitPicture(frame, photo, o.x, o.y);
}

}  // namespace

std::string ComposeWorkspace(Workspace& ws, Frame& frame, Bgr background) {
  PaintBackgroundAndPhoto(frame, ws.Photo, background);
  const Rect r = ws.HairRect();
  HairPasses(frame, ws.HairMask, ws.HairImage, r);
  ws.UpdateHandles();
  if (ws.HairSelected) {
    for (const Point& h : ws.HairHandles) DrawHandleSquare(frame, h.x, h.y);
  }
  return PositionText(r);
}

}  // namespace coiffure
