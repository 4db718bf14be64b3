// The about box's small pictures, the settings dialog's button glyphs and the application icon.
#include <algorithm>
#include <cmath>

#include "icons.h"

namespace coiffure::art {
namespace {

constexpr float kPi = 3.14159265f;
const Rgb kEdgeGrey = Rgb8(212, 208, 200);
const Rgb kInk = Rgb8(40, 44, 52);

void PutLe16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(v & 0xFF);
  b.push_back(v >> 8);
}
void PutLe32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}

void ListPage(Canvas& c, float ox, bool enabled) {
  const Rgb ink = enabled ? kInk : Rgb8(128, 128, 128);
  const Rgb paper = enabled ? Rgb8(250, 250, 245) : Rgb8(200, 200, 200);
  FillRoundRect(c, ox + 2.5f, 0.5f, ox + 15.5f, 17.5f, 1, ink);
  FillRoundRect(c, ox + 3.5f, 1.5f, ox + 14.5f, 16.5f, 0.5f, paper);
  for (int i = 0; i < 5; ++i) {
    const float y = 4 + 2.6f * i;
    FillRoundRect(c, ox + 5, y, ox + 6.6f, y + 1.4f, 0.2f, enabled ? Rgb8(30, 90, 200) : ink);
    FillRoundRect(c, ox + 7.6f, y + 0.2f, ox + 13, y + 1.2f, 0.2f, ink);
  }
}

}  // namespace

Picture AboutLinkIcon() {
  Canvas c(39, 37, kEdgeGrey);
  const Vec2 o{19.5f, 18.5f};
  FillEllipse(c, o, 17.5f, 17.5f, Rgb8(20, 60, 130));
  FillEllipse(c, o, 16.3f, 16.3f, Rgb8(60, 130, 210));
  // Continents as blobs, then the grid of meridians and parallels.
  FillEllipse(c, {13, 12}, 6, 4.5f, Rgb8(70, 160, 80));
  FillEllipse(c, {16, 25}, 3.5f, 6, Rgb8(70, 160, 80));
  FillEllipse(c, {27, 16}, 5, 7, Rgb8(70, 160, 80));
  for (float rx : {6.f, 12.f}) {
    std::vector<Vec2> m;
    for (int i = 0; i <= 24; ++i) {
      const float a = -kPi / 2 + kPi * i / 24;
      m.push_back({o.x + rx * std::cos(a), o.y + 16.3f * std::sin(a)});
    }
    StrokePolyline(c, m, 1, Rgb8(220, 235, 250), 0.8f);
    for (Vec2& p : m) p.x = 2 * o.x - p.x;
    StrokePolyline(c, m, 1, Rgb8(220, 235, 250), 0.8f);
  }
  StrokeLine(c, {o.x, 2.5f}, {o.x, 34.5f}, 1, Rgb8(220, 235, 250), 0.8f);
  for (float dy : {-9.f, 0.f, 9.f}) {
    const float hw = std::sqrt(16.3f * 16.3f - dy * dy);
    StrokeLine(c, {o.x - hw, o.y + dy}, {o.x + hw, o.y + dy}, 1, Rgb8(220, 235, 250), 0.8f);
  }
  FillEllipse(c, {13, 10}, 4, 3, Rgb8(255, 255, 255), 0.35f);
  return KeyedPicture(c);
}

Picture AboutMailIcon() {
  Canvas c(36, 42, kEdgeGrey);
  FillRoundRect(c, 1, 9, 35, 33, 2, kInk);
  FillRoundRect(c, 2.2f, 10.2f, 33.8f, 31.8f, 1.4f, Rgb8(250, 246, 230));
  StrokePolyline(c, {{2.6f, 11}, {18, 23}, {33.4f, 11}}, 1.6f, kInk);
  StrokeLine(c, {2.6f, 31}, {14, 21}, 1.2f, Rgb8(150, 140, 120));
  StrokeLine(c, {33.4f, 31}, {22, 21}, 1.2f, Rgb8(150, 140, 120));
  FillRoundRect(c, 25, 13, 31, 19, 0.5f, Rgb8(210, 40, 60));
  return KeyedPicture(c);
}

Picture LogGlyphs() {
  Canvas c(36, 18, kEdgeGrey);
  ListPage(c, 0, true);
  ListPage(c, 18, false);
  return KeyedPicture(c);
}

Picture SaveGlyph() {
  Canvas c(18, 19, kEdgeGrey);
  FillRoundRect(c, 0.5f, 1, 17.5f, 18, 1.5f, kInk);
  FillRoundRect(c, 1.5f, 2, 16.5f, 17, 1, Rgb8(40, 80, 170));
  FillRoundRect(c, 4, 2, 13, 7.5f, 0.4f, Rgb8(225, 225, 230));
  FillRoundRect(c, 10, 3, 12, 6.5f, 0.3f, Rgb8(40, 80, 170));
  FillRoundRect(c, 3.5f, 10, 14.5f, 17, 0.6f, Rgb8(250, 250, 245));
  for (float y : {12.f, 14.5f}) FillRoundRect(c, 5, y, 13, y + 0.9f, 0.2f, Rgb8(150, 150, 160));
  return KeyedPicture(c);
}

