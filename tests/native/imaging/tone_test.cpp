#include "imaging/tone.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace coiffure {
namespace {

using ToneFn = std::function<void(Picture&)>;

Picture Grey(int c) {
  const auto v = static_cast<uint8_t>(c);
  return Picture::Create24(1, 1, {v, v, v});
}

Bgr After(const ToneFn& fn, Picture p) {
  fn(p);
  return p.PixelBgr(0, 0);
}

TEST(Tone, KnownBytesGiveTheirResults) {
  struct Row {
    int c, bright_up, bright_down, contrast_up, down_blue, down_green_red;
  };
  const Row rows[] = {
      {0, 20, 0, 13, 0, 0},           {18, 38, 0, 30, 18, 18},
      {19, 39, 0, 31, 19, 18},        {20, 40, 0, 31, 19, 19},
      {128, 148, 108, 134, 122, 121}, {235, 255, 215, 236, 224, 223},
      {236, 255, 216, 236, 224, 224}, {255, 255, 235, 255, 242, 241},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.c);
    const auto all = [](int v) {
      const auto b = static_cast<uint8_t>(v);
      return Bgr{b, b, b};
    };
    EXPECT_EQ(After(BrightnessUp, Grey(r.c)), all(r.bright_up));
    EXPECT_EQ(After(BrightnessDown, Grey(r.c)), all(r.bright_down));
    EXPECT_EQ(After(ContrastUp, Grey(r.c)), all(r.contrast_up));
    const auto gr = static_cast<uint8_t>(r.down_green_red);
    EXPECT_EQ(After(ContrastDown, Grey(r.c)), (Bgr{static_cast<uint8_t>(r.down_blue), gr, gr}));
  }
}

TEST(Tone, WhiteLosesMoreOnGreenAndRedThanOnBlue) {
  EXPECT_EQ(After(ContrastDown, Grey(255)), (Bgr{242, 241, 241}));
}

// Every byte value at every channel position, over rows whose length is not a multiple of any
// vector width, so both the wide code and the leftovers at each row's end are exercised.
TEST(Tone, EveryByteAtEveryChannelAndPosition) {
  const int w = 101, h = 7;
  Picture src = Picture::Create24(w, h);
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < w * 3; ++i) src.Row(y)[i] = static_cast<uint8_t>((i * 7 + y * 31) % 256);

  struct Case {
    const char* name;
    ToneFn fn;
    std::function<int(int c, int ch)> want;
  };
  const Case cases[] = {
      {"bright up", BrightnessUp, [](int c, int) { return std::min(255, c + 20); }},
      {"bright down", BrightnessDown, [](int c, int) { return std::max(0, c - 20); }},
      // The step written the other way round: (3315 - 13c) div 255.
      {"contrast up", ContrastUp, [](int c, int) { return c + (3315 - 13 * c) / 255; }},
      {"contrast down", ContrastDown,
       [](int c, int ch) { return c - (c * (ch == 0 ? 13 : 14)) / 255; }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Picture p = src;
    k.fn(p);
    ASSERT_EQ(p.Width(), w);
    ASSERT_EQ(p.Height(), h);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
      for (int i = 0; i < w * 3; ++i)
        if (p.Row(y)[i] != k.want(src.Row(y)[i], i % 3) && ++wrong < 5)
          ADD_FAILURE() << "row " << y << " byte " << i << " from " << int{src.Row(y)[i]}
                        << " gave " << int{p.Row(y)[i]};
    EXPECT_EQ(wrong, 0);
  }
}

TEST(Tone, CommandsCompound) {
  for (int c : {0, 100, 215, 216, 236, 255}) {
    Picture p = Grey(c);
    BrightnessUp(p);
    BrightnessUp(p);
    EXPECT_EQ(p.PixelBgr(0, 0).g, std::min(255, c + 40)) << c;
  }
  // Contrast up creeps towards 255 and stops for good once a byte reaches 236.
  Picture up = Grey(0);
  int last = -1;
  for (int i = 0; i < 200; ++i) {
    ContrastUp(up);
    const int now = up.PixelBgr(0, 0).b;
    EXPECT_GE(now, last);
    last = now;
  }
  EXPECT_GE(last, 236);
  const int settled = last;
  ContrastUp(up);
  EXPECT_EQ(up.PixelBgr(0, 0).b, settled);

  // Contrast down settles at 19 on blue and 18 on green and red.
  Picture down = Grey(255);
  for (int i = 0; i < 300; ++i) ContrastDown(down);
  EXPECT_EQ(down.PixelBgr(0, 0), (Bgr{19, 18, 18}));
}

// An 8-bit photo: a 3-entry palette and one row of indices 0, 1, 2, 1.
Picture EightBit() {
  Picture::Layout l;
  l.width = 4;
  l.height = 2;
  l.bpp = 8;
  l.palette = {{10, 200, 250}, {0, 128, 255}, {240, 5, 19}};
  return Picture::FromLayout(l, {0, 1, 2, 1, 2, 2, 0, 0});
}

TEST(Tone, OtherDepthsBecome24BitWithTheSameLookFirst) {
  const struct {
    const char* name;
    ToneFn fn;
  } cases[] = {{"bright up", BrightnessUp},
               {"bright down", BrightnessDown},
               {"contrast up", ContrastUp},
               {"contrast down", ContrastDown}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    Picture converted = EightBit();
    converted.ConvertTo24();
    ASSERT_EQ(converted.PixelBgr(2, 0), (Bgr{240, 5, 19}));
    k.fn(converted);

    Picture p = EightBit();
    k.fn(p);
    EXPECT_EQ(p.BitsPerPixel(), 24);
    ASSERT_EQ(p.Width(), 4);
    ASSERT_EQ(p.Height(), 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(p.PixelBgr(x, y), converted.PixelBgr(x, y));
  }
  Picture p = EightBit();
  BrightnessUp(p);
  EXPECT_EQ(p.PixelBgr(0, 0), (Bgr{30, 220, 255}));
  EXPECT_EQ(p.PixelBgr(2, 0), (Bgr{255, 25, 39}));
}

TEST(Tone, EmptyPhotosStayEmpty) {
  for (const ToneFn& fn :
       {ToneFn(BrightnessUp), ToneFn(BrightnessDown), ToneFn(ContrastUp), ToneFn(ContrastDown)}) {
    Picture none;
    fn(none);
    EXPECT_TRUE(none.Empty());
    Picture no_columns = Picture::Create24(0, 5);
    fn(no_columns);
    EXPECT_EQ(no_columns.Width(), 0);
    EXPECT_EQ(no_columns.Height(), 5);
    Picture no_rows = Picture::Create24(5, 0);
    fn(no_rows);
    EXPECT_TRUE(no_rows.Empty());
  }
}

}  // namespace
}  // namespace coiffure
