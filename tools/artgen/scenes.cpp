#include "scenes.h"

#include <cmath>

#include "noise.h"
#include "raster.h"

namespace coiffure::art {
namespace {

constexpr float kPi = 3.14159265f;

struct Look {
  Rgb top, middle, bottom;  // background gradient
  Rgb figure, rim;          // the profile and its lit edge
  Rgb hair_dark, hair_light;
  bool mirrored = false;
  uint64_t seed = 1;
};

void ThreeStopGradient(Canvas& c, const Look& k) {
  for (int y = 0; y < c.Height(); ++y) {
    const float t = y / float(c.Height() - 1);
    const Rgb col = t < 0.5f ? Mix(k.top, k.middle, t * 2) : Mix(k.middle, k.bottom, t * 2 - 1);
    for (int x = 0; x < c.Width(); ++x) c.At(x, y) = col;
  }
}

// Mirrors x about the middle of the picture when the scene faces the other way.
Vec2 M(const Look& k, Vec2 p, int w) {
  return k.mirrored ? Vec2{w - p.x, p.y} : p;
}

void Profile(Canvas& c, const Look& k) {
  const int w = c.Width();
  std::vector<Vec2> pts;
  auto add = [&](const std::vector<Vec2>& seg) {
    for (const Vec2& p : seg) pts.push_back(M(k, p, w));
  };
  add(Bezier({96, 263}, {98, 220}, {92, 190}, {74, 150}, 10));
  add(Bezier({74, 150}, {50, 100}, {80, 42}, {124, 44}, 14));
  add(Bezier({124, 44}, {150, 46}, {160, 70}, {160, 92}, 10));
  add(Bezier({160, 92}, {166, 104}, {176, 114}, {172, 120}, 6));
  add(Bezier({172, 120}, {168, 124}, {164, 124}, {164, 128}, 4));
  add(Bezier({164, 128}, {168, 132}, {162, 136}, {164, 141}, 4));
  add(Bezier({164, 141}, {166, 150}, {160, 160}, {150, 164}, 6));
  add(Bezier({150, 164}, {138, 168}, {134, 180}, {138, 200}, 6));
  add(Bezier({138, 200}, {140, 230}, {150, 250}, {160, 263}, 6));
  FillPolygon(c, pts, k.rim);
  for (Vec2& p : pts) p.x += k.mirrored ? 1.6f : -1.6f;
  FillPolygon(c, pts, k.figure);
}

void FlowingHair(Canvas& c, const Look& k) {
  const int w = c.Width();
  auto mirror = [&](std::vector<Vec2> pts) {
    for (Vec2& p : pts) p = M(k, p, w);
    return pts;
  };
  // The mass first, so that the strands never show the head through them.
  std::vector<Vec2> mass = Bezier({154, 68}, {144, 16}, {64, 12}, {34, 92}, 16);
  for (const Vec2& p : Bezier({34, 92}, {10, 170}, {34, 220}, {18, 263}, 12)) mass.push_back(p);
  for (const Vec2& p : Bezier({84, 263}, {70, 200}, {96, 160}, {104, 128}, 12)) mass.push_back(p);
  for (const Vec2& p : Bezier({104, 128}, {110, 90}, {130, 72}, {154, 68}, 10)) mass.push_back(p);
  FillPolygon(c, mirror(mass), Mix(k.hair_dark, k.hair_light, 0.3f));
  Rng rng(k.seed);
  const std::vector<Vec2> hairline = Bezier({104, 128}, {110, 90}, {130, 72}, {154, 68}, 60);
  for (int i = 0; i < 420; ++i) {
    const Vec2 root = hairline[rng.Int(static_cast<int>(hairline.size()))];
    const Vec2 end{rng.Range(8, 78), rng.Range(210, 268)};
    const float out = rng.Uniform();  // 0 follows the skull, 1 the outer edge of the mass
    const Vec2 c1{root.x - rng.Range(10, 40) - 30 * out, root.y - rng.Range(40, 60) - 20 * out};
    const Vec2 c2{rng.Range(20, 50) - 25 * out, rng.Range(70, 130)};
    const Rgb col = Mix(k.hair_dark, k.hair_light, Clamp01(rng.Uniform() * 1.2f));
    StrokePolyline(c, mirror(Bezier(root, c1, c2, end, 40)), rng.Range(0.7f, 2.2f), col,
                   rng.Range(0.3f, 0.75f));
  }
}

void Scissors(Canvas& c, Vec2 o, float angle, float size, Rgb col) {
  auto rot = [&](Vec2 p) {
    const float ca = std::cos(angle), sa = std::sin(angle);
    return Vec2{o.x + (p.x * ca - p.y * sa) * size, o.y + (p.x * sa + p.y * ca) * size};
  };
  for (float side : {-1.f, 1.f}) {
    FillPolygon(c,
                {rot({0, 0}), rot({side * 0.9f, -0.2f}), rot({side * 0.55f, -4.2f}),
                 rot({side * 0.2f, -4.4f})},
                col);
    StrokeLine(c, rot({0, 0}), rot({side * 1.0f, 1.6f}), 2.2f * size / 10, col);
    const Vec2 ring = rot({side * 1.25f, 2.4f});
    StrokeArc(c, ring, 0.9f * size, 0, 2 * kPi, 2.4f * size / 10, col);
  }
  FillEllipse(c, o, 0.25f * size, 0.25f * size, Rgb8(90, 60, 90));
}

void Comb(Canvas& c, float x0, float y0, float len, Rgb col) {
  FillRoundRect(c, x0, y0, x0 + len, y0 + 7, 3, col);
  for (float x = x0 + 5; x < x0 + len - 3; x += 3.2f)
    StrokeLine(c, {x, y0 + 5}, {x, y0 + 20}, 1.4f, col);
}

void Sparkle(Canvas& c, Vec2 o, float r, Rgb col) {
  FillPolygon(c,
              {{o.x, o.y - r},
               {o.x + r * 0.2f, o.y - r * 0.2f},
               {o.x + r, o.y},
               {o.x + r * 0.2f, o.y + r * 0.2f},
               {o.x, o.y + r},
               {o.x - r * 0.2f, o.y + r * 0.2f},
               {o.x - r, o.y},
               {o.x - r * 0.2f, o.y - r * 0.2f}},
              col, 0.85f);
}

Picture SalonScene(const Look& k) {
  Canvas c(329, 263);
  ThreeStopGradient(c, k);
  const int w = c.Width();
  FillEllipse(c, M(k, {250, 80}, w), 110, 90, Rgb8(255, 235, 245), 0.18f, 60);
  Profile(c, k);
  FlowingHair(c, k);
  Scissors(c, M(k, {258, 92}, w), k.mirrored ? 0.5f : -0.5f, 14, Rgb8(245, 240, 250));
  Comb(c, k.mirrored ? 30 : 210, 170, 86, Rgb8(245, 240, 250));
  Rng rng(k.seed + 5);
  for (int i = 0; i < 9; ++i)
    Sparkle(c, M(k, {rng.Range(190, 320), rng.Range(20, 150)}, w), rng.Range(2, 5),
            Rgb8(255, 250, 235));
  return c.ToPicture();
}

// Value noise on a lattice that repeats every `cells` lattice units, for seamless tiles.
float TileNoise(float x, float y, int cx, int cy, uint32_t seed) {
  const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  float tx = x - ix, ty = y - iy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  auto h = [&](int a, int b) { return Hash2(((a % cx) + cx) % cx, ((b % cy) + cy) % cy, seed); };
  const float top = h(ix, iy) + (h(ix + 1, iy) - h(ix, iy)) * tx;
  const float bot = h(ix, iy + 1) + (h(ix + 1, iy + 1) - h(ix, iy + 1)) * tx;
  return top + (bot - top) * ty;
}

}  // namespace

Picture SplashPicture() {
  Look k{Rgb8(62, 24, 66),    Rgb8(176, 92, 140), Rgb8(255, 246, 232), Rgb8(48, 16, 52),
         Rgb8(255, 200, 170), Rgb8(110, 40, 30),  Rgb8(245, 190, 110)};
  k.seed = 3;
  return SalonScene(k);
}

Picture AboutPicture() {
  Look k{Rgb8(40, 18, 60),    Rgb8(130, 40, 150), Rgb8(235, 60, 235), Rgb8(30, 10, 45),
         Rgb8(255, 170, 230), Rgb8(70, 30, 20),   Rgb8(240, 200, 140)};
  k.mirrored = true;
  k.seed = 8;
  return SalonScene(k);
}

Picture CameraPanel() {
  Canvas c(160, 146);
  VerticalGradient(c, Rgb8(52, 56, 64), Rgb8(22, 24, 30));
  for (int y = 0; y < 146; y += 3)
    for (int x = 0; x < 160; ++x) c.Blend(x, y, {}, 0.12f);
  // Viewfinder corners: the live picture appears in this frame.
  const Rgb frame = Rgb8(170, 180, 195);
  for (Vec2 o : {Vec2{10, 10}, Vec2{150, 10}, Vec2{10, 136}, Vec2{150, 136}}) {
    const float sx = o.x < 80 ? 1 : -1, sy = o.y < 73 ? 1 : -1;
    StrokeLine(c, o, {o.x + 14 * sx, o.y}, 2, frame);
    StrokeLine(c, o, {o.x, o.y + 14 * sy}, 2, frame);
  }
  FillEllipse(c, {22, 22}, 3.5f, 3.5f, Rgb8(230, 40, 40));
  // The webcam: a ball on a stand.
  FillPolygon(c, {{72, 92}, {88, 92}, {92, 112}, {68, 112}}, Rgb8(70, 74, 84));
  FillEllipse(c, {80, 114}, 26, 6, Rgb8(90, 95, 108));
  FillEllipse(c, {80, 62}, 31, 31, Rgb8(20, 22, 26));
  FillEllipse(c, {80, 62}, 29.5f, 29.5f, Rgb8(200, 205, 215));
  FillEllipse(c, {76, 56}, 18, 16, Rgb8(240, 244, 250), 0.5f, 14);
  FillEllipse(c, {80, 64}, 16, 16, Rgb8(30, 32, 38));
  FillEllipse(c, {80, 64}, 11, 11, Rgb8(40, 80, 150));
  FillEllipse(c, {80, 64}, 6, 6, Rgb8(10, 20, 40));
  FillEllipse(c, {76, 60}, 3, 3, Rgb8(230, 240, 255), 0.9f);
  FillEllipse(c, {100, 42}, 2.5f, 2.5f, Rgb8(60, 220, 80));
  return c.ToPicture();
}

Picture BandBackground() {
  constexpr int kW = 248, kH = 306;
  Canvas c(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      // Lattice periods divide the picture's size, so opposite edges match.
      const float fine = TileNoise(x / 4.f, y / 34.f, kW / 4, 9, 41);
      const float broad = TileNoise(x / 62.f, y / 51.f, 4, 6, 42);
      const float v = (fine - 0.5f) * 0.03f + (broad - 0.5f) * 0.035f;
      c.At(x, y) = Rgb8(232, 235, 240) + Rgb{v, v, v * 1.2f};
    }
  return c.ToPicture();
}

}  // namespace coiffure::art
