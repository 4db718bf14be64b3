#include <cmath>
#include <gtest/gtest.h>

#include "gallery/scan.h"
#include "import/convert.h"

namespace coiffure {
namespace {

// A disc of hair with a soft edge: opaque inside r0, fading linearly to nothing at r1; colours
// vary across it so that misplaced pixels show. Transparent pixels carry a loud green.
RgbaImage SoftDisc(int w, int h, double r0, double r1) {
  RgbaImage img = RgbaImage::Create(w, h);
  const double cx = w / 2.0, cy = h / 2.0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = img.Pixel(x, y);
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / (std::min(w, h) / 2.0);
      const double a = std::clamp((r1 - d) / (r1 - r0), 0.0, 1.0);
      p[3] = static_cast<uint8_t>(std::lround(a * 255));
      if (p[3] == 0) {
        p[1] = 255;
        continue;
      }
      p[0] = static_cast<uint8_t>(x * 7);
      p[1] = static_cast<uint8_t>(y * 3);
      p[2] = static_cast<uint8_t>(40 + (x + y) % 100);
    }
  }
  return img;
}

double TotalOpacity(const RgbaImage& img) {
  double sum = 0;
  for (size_t i = 3; i < img.bgra.size(); i += 4) sum += img.bgra[i];
  return sum / 255;
}

int64_t BlackPixels(const Picture& mask) {
  int64_t n = 0;
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x) n += mask.PixelBgr(x, y) == Bgr{0, 0, 0};
  return n;
}

// Every pixel of the mask is pure black or pure white, and the colour picture is pure black
// wherever the mask is white: the bitwise composite then shows exactly the hair.
void ExpectExactPair(const HairstylePair& pair) {
  ASSERT_EQ(pair.colour.Width(), pair.mask.Width());
  ASSERT_EQ(pair.colour.Height(), pair.mask.Height());
  for (int y = 0; y < pair.mask.Height(); ++y) {
    for (int x = 0; x < pair.mask.Width(); ++x) {
      const Bgr m = pair.mask.PixelBgr(x, y);
      ASSERT_TRUE(m == (Bgr{0, 0, 0}) || m == (Bgr{255, 255, 255})) << x << "," << y;
      if (m.b == 255) {
        ASSERT_EQ(pair.colour.PixelBgr(x, y), (Bgr{0, 0, 0})) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(BlackPixels(pair.mask), pair.hair_pixels);
}

TEST(ImportConvert, MaskAreaFollowsOpacityAndColourIsBlackOutsideTheHair) {
  struct Case {
    int w, h;
    double r0, r1;
  };
  // Kept size, reduced (longer side 2400), enlarged (shorter side 120), thin (padded), and a
  // picture of nothing but soft edge.
  for (const Case c :
       {Case{420, 300, 0.6, 0.9}, Case{2400, 1600, 0.5, 0.95}, Case{160, 120, 0.3, 0.9},
        Case{40, 700, 0.4, 0.9}, Case{500, 500, 0.0, 1.0}}) {
    SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h);
    const RgbaImage src = SoftDisc(c.w, c.h, c.r0, c.r1);
    const std::optional<RgbaImage> crop = CropToVisible(src);
    ASSERT_TRUE(crop);
    const Size fit = FittedSize(crop->width, crop->height);
    const double area_scale = double(fit.width) * fit.height / (double(crop->width) * crop->height);
    const std::optional<HairstylePair> pair = ConvertToHairstyle(src);
    ASSERT_TRUE(pair);
    ExpectExactPair(*pair);
    EXPECT_GE(pair->mask.Width(), kImportMinSide);
    EXPECT_GE(pair->mask.Height(), kImportMinSide);
    EXPECT_LE(std::max(pair->mask.Width(), pair->mask.Height()), kImportMaxSide);
    const double opacity = TotalOpacity(src) * area_scale;
    EXPECT_NEAR(static_cast<double>(pair->hair_pixels), opacity, 0.01 * opacity);
  }
}

TEST(ImportConvert, KeptSizeCopiesTheHairColoursAndKeepsOpaquePixelsSolid) {
  const RgbaImage src = SoftDisc(300, 300, 0.7, 0.9);
  int x0 = 300, y0 = 300, x1 = 0, y1 = 0;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 300; ++x) {
      if (src.Pixel(x, y)[3] == 0) continue;
      x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
  }
  const int margin = std::max(2, (x1 - x0 + 1) / 50);
  const std::optional<HairstylePair> pair = ConvertToHairstyle(src);
  ASSERT_TRUE(pair);
  ASSERT_EQ(pair->mask.Width(), x1 - x0 + 1 + 2 * margin);  // neither reduced nor enlarged
  const int dx = margin - x0, dy = margin - y0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const uint8_t* p = src.Pixel(x, y);
      const bool hair = pair->mask.PixelBgr(x + dx, y + dy) == Bgr{0, 0, 0};
      // Opaque pixels are always hair, transparent ones never; hair keeps its own colour.
      EXPECT_TRUE(p[3] != 255 || hair) << x << "," << y;
      EXPECT_TRUE(p[3] != 0 || !hair) << x << "," << y;
      if (hair) {
        ASSERT_EQ(pair->colour.PixelBgr(x + dx, y + dy), (Bgr{p[0], p[1], p[2]}));
      }
    }
  }
}

