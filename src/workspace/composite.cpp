#include "workspace/composite.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "workspace/row_gather.h"

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
  // Cell d of the run (i = d - lo, counted from the far end when mirrored) samples source
  // i * src_len / len. One division for the first cell; then quotient and remainder step along.
  const int64_t step = mirrored ? -1 : 1, whole = src_len / len, part = src_len % len;
  int64_t i = mirrored ? len - 1 - (m.first - lo) : m.first - lo;
  int64_t q = i * src_len / len, r = i * src_len % len;
  for (int32_t& s : m.src) {
    s = static_cast<int32_t>(q);
    if (step > 0) {
      q += whole, r += part;
      if (r >= len) ++q, r -= len;
    } else {
      q -= whole, r -= part;
      if (r < 0) --q, r += len;
    }
  }
  return m;
}

// The visible rows of a picture stretched into a rectangle. Consecutive destination rows that
// sample the same source row share one gathered row, so an enlarged picture costs per visible
// destination row one pass over contiguous bytes, however large the rectangle is.
class StretchedRows {
 public:
  StretchedRows(const Picture& src, const Rect& r, const Frame& dst)
      : rows_(src), src_width_(src.Width()) {
    if (src.Empty()) return;
    xs_ = MapAxis(r.left, int64_t{r.right} - r.left, src.Width(), dst.width);
    ys_ = MapAxis(r.top, int64_t{r.bottom} - r.top, src.Height(), dst.height);
  }

  bool Empty() const { return xs_.src.empty() || ys_.src.empty(); }
  int64_t FirstX() const { return xs_.first; }
  int64_t FirstY() const { return ys_.first; }
  int64_t LastY() const { return ys_.last; }
  size_t Bytes() const { return xs_.src.size() * 3; }
  const std::vector<int32_t>& Columns() const { return xs_.src; }
  int SourceWidth() const { return src_width_; }
  // True when the visible rows sample at least twice as many rows as there are source rows
  // among them, so that gathered rows are shared.
  bool RowsRepeat() const {
    return ys_.src.size() >= 2 * size_t(std::abs(ys_.src.back() - ys_.src.front()) + 1);
  }

  // The source row that destination row dy samples, as BGR bytes.
  const uint8_t* SourceRow(int64_t dy) { return rows_.Get(ys_.src[size_t(dy - ys_.first)]); }

  // Destination row dy gathered: Bytes() bytes.
  const uint8_t* Row(int64_t dy) {
    if (row_.empty()) {
      gather_ = RowGather(xs_.src, src_width_);
      row_.resize(gather_.Bytes() + RowGather::kSlack);
    }
    const int sy = ys_.src[static_cast<size_t>(dy - ys_.first)];
    if (sy != gathered_) {
      gather_.Run(rows_.Get(sy), row_.data());
      gathered_ = sy;
    }
    return row_.data();
  }

 private:
  RowSource rows_;
  int src_width_;
  AxisMap xs_, ys_;
  RowGather gather_;
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

void AndOrBytesFrom(uint8_t* __restrict d, const uint8_t* __restrict under,
                    const uint8_t* __restrict m, const uint8_t* __restrict c, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>((under[i] & m[i]) | c[i]);
}

uint8_t* FrameAt(Frame& f, int64_t x, int64_t y) {
  return f.Row(static_cast<int>(y)) + x * 3;
}

// Mask AND then colour OR into the same rectangle. Both cover the same visible cells, so the two
// passes fold into one per row; each pixel still gets (background AND mask) OR colour. Where
// each source row serves about one frame row, the pictures' rows blend straight into the frame;
// where rows repeat, each source row is gathered once and shared.
class FoldedHair {
 public:
  FoldedHair(const Frame& frame, const Picture& mask, const Picture& image, const Rect& r)
      : mask_(mask, r, frame), image_(image, r, frame) {
    if (!Folds() || mask_.RowsRepeat() || image_.RowsRepeat()) return;
    mask_plan_ = BlendPlan(mask_.Columns(), mask_.SourceWidth());
    // A pair of the same width samples the same columns: one plan serves both.
    shared_plan_ = image_.SourceWidth() == mask_.SourceWidth();
    if (!shared_plan_) image_plan_ = BlendPlan(image_.Columns(), image_.SourceWidth());
    direct_ = !mask_plan_.Empty() && !ImagePlan().Empty();
  }

  // False when a picture is empty or the rectangle shows nothing: the passes then run apart.
  bool Folds() const { return !mask_.Empty() && !image_.Empty(); }

  bool Covers(int64_t y) const { return Folds() && y >= mask_.FirstY() && y < mask_.LastY(); }
  int FirstX() const { return static_cast<int>(mask_.FirstX()); }
  int EndX() const { return static_cast<int>(mask_.FirstX() + int64_t(mask_.Bytes() / 3)); }

