#include "icons.h"

#include <algorithm>
#include <cmath>

namespace coiffure::art {
namespace {

constexpr float kPi = 3.14159265f;
const Rgb kEdgeGrey = Rgb8(212, 208, 200);  // neutral background the edges blend into
const Rgb kInk = Rgb8(40, 44, 52);
const Rgb kBody = Rgb8(96, 104, 118);
const Rgb kBodyLight = Rgb8(150, 158, 172);
const Rgb kGlass = Rgb8(70, 120, 190);
const Rgb kRed = Rgb8(220, 30, 30);
const Rgb kGreen = Rgb8(30, 150, 50);
const Rgb kBlue = Rgb8(30, 90, 200);
const Rgb kWhite = Rgb8(250, 250, 250);
const Rgb kYellow = Rgb8(250, 200, 30);

void Camera(Canvas& c, float ox) {
  FillRoundRect(c, ox + 0.5f, 5, ox + 13.5f, 14.5f, 1.5f, kInk);
  FillRoundRect(c, ox + 1.5f, 6, ox + 12.5f, 13.5f, 1, kBody);
  FillRoundRect(c, ox + 3.5f, 3, ox + 8.5f, 6, 0.8f, kInk);
  FillEllipse(c, {ox + 7, 9.7f}, 3.6f, 3.6f, kInk);
  FillEllipse(c, {ox + 7, 9.7f}, 2.5f, 2.5f, kGlass);
  FillEllipse(c, {ox + 6.2f, 8.9f}, 0.9f, 0.9f, kWhite);
  FillRoundRect(c, ox + 1.5f, 6, ox + 3.5f, 7.2f, 0.3f, kBodyLight);
}

// A small white tag in the lower right carrying + or -.
void Sign(Canvas& c, float ox, bool plus, Rgb col) {
  FillRoundRect(c, ox + 8.5f, 8.5f, ox + 16, 16, 1.2f, kInk);
  FillRoundRect(c, ox + 9.5f, 9.5f, ox + 15, 15, 0.8f, kWhite);
  FillRoundRect(c, ox + 10.5f, 11.5f, ox + 14, 13, 0.2f, col);
  if (plus) FillRoundRect(c, ox + 11.5f, 10.5f, ox + 13, 14, 0.2f, col);
}

void Contrast(Canvas& c, float ox) {
  FillEllipse(c, {ox + 7, 7}, 6.6f, 6.6f, kInk);
  FillEllipse(c, {ox + 7, 7}, 5.4f, 5.4f, kWhite);
  std::vector<Vec2> half{{ox + 7, 1.6f}};
  for (int i = 0; i <= 16; ++i) {
    const float a = kPi / 2 + kPi * i / 16;
    half.push_back({ox + 7 + 5.4f * std::cos(a), 7 + 5.4f * std::sin(a)});
  }
  FillPolygon(c, half, kInk);
}

void Sun(Canvas& c, float ox, float r) {
  for (int i = 0; i < 8; ++i) {
    const float a = i * kPi / 4;
    const Vec2 d{std::cos(a), std::sin(a)};
    StrokeLine(c, Vec2{ox + 7, 7} + d * (r + 1.3f), Vec2{ox + 7, 7} + d * (r + 3.3f), 1.4f,
               Rgb8(230, 140, 0));
  }
  FillEllipse(c, {ox + 7, 7}, r + 0.6f, r + 0.6f, Rgb8(200, 110, 0));
  FillEllipse(c, {ox + 7, 7}, r - 0.4f, r - 0.4f, kYellow);
}

void Magnifier(Canvas& c, float ox, bool plus) {
  StrokeLine(c, {ox + 10, 10}, {ox + 14.3f, 14.3f}, 2.8f, Rgb8(90, 60, 30));
  FillEllipse(c, {ox + 6.5f, 6.5f}, 5.8f, 5.8f, kInk);
  FillEllipse(c, {ox + 6.5f, 6.5f}, 4.4f, 4.4f, Rgb8(205, 228, 250));
  FillRoundRect(c, ox + 3.5f, 5.8f, ox + 9.5f, 7.2f, 0.2f, kBlue);
  if (plus) FillRoundRect(c, ox + 5.8f, 3.5f, ox + 7.2f, 9.5f, 0.2f, kBlue);
}

void Arrowhead(Canvas& c, Vec2 tip, Vec2 dir, float size, Rgb col) {
  const Vec2 n{-dir.y, dir.x};
  FillPolygon(c, {tip, tip - dir * size + n * size * 0.8f, tip - dir * size - n * size * 0.8f},
              col);
}

void FourWay(Canvas& c, float ox) {
  const Vec2 o{ox + 8, 8};
  StrokeLine(c, {ox + 3, 8}, {ox + 13, 8}, 1.8f, kBlue);
  StrokeLine(c, {ox + 8, 3}, {ox + 8, 13}, 1.8f, kBlue);
  for (Vec2 d : {Vec2{1, 0}, Vec2{-1, 0}, Vec2{0, 1}, Vec2{0, -1}})
    Arrowhead(c, o + d * 7.6f, d, 3.4f, kBlue);
}

void Rotate(Canvas& c, float ox, Vec2 o, float r, Rgb col) {
  StrokeArc(c, {ox + o.x, o.y}, r, -0.3f * kPi, 1.25f * kPi, 2, col);
  const float a = -0.3f * kPi;
  const Vec2 end{ox + o.x + r * std::cos(a), o.y + r * std::sin(a)};
  Arrowhead(c, end + Vec2{std::cos(a + kPi / 2), std::sin(a + kPi / 2)} * 2.2f,
            Vec2{std::cos(a + kPi / 2), std::sin(a + kPi / 2)}, 3.2f, col);
}

void Help(Canvas& c, float ox) {
  FillEllipse(c, {ox + 8, 8}, 7.4f, 7.4f, Rgb8(20, 60, 150));
  FillEllipse(c, {ox + 8, 8}, 6.3f, 6.3f, kBlue);
  StrokeArc(c, {ox + 8, 6}, 2.3f, -kPi, 0.15f * kPi, 1.7f, kWhite);
  StrokeLine(c, {ox + 8.5f, 8.3f}, {ox + 8.2f, 9.6f}, 1.7f, kWhite);
  FillRoundRect(c, ox + 7.2f, 11, ox + 9.2f, 13, 0.3f, kWhite);
}

void ReloadPhoto(Canvas& c, float ox) {
  FillRoundRect(c, ox + 0.5f, 1.5f, ox + 13.5f, 12.5f, 0.5f, kInk);
  FillRoundRect(c, ox + 1.5f, 2.5f, ox + 12.5f, 11.5f, 0.2f, Rgb8(150, 200, 245));
  FillPolygon(
      c, {{ox + 1.5f, 11.5f}, {ox + 5, 6}, {ox + 8, 9.5f}, {ox + 10, 7.5f}, {ox + 12.5f, 11.5f}},
      Rgb8(60, 150, 60));
  FillEllipse(c, {ox + 10, 4.8f}, 1.3f, 1.3f, kYellow);
  FillEllipse(c, {ox + 11.5f, 11.5f}, 4.4f, 4.4f, kWhite);
  Rotate(c, ox, {11.5f, 11.5f}, 2.9f, kGreen);
}

}  // namespace

Picture KeyedPicture(const Canvas& c) {
  Picture p = c.ToPicture();
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.Coverage(x, y) < 0.5f) {
        uint8_t* px = p.Row(y) + 3 * x;
        px[0] = kKey.b, px[1] = kKey.g, px[2] = kKey.r;
      }
  return p;
}

