// Where a mirrored hairstyle lands, against the platform's own stretch. The pictures are uniform,
// so which source pixel a destination pixel repeats does not matter: only the pixels covered do.
#include <windows.h>

#include <gtest/gtest.h>
#include <vector>

#include "workspace/composite.h"

namespace coiffure {
namespace {

constexpr int kW = 40, kH = 30;
constexpr Bgr kMask{0x3C, 0xF0, 0x0F}, kColour{0x81, 0x02, 0x40};

uint8_t Noise(int i) {
  return static_cast<uint8_t>((i * 2654435761u) >> 13);
}

// A top-down 24-bit DIB section selected into a memory DC, filled by fill(x, y).
class DibCanvas {
 public:
  template <typename F>
  DibCanvas(int w, int h, F fill) : w_(w), h_(h), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB};
    bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bmp_);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const Bgr c = fill(x, y);
        uint8_t* p = Pixel(x, y);
        p[0] = c.b, p[1] = c.g, p[2] = c.r;
      }
  }
  ~DibCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  uint8_t* Pixel(int x, int y) { return bits_ + y * ((w_ * 3 + 3) & ~3) + x * 3; }
  Bgr At(int x, int y) {
    GdiFlush();
    const uint8_t* p = Pixel(x, y);
    return {p[0], p[1], p[2]};
  }
  HDC Dc() const { return dc_; }
  int Width() const { return w_; }
  int Height() const { return h_; }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint8_t* bits_ = nullptr;
};

TEST(PlatformStretch, MirroredHairstyleCoversThePixelsThePlatformCovers) {
  const auto background = [](int x, int y) {
    const int i = y * kW + x;
    return Bgr{Noise(3 * i), Noise(3 * i + 1), Noise(3 * i + 2)};
  };
  const Rect cases[] = {
      {8, 3, 4, 20},     // negative width: columns 5 to 8
      {5, 20, 30, 9},    // negative height
      {30, 25, 10, 2},   // both
      {4, 4, 20, 20},    // neither, for comparison
      {45, 28, 36, -6},  // mirrored both ways, beyond the right and top edges
      {3, 12, -5, 13},   // one row high, mirrored, beyond the left edge
  };
  for (const Rect& r : cases) {
    DibCanvas screen(kW, kH, background);
    DibCanvas mask(7, 5, [](int, int) { return kMask; });
    DibCanvas colour(3, 9, [](int, int) { return kColour; });
    SetStretchBltMode(screen.Dc(), COLORONCOLOR);
    const int w = r.right - r.left, h = r.bottom - r.top;
    StretchBlt(screen.Dc(), r.left, r.top, w, h, mask.Dc(), 0, 0, 7, 5, SRCAND);
    StretchBlt(screen.Dc(), r.left, r.top, w, h, colour.Dc(), 0, 0, 3, 9, SRCPAINT);

    Workspace ws;
    ws.Photo = Picture::Create24(kW, kH);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const Bgr c = background(x, y);
        uint8_t* p = ws.Photo.Row(y) + 3 * x;
        p[0] = c.b, p[1] = c.g, p[2] = c.r;
      }
    ws.HairMask = Picture::Create24(7, 5, kMask);
    ws.HairImage = Picture::Create24(3, 9, kColour);
    ws.SetHairRect(r);
    Frame frame;
    frame.Resize(kW, kH);
    ComposeWorkspace(ws, frame);

    int covered = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const Bgr want = screen.At(x, y);
        covered += !(want == background(x, y));
        ASSERT_EQ(frame.At(x, y), want) << "rect " << r.left << "," << r.top << "," << r.right
                                        << "," << r.bottom << " at " << x << "," << y;
      }
    EXPECT_GT(covered, 0);  // the platform drew something, so the comparison means something
  }
}

}  // namespace
}  // namespace coiffure