  // Row y of the rectangle from the bytes under it, which may be the frame's own.
  void Apply(Frame& frame, int64_t y, const uint8_t* under) {
    uint8_t* d = FrameAt(frame, mask_.FirstX(), y);
    if (direct_) {
      MaskThenColour(mask_plan_, mask_.SourceRow(y), ImagePlan(), image_.SourceRow(y), under, d);
    } else if (under == d) {
      AndOrBytes(d, mask_.Row(y), image_.Row(y), mask_.Bytes());
    } else {
      AndOrBytesFrom(d, under, mask_.Row(y), image_.Row(y), mask_.Bytes());
    }
  }

 private:
  const BlendPlan& ImagePlan() const { return shared_plan_ ? mask_plan_ : image_plan_; }

  StretchedRows mask_, image_;
  BlendPlan mask_plan_, image_plan_;
  bool shared_plan_ = false, direct_ = false;
};

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

// The background and the centred photo, one frame row at a time, so that the hairstyle passes
// find the row still in the nearest cache. The background goes only where the photo leaves it
// visible, so each byte is written once.
class BaseRows {
 public:
  BaseRows(const Frame& frame, const Picture& photo, Bgr background)
      : photo_rows_(photo), fill_(static_cast<size_t>(frame.width) * 3), width_(frame.width) {
    for (size_t i = 0; i < fill_.size(); i += 3)
      fill_[i] = background.b, fill_[i + 1] = background.g, fill_[i + 2] = background.r;
    if (photo.Empty()) return;
    origin_ = PhotoOrigin(frame.width, frame.height, photo.Width(), photo.Height());
    // The photo's size is bounded well below the int range, so these sums cannot overflow.
    x0_ = std::clamp(origin_.x, 0, frame.width);
    x1_ = std::clamp(origin_.x + photo.Width(), x0_, frame.width);
    y0_ = std::clamp(origin_.y, 0, frame.height);
    y1_ = std::clamp(origin_.y + photo.Height(), y0_, frame.height);
  }

  // Paints the columns of row y left of skip1, but [skip0, skip1) when the photo alone covers
  // them, and returns where their bytes are: in the photo's row, or else in the frame, painted.
  // The row's right part, from skip1 on, is for PaintRight, after the middle: the photo's row is
  // then read from left to right, which is the order the processor fetches ahead in.
  const uint8_t* PaintLeft(Frame& frame, int y, int skip0, int skip1) {
    uint8_t* d = frame.Row(y);
    if (skip0 < skip1 && y >= y0_ && y < y1_ && skip0 >= x0_ && skip1 <= x1_) {
      PaintColumns(d, y, 0, skip0);
      return PhotoAt(y, skip0);
    }
    PaintColumns(d, y, 0, skip1);
    return d + size_t(std::max(skip0, 0)) * 3;
  }

  void PaintRight(Frame& frame, int y, int from) { PaintColumns(frame.Row(y), y, from, width_); }

 private:
  const uint8_t* PhotoAt(int y, int x) {
    return photo_rows_.Get(y - origin_.y) + ptrdiff_t(x - origin_.x) * 3;
  }

  void PaintColumns(uint8_t* row, int y, int from, int to) {
    if (from >= to) return;
    if (y < y0_ || y >= y1_) {
      std::memcpy(row + size_t(from) * 3, fill_.data(), size_t(to - from) * 3);
      return;
    }
    // Most spans are empty (a photo that fills the box has no background beside it), and a call
    // per empty span would cost as much as the copying of a short one.
    const int a = std::clamp(x0_, from, to), b = std::clamp(x1_, a, to);
    if (from < a) std::memcpy(row + size_t(from) * 3, fill_.data(), size_t(a - from) * 3);
    if (a < b) std::memcpy(row + size_t(a) * 3, PhotoAt(y, a), size_t(b - a) * 3);
    if (b < to) std::memcpy(row + size_t(b) * 3, fill_.data(), size_t(to - b) * 3);
  }

  RowSource photo_rows_;
  std::vector<uint8_t> fill_;  // one frame row of the background colour
  int width_;
  Point origin_{};
  int x0_ = 0, x1_ = 0, y0_ = 0, y1_ = 0;  // the visible part of the photo
};

}  // namespace

std::string ComposeWorkspace(Workspace& ws, Frame& frame, Bgr background) {
  const Rect r = ws.HairRect();
  BaseRows base(frame, ws.Photo, background);
  FoldedHair hair(frame, ws.HairMask, ws.HairImage, r);
  for (int y = 0; y < frame.height; ++y) {
    if (!hair.Covers(y)) {
      base.PaintRight(frame, y, 0);
      continue;
    }
    hair.Apply(frame, y, base.PaintLeft(frame, y, hair.FirstX(), hair.EndX()));
    base.PaintRight(frame, y, hair.EndX());
  }
  if (!hair.Folds()) {
    StretchPicture(frame, ws.HairMask, r, RasterOp::And);
    StretchPicture(frame, ws.HairImage, r, RasterOp::Or);
  }
  ws.UpdateHandles();
  if (ws.HairSelected) {
    for (const Point& h : ws.HairHandles) DrawHandleSquare(frame, h.x, h.y);
  }
  return PositionText(r);
}

}  // namespace coiffure