Picture ToolbarStrip() {
  Canvas c(16 * kToolbarIcons, 16, kEdgeGrey);
  auto at = [](int i) { return 16.f * i; };
  Camera(c, at(0));
  FillEllipse(c, {at(0) + 12.5f, 3.5f}, 3.3f, 3.3f, Rgb8(120, 0, 0));
  FillEllipse(c, {at(0) + 12.5f, 3.5f}, 2.4f, 2.4f, kRed);
  Camera(c, at(1));
  FillPolygon(c,
              {{at(1) + 13, 0},
               {at(1) + 10, 4.5f},
               {at(1) + 12.5f, 4.5f},
               {at(1) + 11, 8},
               {at(1) + 15.5f, 3},
               {at(1) + 13, 3},
               {at(1) + 15, 0}},
              Rgb8(235, 170, 0));
  Camera(c, at(2));
  FillRoundRect(c, at(2) + 9.5f, 0.5f, at(2) + 15.5f, 6.5f, 0.6f, Rgb8(120, 0, 0));
  FillRoundRect(c, at(2) + 10.5f, 1.5f, at(2) + 14.5f, 5.5f, 0.3f, kRed);
  Contrast(c, at(3));
  Sign(c, at(3), true, kGreen);
  Contrast(c, at(4));
  Sign(c, at(4), false, kRed);
  Sun(c, at(5), 2.3f);
  Sign(c, at(5), false, kRed);
  Sun(c, at(6), 3.2f);
  Sign(c, at(6), true, kGreen);
  Help(c, at(7));
  Magnifier(c, at(8), true);
  Magnifier(c, at(9), false);
  FourWay(c, at(10));
  Rotate(c, at(11), {8, 8}, 5.3f, kGreen);
  ReloadPhoto(c, at(12));
  return KeyedPicture(c);
}

}  // namespace coiffure::art