// A dark ellipse with a light hole on a noisy light backdrop, as a JPEG photo gives it.
RgbaImage PhotoOnBackdrop(int w, int h, int* hair_area) {
  RgbaImage img = RgbaImage::Create(w, h);
  uint32_t s = 12345;
  *hair_area = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = img.Pixel(x, y);
      s = s * 1664525u + 1013904223u;
      const int noise = static_cast<int>(s >> 28) - 8;
      const double dx = (x - w / 2.0) / (w * 0.3), dy = (y - h / 2.0) / (h * 0.35);
      const bool ellipse = dx * dx + dy * dy <= 1.0;
      const bool hole = dx * dx + dy * dy <= 0.04;  // backdrop-coloured but enclosed
      *hair_area += ellipse;
      const int base = ellipse && !hole ? 60 : 235;
      p[0] = static_cast<uint8_t>(base + noise);
      p[1] = static_cast<uint8_t>(base + noise);
      p[2] = static_cast<uint8_t>(base + 10 + noise);
      p[3] = 255;
    }
  }
  return img;
}

TEST(ImportConvert, OpaquePictureLosesOnlyTheBackdropConnectedToItsBorder) {
  int area = 0;
  RgbaImage img = PhotoOnBackdrop(400, 300, &area);
  ASSERT_FALSE(HasTransparency(img));
  const std::optional<HairstylePair> pair = ConvertToHairstyle(img);
  ASSERT_TRUE(pair);
  ExpectExactPair(*pair);
  EXPECT_EQ(pair->hair_pixels, area);  // hard edges, no resizing: exact
}

TEST(ImportConvert, APhotoOfAPersonIsToldFromHairOnAPlainBackdrop) {
  int area = 0;
  const RgbaImage hair = PhotoOnBackdrop(200, 150, &area);
  RgbaImage shoulders = hair, busy = hair, cut_out = hair, cropped = hair;
  for (int y = 120; y < 150; ++y)  // a body across the bottom
    for (int x = 40; x < 160; ++x) std::fill_n(shoulders.Pixel(x, y), 3, uint8_t(90));
  for (int y = 0; y < 150; ++y)  // a wall of many colours
    for (int x = 0; x < 200; ++x)
      if ((x / 7 + y / 5) % 3) busy.Pixel(x, y)[x % 3] = static_cast<uint8_t>(x * 5 + y);
  cut_out.Pixel(0, 0)[3] = 0;
  for (int x = 90; x < 130; ++x) std::fill_n(cropped.Pixel(x, 149), 3, uint8_t(60));  // a tip
  struct Case {
    const RgbaImage* picture;
    bool person;
  };
  for (const Case& c : std::vector<Case>{
           {&hair, false}, {&shoulders, true}, {&busy, true}, {&cut_out, false}, {&cropped, false}})
    EXPECT_EQ(LooksLikeAPhotoOfAPerson(*c.picture), c.person) << (c.picture - &hair);
}

