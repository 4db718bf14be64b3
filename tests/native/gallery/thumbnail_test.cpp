// The thumbnail against the plain reading of its rule, over picture sizes that take every way
// through the reduction: each size of box the fast divisions serve, the limit where they stop,
// and boxes too large for them.
#include "gallery/thumbnail.h"

#include <gtest/gtest.h>

#include "native/reduce_model.h"

namespace coiffure {
namespace {

uint32_t Next(uint32_t& s) {
  s = s * 1664525u + 1013904223u;
  return s >> 8;
}

// Noise with white bands and blocks, so that whole cells, some pixels and no pixels turn white.
Picture Scene(int w, int h, bool palette, uint32_t seed) {
  auto white = [&](int x, int y) { return (x / 37 + y / 23) % 3 == 0 || y % 50 < 3; };
  if (!palette) {
    Picture p = Picture::Create24(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (int c = 0; c < 3; ++c)
          p.Row(y)[3 * x + c] = white(x, y) ? 255 : static_cast<uint8_t>(Next(seed));
    return p;
  }
  Picture::Layout l;
  l.width = w, l.height = h, l.bpp = 8;
  l.palette.push_back({255, 255, 255});
  for (int i = 1; i < 256; ++i)
    l.palette.push_back({static_cast<uint8_t>(Next(seed)), static_cast<uint8_t>(Next(seed)),
                         static_cast<uint8_t>(Next(seed))});
  std::vector<uint8_t> px(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px[size_t(y) * w + x] = white(x, y) ? 0 : 1 + Next(seed) % 255;
  return Picture::FromLayout(l, px);
}

void ExpectSamePicture(const Picture& got, const Picture& want) {
  ASSERT_EQ(got.Width(), want.Width());
  ASSERT_EQ(got.Height(), want.Height());
  for (int y = 0; y < got.Height(); ++y)
    for (int x = 0; x < got.Width(); ++x)
      if (!(got.PixelBgr(x, y) == want.PixelBgr(x, y))) FAIL() << "at (" << x << ", " << y << ")";
}

TEST(ThumbnailReduction, MatchesThePlainRuleForEveryBoxSize) {
  struct Size {
    int w, h;
    bool palette;
  };
  const Size sizes[] = {
      {400, 541, false},   // a shipped style: boxes of 2 to 3 by 2 to 3
      {541, 400, true},    // wider than high, converted rows
      {405, 203, false},   // one-row and two-row bands
      {1000, 500, false},  // 5 to 6 square: the divisions shift further
      {1900, 400, false},  // 9 to 10: the largest boxes they serve
      {1700, 360, false},  // 8 to 9: 64 pixels is too few for their shift, the plain way takes it
      {2300, 460, true},   // 11 to 12: too large for them
      {230, 260, false},   // not reduced in the gallery, but ReduceToFit holds for it
  };
  uint32_t seed = 5;
  for (const Size& s : sizes) {
    SCOPED_TRACE(testing::Message() << s.w << "x" << s.h);
    const Picture p = Scene(s.w, s.h, s.palette, seed++);
    const Picture want = model::ReduceToFit(p, kThumbSide);
    ExpectSamePicture(ReduceToFit(p, kThumbSide), want);
    if (s.w < kWideThumbnailWidth) continue;
    // The cell: white turned black and transparent, every other pixel as reduced.
    const Thumbnail t = MakeThumbnail(p);
    for (int y = 0; y < kThumbSide; ++y)
      for (int x = 0; x < kThumbSide; ++x) {
        const Bgr v = want.PixelBgr(x, y);
        const bool white = v == Bgr{255, 255, 255};
        ASSERT_EQ(t.Transparent(x, y), white) << "at (" << x << ", " << y << ")";
        ASSERT_EQ(t.image.PixelBgr(x, y), white ? Bgr{} : v) << "at (" << x << ", " << y << ")";
      }
  }
}

}  // namespace
}  // namespace coiffure