IconImage AppIconImage(int size) {
  // Drawn on black with coverage as alpha: the colour is premultiplied and undone below.
  Canvas c(size, size, {});
  const float k = size / 32.f;
  FillEllipse(c, {16 * k, 16 * k}, 15.5f * k, 15.5f * k, Rgb8(120, 30, 90));
  FillEllipse(c, {16 * k, 15 * k}, 13.5f * k, 13.5f * k, Rgb8(175, 60, 130));
  // Open scissors: two blades crossing at the pivot, two ring handles below. The small image
  // gets bolder strokes so that it still reads at 16 pixels.
  const Rgb steel = Rgb8(240, 240, 248);
  const bool small = size <= 16;
  const float blade = small ? 1.7f : 2.2f, ring = small ? 4.8f : 4.2f, hole = small ? 2 : 2.3f;
  StrokeLine(c, {9 * k, 4.5f * k}, {18 * k, 20 * k}, blade * 1.6f * k * (small ? 1.4f : 1), steel);
  StrokeLine(c, {23 * k, 4.5f * k}, {14 * k, 20 * k}, blade * 1.6f * k * (small ? 1.4f : 1), steel);
  for (float x : {11.f, 21.f}) {
    FillEllipse(c, {x * k, 23.5f * k}, ring * k, ring * k, steel);
    FillEllipse(c, {x * k, 23.5f * k}, hole * k, hole * k, Rgb8(175, 60, 130));
  }
  if (!small) FillEllipse(c, {16 * k, 17.3f * k}, 1.4f * k, 1.4f * k, Rgb8(120, 30, 90));
  IconImage img{size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 4)};
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float a = c.Coverage(x, y);
      const Rgb px = c.At(x, y);
      const auto ch = [a](float v) {
        return static_cast<uint8_t>(std::lround(Clamp01(a > 0 ? v / a : 0) * 255));
      };
      uint8_t* o = &img.bgra[(static_cast<size_t>(y) * size + x) * 4];
      o[0] = ch(px.b), o[1] = ch(px.g), o[2] = ch(px.r);
      o[3] = static_cast<uint8_t>(std::lround(a * 255));
    }
  return img;
}

IconImage SplitCursorImage() {
  constexpr int kSize = 32;
  // Black strokes: the double bar, and a shaft with a head pointing outwards on either side.
  // The right half mirrors the left about the middle of the bar pair (x' = 31 - x).
  std::vector<bool> ink(kSize * kSize, false);
  const auto put = [&](int x, int y) {
    ink[y * kSize + x] = true;
    ink[y * kSize + (kSize - 1 - x)] = true;
  };
  for (int y = 9; y <= 23; ++y) put(14, y);
  for (int x = 5; x <= 12; ++x) put(x, kSplitHotY);
  for (int d = 1; d <= 4; ++d)
    for (int y = kSplitHotY - d; y <= kSplitHotY + d; ++y) put(5 + d, y);
  // A white outline around every stroke, so the pointer reads on dark and light alike.
  IconImage img{kSize, std::vector<uint8_t>(kSize * kSize * 4, 0)};
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      bool near = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          near |= nx >= 0 && ny >= 0 && nx < kSize && ny < kSize && ink[ny * kSize + nx];
        }
      uint8_t* o = &img.bgra[(y * kSize + x) * 4];
      if (ink[y * kSize + x])
        o[0] = o[1] = o[2] = 0, o[3] = 255;
      else if (near)
        o[0] = o[1] = o[2] = 255, o[3] = 255;
    }
  return img;
}

namespace {

// Icon and cursor files share one layout; a cursor's entry carries its hot spot where an icon's
// carries planes and bit depth.
std::vector<uint8_t> EncodeIconFile(const std::vector<IconImage>& images, uint16_t type,
                                    uint16_t hot_x, uint16_t hot_y) {
  std::vector<uint8_t> out;
  PutLe16(out, 0);
  PutLe16(out, type);
  PutLe16(out, static_cast<uint16_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  std::vector<uint8_t> bodies;
  for (const IconImage& img : images) {
    const int s = img.size;
    const uint32_t mask_stride = ((s + 31) / 32) * 4;
    const uint32_t bytes = 40 + s * s * 4 + mask_stride * s;
    out.push_back(static_cast<uint8_t>(s >= 256 ? 0 : s));
    out.push_back(static_cast<uint8_t>(s >= 256 ? 0 : s));
    out.push_back(0), out.push_back(0);
    PutLe16(out, type == 2 ? hot_x : 1);
    PutLe16(out, type == 2 ? hot_y : 32);
    PutLe32(out, bytes);
    PutLe32(out, offset);
    offset += bytes;
    PutLe32(bodies, 40);
    PutLe32(bodies, s);
    PutLe32(bodies, 2 * s);  // colour rows plus mask rows
    PutLe16(bodies, 1);
    PutLe16(bodies, 32);
    for (int i = 0; i < 6; ++i) PutLe32(bodies, 0);
    for (int y = s - 1; y >= 0; --y)
      bodies.insert(bodies.end(), img.bgra.begin() + static_cast<size_t>(y) * s * 4,
                    img.bgra.begin() + static_cast<size_t>(y + 1) * s * 4);
    // AND mask: set bits are transparent, for systems that ignore the alpha channel.
    for (int y = s - 1; y >= 0; --y) {
      std::vector<uint8_t> row(mask_stride, 0);
      for (int x = 0; x < s; ++x)
        if (img.bgra[(static_cast<size_t>(y) * s + x) * 4 + 3] < 128)
          row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      bodies.insert(bodies.end(), row.begin(), row.end());
    }
  }
  out.insert(out.end(), bodies.begin(), bodies.end());
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images) {
  return EncodeIconFile(images, 1, 0, 0);
}

std::vector<uint8_t> EncodeCur(const IconImage& image, int hot_x, int hot_y) {
  return EncodeIconFile({image}, 2, static_cast<uint16_t>(hot_x), static_cast<uint16_t>(hot_y));
}

}  // namespace coiffure::art
