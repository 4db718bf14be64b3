// Every way of turning a picture upright (where it lies, or into a new picture when its sides
// share no large divisor) and every form of the loops gives the pixels the orientation names.
#include "pictures/upright.h"

#include <cstring>
#include <gtest/gtest.h>

namespace coiffure {
namespace {

// Each pixel holds its own stored position, so any pixel out of place shows.
RgbaImage Numbered(int w, int h) {
  RgbaImage img = RgbaImage::Create(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t n = static_cast<uint32_t>(y * w + x) * 2654435761u;
      std::memcpy(img.Pixel(x, y), &n, 4);
    }
  return img;
}

// The stored pixel that the upright picture shows at (x, y), as the EXIF orientations define it.
const uint8_t* Shown(const RgbaImage& s, int o, int x, int y) {
  const int w = s.width, h = s.height;
  switch (o) {
    case 2:
      return s.Pixel(w - 1 - x, y);
    case 3:
      return s.Pixel(w - 1 - x, h - 1 - y);
    case 4:
      return s.Pixel(x, h - 1 - y);
    case 5:
      return s.Pixel(y, x);
    case 6:
      return s.Pixel(y, h - 1 - x);
    case 7:
      return s.Pixel(w - 1 - y, h - 1 - x);
    case 8:
      return s.Pixel(w - 1 - y, x);
    default:
      return s.Pixel(x, y);
  }
}

const char* Name(Loops loops) {
  return loops == Loops::kPlain ? "plain" : loops == Loops::kSse2 ? "SSE2" : "AVX2";
}

TEST(Upright, EveryShapeOrientationAndFormMovesEachPixelWhereItBelongs) {
  struct Shape {
    int w, h;
  };
  // Sides with a common divisor of 16 or more (turned where they lie): a phone's 4:3 scaled
  // down, squares, a divisor over a tile (65, 130) and one not a multiple of 4 (33); and sides
  // without (a new picture): coprime, one pixel wide, a divisor of 8.
  const Shape shapes[] = {{112, 84}, {64, 48}, {48, 48}, {33, 99}, {130, 65}, {260, 130},
                          {200, 16}, {17, 16}, {1, 40},  {40, 1},  {24, 40},  {7, 5}};
  for (const Shape& s : shapes) {
    const RgbaImage stored = Numbered(s.w, s.h);
    for (int o = 1; o <= 8; ++o) {
      for (const Loops loops : RunnableLoops()) {
        const RgbaImage up = UprightWith(stored, o, loops);
        const bool swaps = o >= 5;
        ASSERT_EQ(up.width, swaps ? s.h : s.w);
        ASSERT_EQ(up.height, swaps ? s.w : s.h);
        for (int y = 0; y < up.height; ++y)
          for (int x = 0; x < up.width; ++x)
            ASSERT_EQ(std::memcmp(up.Pixel(x, y), Shown(stored, o, x, y), 4), 0)
                << s.w << "x" << s.h << " orientation " << o << " " << Name(loops) << " at " << x
                << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace coiffure
