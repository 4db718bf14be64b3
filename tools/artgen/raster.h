// Floating-point canvas and anti-aliased drawing primitives for the generated artwork.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/picture.h"

namespace coiffure::art {

struct Vec2 {
  float x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, float s) {
  return {a.x * s, a.y * s};
}
float Length(Vec2 v);
Vec2 Normalize(Vec2 v);

// Colour channels in 0..1.
struct Rgb {
  float r = 0, g = 0, b = 0;
};
inline Rgb operator+(Rgb a, Rgb b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator*(Rgb a, float s) {
  return {a.r * s, a.g * s, a.b * s};
}
inline Rgb operator*(Rgb a, Rgb b) {
  return {a.r * b.r, a.g * b.g, a.b * b.b};
}
Rgb Mix(Rgb a, Rgb b, float t);
// 0..255 components, for readable colour literals.
constexpr Rgb Rgb8(int r, int g, int b) {
  return {r / 255.f, g / 255.f, b / 255.f};
}

float Clamp01(float v);
float SmoothStep(float e0, float e1, float x);

// Colour plus the accumulated coverage of everything drawn, so that icons can tell their drawn
// pixels from the background.
class Canvas {
 public:
  Canvas(int w, int h, Rgb fill = {});
  int Width() const { return w_; }
  int Height() const { return h_; }
  Rgb& At(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }
  const Rgb& At(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
  float Coverage(int x, int y) const { return cov_[static_cast<size_t>(y) * w_ + x]; }
  // Blends c over pixel (x, y) with opacity a; pixels outside are ignored.
  void Blend(int x, int y, Rgb c, float a);
  // Rounded 8-bit picture.
  Picture ToPicture() const;

 private:
  int w_, h_;
  std::vector<Rgb> px_;
  std::vector<float> cov_;
};

// Approximate signed distance from p to an ellipse's outline, negative inside.
float EllipseDistance(Vec2 p, Vec2 centre, float rx, float ry);

// Shapes are filled by their signed distance (negative inside), which gives a one-pixel soft
// edge; `soft` widens it for glows and shadows.
void FillEllipse(Canvas& c, Vec2 centre, float rx, float ry, Rgb col, float alpha = 1,
                 float soft = 1);
void FillRoundRect(Canvas& c, float x0, float y0, float x1, float y1, float radius, Rgb col,
                   float alpha = 1, float soft = 1);
void FillPolygon(Canvas& c, const std::vector<Vec2>& pts, Rgb col, float alpha = 1);
void StrokeLine(Canvas& c, Vec2 a, Vec2 b, float width, Rgb col, float alpha = 1);
void StrokePolyline(Canvas& c, const std::vector<Vec2>& pts, float width, Rgb col, float alpha = 1);
// Ring of radius r between the angles a0 and a1 (radians, y downwards).
void StrokeArc(Canvas& c, Vec2 centre, float r, float a0, float a1, float width, Rgb col,
               float alpha = 1);
void VerticalGradient(Canvas& c, Rgb top, Rgb bottom);

// Points of a cubic Bezier curve, n + 1 of them.
std::vector<Vec2> Bezier(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, int n);

}  // namespace coiffure::art
