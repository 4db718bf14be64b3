#include "workspace/composite.h"

#include <algorithm>
#include <cstring>

namespace coiffure {

void Frame::Resize(int w, int h) {
  width = std::max(w, 0);
  height = std::max(h, 0);
  stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  bgr.assign(stride * static_cast<size_t>(height), 0);
}

void Frame::Fill(Bgr c) {
  for (int y = 0; y < height; ++y) {
    uint8_t* row = Row(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = c.b;
      row[3 * x + 1] = c.g;
      row[3 * x + 2] = c.r;
    }
  }
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
  const int64_t lo = mirrored ? dst_start + extent : dst_start;  // covered cells [lo, lo + len)
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
  if (src.Empty()) return;
  const AxisMap xs = MapAxis(r.left, int64_t{r.right} - r.left, src.Width(), dst.width);
  const AxisMap ys = MapAxis(r.top, int64_t{r.bottom} - r.top, src.Height(), dst.height);
  if (xs.src.empty() || ys.src.empty()) return;
  std::vector<int32_t> offs(xs.src.size());
  for (size_t i = 0; i < offs.size(); ++i) offs[i] = xs.src[i] * 3;
  RowSource rows(src);
  for (int64_t dy = ys.first; dy < ys.last; ++dy) {
    const uint8_t* s = rows.Get(ys.src[static_cast<size_t>(dy - ys.first)]);
    uint8_t* d = dst.Row(static_cast<int>(dy)) + xs.first * 3;
    const size_t n = offs.size();
    switch (op) {
      case RasterOp::Copy:
        for (size_t i = 0; i < n; ++i)
          for (int c = 0; c < 3; ++c) d[3 * i + c] = s[offs[i] + c];
        break;
      case RasterOp::And:
        for (size_t i = 0; i < n; ++i)
          for (int c = 0; c < 3; ++c) d[3 * i + c] &= s[offs[i] + c];
        break;
      case RasterOp::Or:
        for (size_t i = 0; i < n; ++i)
          for (int c = 0; c < 3; ++c) d[3 * i + c] |= s[offs[i] + c];
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

std::string ComposeWorkspace(Workspace& ws, Frame& frame, Bgr background) {
  frame.Fill(background);
  const Point o = PhotoOrigin(frame.width, frame.height, ws.Photo.Width(), ws.Photo.Height());
  BlitPicture(frame, ws.Photo, o.x, o.y);
  const Rect r = ws.HairRect();
  StretchPicture(frame, ws.HairMask, r, RasterOp::And);
  StretchPicture(frame, ws.HairImage, r, RasterOp::Or);
  ws.UpdateHandles();
  if (ws.HairSelected) {
    for (const Point& h : ws.HairHandles) DrawHandleSquare(frame, h.x, h.y);
  }
  return PositionText(r);
}

}  // namespace coiffure
