// The composite against a plain pixel-by-pixel model of the same rules, over many placements:
// the fast paths (shared stretched rows, the folded mask and colour passes, the background drawn
// only beside the photo) must give exactly the same frame.
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

#include "workspace/composite.h"

namespace coiffure {
namespace {

uint32_t Next(uint32_t& s) {
  s = s * 1664525u + 1013904223u;
  return s >> 8;
}

Picture Noise24(int w, int h, uint32_t seed) {
  Picture p = Picture::Create24(w, h);
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < w * 3; ++i) p.Row(y)[i] = static_cast<uint8_t>(Next(seed));
  return p;
}

Picture Noise8(int w, int h, uint32_t seed) {
  Picture::Layout l;
  l.width = w;
  l.height = h;
  l.bpp = 8;
  for (int i = 0; i < 256; ++i)
    l.palette.push_back({static_cast<uint8_t>(Next(seed)), static_cast<uint8_t>(Next(seed)),
                         static_cast<uint8_t>(Next(seed))});
  std::vector<uint8_t> px(size_t(w) * h);
  for (uint8_t& v : px) v = static_cast<uint8_t>(Next(seed));
  return Picture::FromLayout(l, px);
}

// Which source index a destination cell samples, or -1 outside the covered run.
int64_t SourceIndex(int64_t cell, int64_t start, int64_t extent, int64_t src_len) {
  const int64_t len = extent < 0 ? -extent : extent;
  const int64_t lo = extent < 0 ? start + extent + 1 : start;
  if (len == 0 || cell < lo || cell >= lo + len) return -1;
  const int64_t i = extent < 0 ? len - 1 - (cell - lo) : cell - lo;
  return i * src_len / len;
}

void ModelStretch(Frame& f, const Picture& src, const Rect& r, RasterOp op) {
  if (src.Empty()) return;
  for (int y = 0; y < f.height; ++y) {
    const int64_t sy = SourceIndex(y, r.top, int64_t{r.bottom} - r.top, src.Height());
    if (sy < 0) continue;
    for (int x = 0; x < f.width; ++x) {
      const int64_t sx = SourceIndex(x, r.left, int64_t{r.right} - r.left, src.Width());
      if (sx < 0) continue;
      const Bgr s = src.PixelBgr(int(sx), int(sy));
      uint8_t* d = f.Row(y) + 3 * x;
      const uint8_t v[3] = {s.b, s.g, s.r};
      for (int c = 0; c < 3; ++c)
        d[c] = op == RasterOp::Copy ? v[c] : op == RasterOp::And ? d[c] & v[c] : d[c] | v[c];
    }
  }
}

Frame ModelCompose(const Workspace& ws, int w, int h) {
  Frame f;
  f.Resize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* d = f.Row(y) + 3 * x;
      d[0] = kTeal.b, d[1] = kTeal.g, d[2] = kTeal.r;
    }
  const int ox = (w - ws.Photo.Width()) / 2, oy = (h - ws.Photo.Height()) / 2;
  for (int y = 0; y < ws.Photo.Height(); ++y)
    for (int x = 0; x < ws.Photo.Width(); ++x)
      if (ox + x >= 0 && ox + x < w && oy + y >= 0 && oy + y < h) {
        const Bgr p = ws.Photo.PixelBgr(x, y);
        uint8_t* d = f.Row(oy + y) + 3 * (ox + x);
        d[0] = p.b, d[1] = p.g, d[2] = p.r;
      }
  ModelStretch(f, ws.HairMask, ws.HairRect(), RasterOp::And);
  ModelStretch(f, ws.HairImage, ws.HairRect(), RasterOp::Or);
  return f;
}

// Compares the visible bytes only; the rows' padding carries nothing.
void ExpectSameFrame(const Frame& got, const Frame& want) {
  ASSERT_EQ(got.width, want.width);
  ASSERT_EQ(got.height, want.height);
  for (int y = 0; y < got.height; ++y)
    for (int x = 0; x < got.width; ++x)
      if (!(got.At(x, y) == want.At(x, y))) {
        const Bgr g = got.At(x, y), e = want.At(x, y);
        FAIL() << "first difference at (" << x << ", " << y << "): got " << int(g.b) << ","
               << int(g.g) << "," << int(g.r) << " want " << int(e.b) << "," << int(e.g) << ","
               << int(e.r);
      }
}

const Rect kPlacements[] = {
    {10, 12, 210, 212},              // inside, enlarging one picture and shrinking the other
    {40, 30, 41, 31},                // a single pixel
    {-35, -20, 60, 50},              // hanging over the top-left corner
    {90, 70, 30, 10},                // mirrored both ways
    {-10, 75, 119, -3},              // mirrored one way, clipped on three sides
    {0, 0, 0, 50},                   // no width
    {-49900, -49960, 50100, 50040},  // far larger than the box
    {INT32_MAX, 0, INT32_MIN, 80},   // the widest mirrored span there is
    {300, 300, 400, 400},            // entirely outside
};

TEST(CompositeModel, StretchMatchesModelForEveryOpAndPlacement) {
  const Picture pictures[] = {Noise24(37, 23, 1), Noise8(5, 9, 2), Noise24(300, 2, 3)};
  for (const Picture& src : pictures)
    for (const Rect& r : kPlacements)
      for (RasterOp op : {RasterOp::Copy, RasterOp::And, RasterOp::Or}) {
        SCOPED_TRACE(testing::Message()
                     << src.Width() << "x" << src.Height() << " into (" << r.left << "," << r.top
                     << ")-(" << r.right << "," << r.bottom << ") op " << int(op));
        Frame got;
        got.Resize(121, 83);
        uint32_t seed = 77;
        for (uint8_t& b : got.bgr) b = static_cast<uint8_t>(Next(seed));
        Frame want = got;
        StretchPicture(got, src, r, op);
        ModelStretch(want, src, r, op);
        ExpectSameFrame(got, want);
      }
}

TEST(CompositeModel, WholePaintMatchesModel) {
  struct Scene {
    Picture photo, mask, image;
  };
  const Scene scenes[] = {
      {Noise24(140, 90, 4), Noise8(100, 100, 5), Noise24(300, 200, 6)},  // photo larger than box
      {Noise24(51, 33, 7), Noise24(13, 17, 8), Noise24(13, 17, 9)},      // box margins all round
      {Noise8(121, 20, 10), Picture(), Noise24(40, 40, 11)},             // no mask
      {Picture(), Noise24(40, 40, 12), Picture()},                       // no photo, no colour
  };
  for (const Scene& s : scenes)
    for (const Rect& r : kPlacements) {
      SCOPED_TRACE(testing::Message()
                   << "photo " << s.photo.Width() << "x" << s.photo.Height() << " rect (" << r.left
                   << "," << r.top << ")-(" << r.right << "," << r.bottom << ")");
      Workspace ws;
      ws.Reset();
      ws.Photo = s.photo;
      ws.HairMask = s.mask;
      ws.HairImage = s.image;
      ws.SetHairRect(r);
      Frame got;
      got.Resize(121, 83);
      got.Fill({1, 2, 3});  // whatever a previous paint left must not show through
      ComposeWorkspace(ws, got);
      ExpectSameFrame(got, ModelCompose(ws, 121, 83));
    }
}

}  // namespace
}  // namespace coiffure
