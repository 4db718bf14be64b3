// Building blocks for hairstyle outlines and strand directions, in hair-picture pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "hair.h"
#include "raster.h"

namespace coiffure::art {

// Outlines are positive inside, roughly the distance to the edge in pixels.
float Ellipse(Vec2 p, Vec2 centre, float rx, float ry);
float Box(Vec2 p, float x0, float y0, float x1, float y1, float radius);
inline float Union(float a, float b) {
  return a > b ? a : b;
}
inline float Intersect(float a, float b) {
  return a < b ? a : b;
}
inline float Cut(float a, float b) {
  return Intersect(a, -b);
}
float SmoothUnion(float a, float b, float k);
// Noise offset in [-amp, amp] with features of about `scale` pixels.
float Jag(Vec2 p, float amp, float scale, uint32_t seed);
// The face opening, grown by `grow` pixels, with an uneven hairline. A positive tilt raises the
// hairline on the right (a parting on the right); arch raises its middle.
float FaceOpening(Vec2 p, float grow, uint32_t seed, float tilt = 0, float arch = 0);
// The neck and throat below the chin, `half` pixels to each side of the centre line.
float NeckOpening(Vec2 p, float half);
// Ear openings for short cuts.
float EarOpenings(Vec2 p);

// Strands leave a parting and fall under gravity below fall_from.
Vec2 FromParting(Vec2 p, Vec2 part, float fall_from, float fall_to);
// Waves the direction sideways as the strand goes down.
Vec2 Waved(Vec2 dir, Vec2 p, float amount, float period);
// Random swirls: curls of about `scale` pixels.
Vec2 Curls(Vec2 p, float scale, uint32_t seed);
Vec2 Lerp(Vec2 a, Vec2 b, float t);

// A tube along a polyline whose radius goes from r0 to r1; `along` receives the direction of
// the nearest segment.
float Tube(Vec2 p, const std::vector<Vec2>& pts, float r0, float r1, Vec2* along);
// Strands circling a centre, as in a bun.
Vec2 Around(Vec2 p, Vec2 centre);

}  // namespace coiffure::art
