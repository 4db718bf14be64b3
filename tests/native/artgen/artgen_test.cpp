// Checks on the generated artwork: every hairstyle pair must composite correctly, the library
// must follow the gallery's naming rule, and the icons must keep their transparent key.
#include <cmath>
#include <gtest/gtest.h>
#include <set>

#include "gallery/selection.h"
#include "hair.h"
#include "icons.h"
#include "scenes.h"

namespace coiffure::art {
namespace {

struct Rendered {
  std::string name;
  float tip_length;
  HairPair pair;  // at the drawing size, where the head frame's coordinates hold
  HairPair file;  // as shipped
};

const std::vector<Rendered>& AllPairs() {
  static const std::vector<Rendered> all = [] {
    std::vector<Rendered> v;
    auto add = [&v](const std::string& name, const HairStyle& s) {
      HairPair drawn = RenderAtDrawingSize(s);
      HairPair file = Enlarge(drawn, kHairFileWidth, kHairFileHeight);
      v.push_back({name, s.tip_length, std::move(drawn), std::move(file)});
    };
    for (const HairStyle& s : LibraryStyles()) add(s.name, s);
    add("fx1", DefaultStyle());
    return v;
  }();
  return all;
}

Bgr At(const Picture& p, int x, int y) {
  return p.PixelBgr(x, y);
}
const Bgr kBlackPx{0, 0, 0}, kWhitePx{255, 255, 255};

TEST(Hairstyles, PairsFollowTheCompositingRule) {
  for (const Rendered& r : AllPairs()) {
    SCOPED_TRACE(r.name);
    const Picture& c = r.file.colour;
    const Picture& m = r.file.mask;
    ASSERT_EQ(c.Width(), m.Width());
    ASSERT_EQ(c.Height(), m.Height());
    EXPECT_GE(c.Height(), 300);
    EXPECT_GE(c.Width(), 400);  // shown whole in the gallery, reduced into one thumbnail
    int bad_mask = 0, colour_off_hair = 0, white_in_hair = 0, hair = 0;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) {
        const Bgr mp = At(m, x, y), cp = At(c, x, y);
        if (mp != kBlackPx && mp != kWhitePx) ++bad_mask;
        if (mp == kWhitePx && cp != kBlackPx) ++colour_off_hair;
        if (mp == kBlackPx) ++hair, white_in_hair += cp == kWhitePx;
      }
    EXPECT_EQ(bad_mask, 0);
    EXPECT_EQ(colour_off_hair, 0);
    EXPECT_EQ(white_in_hair, 0);  // thumbnails would show pure white as holes
    const double share = double(hair) / (c.Width() * c.Height());
    EXPECT_GT(share, 0.08);
    EXPECT_LT(share, 0.7);
  }
}

TEST(Hairstyles, EnlargingKeepsTheShapeAndTheColours) {
  for (const Rendered& r : AllPairs()) {
    SCOPED_TRACE(r.name);
    // Every file pixel takes the mask of the drawing pixel it lies over.
    int differ = 0;
    for (int y = 0; y < kHairFileHeight; y += 7)
      for (int x = 0; x < kHairFileWidth; x += 5) {
        const int sx = std::min(kHairWidth - 1, (2 * x + 1) * kHairWidth / (2 * kHairFileWidth));
        const int sy = std::min(kHairHeight - 1, (2 * y + 1) * kHairHeight / (2 * kHairFileHeight));
        differ += At(r.file.mask, x, y) != At(r.pair.mask, sx, sy);
      }
    EXPECT_LT(differ, 40);  // only where rounding lands on the other side of an edge
    // Colours come from hair pixels only: no darker fringe than the drawing has.
    uint8_t darkest_drawn = 255, darkest_file = 255;
    for (const HairPair* p : {&r.pair, &r.file})
      for (int y = 0; y < p->mask.Height(); ++y)
        for (int x = 0; x < p->mask.Width(); ++x)
          if (At(p->mask, x, y) == kBlackPx) {
            const Bgr c = At(p->colour, x, y);
            uint8_t& d = p == &r.pair ? darkest_drawn : darkest_file;
            d = std::min({d, c.b, c.g, c.r});
          }
    EXPECT_GE(darkest_file, darkest_drawn);
  }
}

TEST(Hairstyles, FitTheHeadLeavingTheFaceFree) {
  for (const Rendered& r : AllPairs()) {
    SCOPED_TRACE(r.name);
    const Picture& m = r.pair.mask;
    // Eyes, nose and mouth stay visible.
    for (Vec2 p : {Vec2{140, 185}, Vec2{200, 185}, Vec2{170, 230}, Vec2{170, 280}})
      EXPECT_EQ(At(m, int(p.x), int(p.y)), kWhitePx) << p.x << "," << p.y;
    // The crown is covered.
    bool crown = false;
    for (int y = 20; y < 90; ++y) crown |= At(m, int(HeadFrame::kCx), y) == kBlackPx;
    EXPECT_TRUE(crown);
    // Both temples are covered: the style sits on the head's centre line.
    EXPECT_EQ(At(m, 80, 140), kBlackPx);
    EXPECT_EQ(At(m, 260, 140), kBlackPx);
  }
}

std::vector<uint8_t> HairCells(const Picture& mask) {
  std::vector<uint8_t> v(size_t(mask.Width()) * mask.Height());
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x)
      v[size_t(y) * mask.Width() + x] = At(mask, x, y) == kBlackPx;
  return v;
}