TEST(ImportConvert, TheRingBesideTheBackdropFadesByItsDistanceFromTheBackdrop) {
  // White backdrop; a black square with a one-pixel ring of light grey (distance 3 x 35).
  RgbaImage img = RgbaImage::Create(60, 60);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 60; ++x) {
      const bool ring = x >= 19 && x <= 40 && y >= 19 && y <= 40;
      const bool square = x >= 20 && x < 40 && y >= 20 && y < 40;
      uint8_t* p = img.Pixel(x, y);
      std::fill_n(p, 3, uint8_t(square ? 0 : ring ? 220 : 255));
      p[3] = 255;
    }
  }
  ClearBorderBackground(img);
  EXPECT_EQ(img.Pixel(5, 5)[3], 0);
  EXPECT_EQ(img.Pixel(19, 30)[3], 255 * (105 - kBackgroundTolerance) / kBackgroundTolerance);
  EXPECT_EQ(img.Pixel(20, 30)[3], 255);  // not beside the backdrop: stays opaque
  EXPECT_EQ(img.Pixel(30, 30)[3], 255);
}

TEST(ImportConvert, NothingLeftIsRefused) {
  RgbaImage clear = RgbaImage::Create(300, 300);  // fully transparent
  EXPECT_FALSE(ConvertToHairstyle(clear));
  RgbaImage plain = RgbaImage::Create(300, 300);
  for (size_t i = 0; i < plain.bgra.size(); ++i) plain.bgra[i] = i % 4 == 3 ? 255 : 200;
  EXPECT_FALSE(ConvertToHairstyle(plain));  // all of it is backdrop
  RgbaImage faint = RgbaImage::Create(3000, 3000);
  faint.Pixel(1500, 1500)[3] = 1;  // visible, but reduced to nothing
  EXPECT_FALSE(ConvertToHairstyle(faint));
}

TEST(ImportConvert, CropKeepsTheVisiblePixelsWithAMargin) {
  RgbaImage img = RgbaImage::Create(500, 400);
  for (int y = 100; y < 150; ++y)
    for (int x = 30; x < 330; ++x) img.Pixel(x, y)[3] = static_cast<uint8_t>(1 + x % 200);
  const std::optional<RgbaImage> crop = CropToVisible(img);
  ASSERT_TRUE(crop);
  const int m = 300 / 50;
  ASSERT_EQ(crop->width, 300 + 2 * m);
  ASSERT_EQ(crop->height, 50 + 2 * m);
  EXPECT_EQ(crop->Pixel(m, m)[3], img.Pixel(30, 100)[3]);
  EXPECT_EQ(crop->Pixel(m + 299, m + 49)[3], img.Pixel(329, 149)[3]);
  EXPECT_EQ(crop->Pixel(m - 1, m)[3], 0);
  EXPECT_EQ(TotalOpacity(*crop), TotalOpacity(img));
}

TEST(ImportConvert, FittedSizeKeepsProportionsWithinTheLimits) {
  struct Case {
    int w, h;
    Size want;
  };
  for (const Case c :
       {Case{300, 300, {300, 300}}, Case{2000, 2000, {1000, 1000}}, Case{4000, 1000, {1000, 250}},
        Case{100, 150, {200, 300}}, Case{100, 900, {111, 1000}}, Case{1000, 199, {1000, 199}},
        Case{1, 1, {200, 200}}, Case{5000, 3, {1000, 1}}}) {
    EXPECT_EQ(FittedSize(c.w, c.h), c.want) << c.w << "x" << c.h;
  }
  const RgbaImage padded = PadToMinimum(RgbaImage::Create(1000, 1));
  EXPECT_EQ(padded.width, 1000);
  EXPECT_EQ(padded.height, kImportMinSide);
}

TEST(ImportConvert, ResamplingWeighsColoursByAlphaAndKeepsTotalOpacity) {
  // Left half opaque red, right half transparent with a green that must not bleed in.
  RgbaImage img = RgbaImage::Create(999, 601);
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) {
      uint8_t* p = img.Pixel(x, y);
      if (x < 500) {
        p[2] = 200;
        p[3] = static_cast<uint8_t>(100 + y % 156);
      } else {
        p[1] = 255;
      }
    }
  }
  for (const Size size : {Size{333, 200}, Size{1400, 900}, Size{10, 7}}) {
    const RgbaImage out = Resample(img, size);
    const double scale = double(size.width) * size.height / (double(img.width) * img.height);
    EXPECT_NEAR(TotalOpacity(out), TotalOpacity(img) * scale, 0.002 * TotalOpacity(img) * scale);
    for (int y = 0; y < out.height; ++y)
      for (int x = 0; x < out.width; ++x)
        if (out.Pixel(x, y)[3] > 0) {
          ASSERT_EQ(out.Pixel(x, y)[1], 0) << x << "," << y;
        }
  }
}

}  // namespace
}  // namespace coiffure