// Pixel edges between hair and non-hair.
int Perimeter(const std::vector<uint8_t>& v, int w, int h) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (x + 1 < w) n += v[size_t(y) * w + x] != v[size_t(y) * w + x + 1];
      if (y + 1 < h) n += v[size_t(y) * w + x] != v[size_t(y + 1) * w + x];
    }
  return n;
}

// Majority vote over a (2r+1)^2 square: removes tips and wisps, keeps the overall shape.
std::vector<uint8_t> Smoothed(const std::vector<uint8_t>& v, int w, int h, int r) {
  std::vector<uint8_t> out(v.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int on = 0, all = 0;
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          const int xx = x + dx, yy = y + dy;
          if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
          on += v[size_t(yy) * w + xx], ++all;
        }
      out[size_t(y) * w + x] = 2 * on > all;
    }
  return out;
}

TEST(Hairstyles, LookLikeStrandsNotFlatFills) {
  for (const Rendered& r : AllPairs()) {
    SCOPED_TRACE(r.name);
    const Picture& c = r.pair.colour;
    const Picture& m = r.pair.mask;
    double sum = 0, sq = 0;
    int n = 0;
    for (int y = 1; y + 1 < c.Height(); ++y)
      for (int x = 1; x + 1 < c.Width(); ++x) {
        if (At(m, x, y) != kBlackPx) continue;
        const Bgr p = At(c, x, y);
        const double lum = 0.3 * p.r + 0.59 * p.g + 0.11 * p.b;
        sum += lum, sq += lum * lum, ++n;
      }
    ASSERT_GT(n, 0);
    const double mean = sum / n, sd = std::sqrt(sq / n - mean * mean);
    EXPECT_GT(sd, 8) << "shading and strands give the hair varied brightness";
    // Tips and wisps make the outline much longer than that of the same mask smoothed.
    const std::vector<uint8_t> hair = HairCells(m);
    const double rough = Perimeter(hair, m.Width(), m.Height());
    const double smooth =
        Perimeter(Smoothed(hair, m.Width(), m.Height(), 3), m.Width(), m.Height());
    // Sleek and cropped styles are smoother than loose ones, but none is a clean blob.
    EXPECT_GT(rough, (r.tip_length >= 10 ? 1.25 : 1.08) * smooth);
  }
}

// Size of the largest 8-connected group of hair pixels.
int LargestPiece(std::vector<uint8_t> v, int w, int h) {
  int best = 0;
  std::vector<int> stack;
  for (int start = 0; start < w * h; ++start) {
    if (!v[start]) continue;
    int n = 0;
    stack.push_back(start);
    v[start] = 0;
    while (!stack.empty()) {
      const int i = stack.back();
      stack.pop_back();
      ++n;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int x = i % w + dx, y = i / w + dy;
          if (x < 0 || y < 0 || x >= w || y >= h || !v[size_t(y) * w + x]) continue;
          v[size_t(y) * w + x] = 0;
          stack.push_back(y * w + x);
        }
    }
    best = std::max(best, n);
  }
  return best;
}

TEST(Hairstyles, HairIsOnePieceWithoutStrayDots) {
  for (const Rendered& r : AllPairs()) {
    SCOPED_TRACE(r.name);
    const Picture& m = r.pair.mask;
    const std::vector<uint8_t> hair = HairCells(m);
    int total = 0;
    for (uint8_t v : hair) total += v;
    // Tips and stray hairs grow out of the outline, so they stay attached to it.
    EXPECT_GE(LargestPiece(hair, m.Width(), m.Height()), 0.995 * total);
  }
}

TEST(Hairstyles, LibraryNamesFollowTheGalleryRule) {
  std::set<std::string> names;
  for (const HairStyle& s : LibraryStyles()) {
    const std::string picture = s.name + ".bmp";
    EXPECT_NE(picture[0], '.') << picture;
    EXPECT_EQ(picture.find("mask"), std::string::npos) << picture;
    EXPECT_EQ(s.name.find('.'), std::string::npos) << picture;
    const std::string mask = MaskNameFor(picture);
    EXPECT_EQ(mask, s.name + "mask.bmp");
    EXPECT_NE(mask.find("mask"), std::string::npos);  // the scan never lists it
    EXPECT_TRUE(names.insert(s.name).second) << "duplicate " << s.name;
  }
  EXPECT_GE(names.size(), 12u);
  EXPECT_EQ(MaskNameFor("a.b.bmp"), "amask.bmp");
  EXPECT_EQ(MaskNameFor("short1.bmp"), "short1mask.bmp");
}

TEST(Hairstyles, RenderingIsDeterministic) {
  const HairStyle s = LibraryStyles().at(3);
  EXPECT_EQ(RenderHair(s).colour.EncodeBmp24(), RenderHair(s).colour.EncodeBmp24());
  HairStyle other = s;
  other.seed += 1;
  EXPECT_NE(RenderHair(other).mask.EncodeBmp24(), RenderHair(s).mask.EncodeBmp24());
}

bool IsKey(Bgr p) {
  return p == kKey;
}
// A pixel that mixes the key colour into its edge would show as a pink fringe.
bool PinkFringe(Bgr p) {
  return !IsKey(p) && p.r > 150 && p.b > 150 && p.g < 90;
}

TEST(Icons, ToolbarIconsKeepTheKeyAroundDistinctContent) {
  const Picture strip = ToolbarStrip();
  ASSERT_EQ(strip.Width(), 16 * kToolbarIcons);
  ASSERT_EQ(strip.Height(), 16);
  std::set<std::vector<uint8_t>> seen;
  for (int i = 0; i < kToolbarIcons; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(IsKey(At(strip, 16 * i, 0)));
    int opaque = 0, fringe = 0;
    std::vector<uint8_t> bytes;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const Bgr p = At(strip, 16 * i + x, y);
        opaque += !IsKey(p);
        fringe += PinkFringe(p);
        bytes.insert(bytes.end(), {p.b, p.g, p.r});
      }
    EXPECT_GT(opaque, 50);
    EXPECT_LT(opaque, 256);
    EXPECT_EQ(fringe, 0);
    EXPECT_TRUE(seen.insert(bytes).second) << "icon repeats another";
  }
}

TEST(Icons, GlyphsHaveTheirSizesAndATransparentBottomLeft) {
  struct Case {
    Picture pic;
    int w, h;
  };
  for (const Case& c : {Case{AboutLinkIcon(), 39, 37}, Case{AboutMailIcon(), 36, 42},
                        Case{LogGlyphs(), 36, 18}, Case{SaveGlyph(), 18, 19}}) {
    EXPECT_EQ(c.pic.Width(), c.w);
    EXPECT_EQ(c.pic.Height(), c.h);
    // Buttons and transparent pictures take their key from the bottom-left pixel.
    EXPECT_TRUE(IsKey(At(c.pic, 0, c.h - 1)));
    int drawn = 0;
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) drawn += !IsKey(At(c.pic, x, y));
    EXPECT_GT(drawn, c.w * c.h / 3);
  }
  // The disabled log glyph is grey: no strong colour in its half.
  const Picture log = LogGlyphs();
  for (int y = 0; y < 18; ++y)
    for (int x = 18; x < 36; ++x) {
      const Bgr p = At(log, x, y);
      if (IsKey(p)) continue;
      EXPECT_LT(std::abs(p.r - p.b) + std::abs(p.g - p.b), 30) << x << "," << y;
    }
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

TEST(Icons, IcoFileHoldsBothSizesWithMasks) {
  const IconImage small = AppIconImage(16), big = AppIconImage(32);
  const std::vector<uint8_t> ico = EncodeIco({small, big});
  ASSERT_GE(ico.size(), 6u + 32);
  EXPECT_EQ(ico[2], 1);  // icon, not cursor
  EXPECT_EQ(ico[4], 2);
  size_t end = 6 + 32;
  for (int i = 0; i < 2; ++i) {
    const size_t e = 6 + 16 * i;
    const int s = i == 0 ? 16 : 32;
    EXPECT_EQ(ico[e], s);
    const uint32_t bytes = Le32(ico, e + 8), offset = Le32(ico, e + 12);
    EXPECT_EQ(offset, end);  // images follow one another without gaps
    ASSERT_LE(size_t(offset) + bytes, ico.size());
    EXPECT_EQ(Le32(ico, offset), 40u);
    EXPECT_EQ(Le32(ico, offset + 8), uint32_t(2 * s));
    EXPECT_EQ(bytes, 40u + s * s * 4 + ((s + 31) / 32) * 4 * s);
    // The mask's first row is the image's bottom row: its corners are transparent.
    const size_t mask = offset + 40 + s * s * 4;
    EXPECT_EQ(ico[mask] & 0x80, 0x80);
    end = offset + bytes;
  }
  EXPECT_EQ(end, ico.size());
  // Corners see through, the middle is solid.
  EXPECT_EQ(big.bgra[3], 0);
  EXPECT_EQ(big.bgra[(16 * 32 + 16) * 4 + 3], 255);
}

TEST(Icons, SplitCursorFileCarriesItsHotSpotBetweenTheBars) {
  const IconImage img = SplitCursorImage();
  const std::vector<uint8_t> cur = EncodeCur(img, kSplitHotX, kSplitHotY);
  EXPECT_EQ(cur[2], 2);  // cursor
  EXPECT_EQ(cur[6 + 4] | cur[6 + 5] << 8, kSplitHotX);
  EXPECT_EQ(cur[6 + 6] | cur[6 + 7] << 8, kSplitHotY);
  const auto alpha = [&](int x, int y) { return img.bgra[(y * 32 + x) * 4 + 3]; };
  const auto blue = [&](int x, int y) { return img.bgra[(y * 32 + x) * 4]; };
  // Black bars left and right of the hot spot, white between them, clear far from the strokes.
  EXPECT_EQ(alpha(kSplitHotX - 1, kSplitHotY), 255);
  EXPECT_EQ(blue(kSplitHotX - 1, kSplitHotY), 0);
  EXPECT_EQ(blue(kSplitHotX + 2, kSplitHotY), 0);
  EXPECT_EQ(blue(kSplitHotX, kSplitHotY), 255);
  EXPECT_EQ(alpha(0, 0), 0);
  EXPECT_EQ(alpha(kSplitHotX, 2), 0);
}

TEST(Scenes, PicturesHaveTheirSizes) {
  EXPECT_EQ(SplashPicture().Width(), 329);
  EXPECT_EQ(SplashPicture().Height(), 263);
  EXPECT_EQ(AboutPicture().Width(), 329);
  EXPECT_EQ(CameraPanel().Width(), 160);
  EXPECT_EQ(CameraPanel().Height(), 146);
}

TEST(Scenes, BandTilesSeamlesslyAndStaysLight) {
  const Picture band = BandBackground();
  ASSERT_EQ(band.Width(), 248);
  ASSERT_EQ(band.Height(), 306);
  auto lum = [&](int x, int y) {
    const Bgr p = At(band, x, y);
    return (p.r + p.g + p.b) / 3;
  };
  int seam = 0, inner = 0, darkest = 255;
  for (int y = 0; y < band.Height(); ++y) {
    seam = std::max(seam, std::abs(lum(band.Width() - 1, y) - lum(0, y)));
    inner = std::max(inner, std::abs(lum(100, y) - lum(101, y)));
    for (int x = 0; x < band.Width(); ++x) darkest = std::min(darkest, lum(x, y));
  }
  for (int x = 0; x < band.Width(); ++x)
    seam = std::max(seam, std::abs(lum(x, band.Height() - 1) - lum(x, 0)));
  EXPECT_LE(seam, inner + 1);  // the wrap is no harder than any step inside
  EXPECT_GT(darkest, 200);     // dark icons stay readable on it
}

}  // namespace
}  // namespace coiffure::art
