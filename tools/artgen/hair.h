// Hairstyle renderer: a style is an outline and a strand direction field; the renderer turns it
// into the colour picture and the mask that the workspace composites as
// (photo AND mask) OR colour.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "imaging/picture.h"
#include "raster.h"

namespace coiffure::art {

// Every hairstyle shares one picture size and one head position inside it, so that a style
// chosen from the gallery fits the rectangle in which the previous one was placed.
inline constexpr int kHairWidth = 340;
inline constexpr int kHairHeight = 460;
// The size of the files: 400 or more pixels wide, so the gallery shows each style whole,
// reduced into its thumbnail, instead of the top-left corner of it.
inline constexpr int kHairFileWidth = 400;
inline constexpr int kHairFileHeight = 541;

struct HeadFrame {
  static constexpr float kCx = 170;  // centre line of the face
  static constexpr Vec2 kSkull{170, 158};
  static constexpr float kSkullRx = 112, kSkullRy = 132;  // crown at y 26
  // The face opening: a wide forehead over a narrower jaw, chin at y 318.
  static constexpr Vec2 kBrow{170, 200};
  static constexpr float kBrowRx = 94, kBrowRy = 66;  // hairline at y 134
  static constexpr Vec2 kJaw{170, 240};
  static constexpr float kJawRx = 82, kJawRy = 78;
};

struct HairPalette {
  Rgb base;   // mid tone of the hair
  Rgb gloss;  // colour of the sheen
  Rgb light;  // second, broader sheen tinted by the hair
};

struct HairStyle {
  std::string name;  // file name without ".bmp"
  HairPalette palette;
  // Positive on the hair, about the distance to its outline in pixels.
  std::function<float(Vec2)> shape;
  // Direction in which the strands run from root to tip.
  std::function<Vec2(Vec2)> flow;
  // Scalp showing between strands is darkened along this segment; equal ends for none.
  Vec2 part_a, part_b;
  float strand_length = 14;  // how far strands stay coherent, in pixels
  float grain = 1;           // size of the strand texture
  float tip_length = 12;     // how far loose tips reach past the outline
  float tip_density = 0.35f;
  float flyaways = 1;  // number of stray hairs, relative
  float scalp = 0;     // how much skin shows between the strands of a very short cut
  // Ringlets drawn over the texture: number per 1000 hair pixels, coil radius and pitch.
  float ringlets = 0;
  float ringlet_radius = 6;
  float ringlet_pitch = 9;
  uint32_t seed = 1;
};

struct HairPair {
  Picture colour;  // black off the hair
  Picture mask;    // white off the hair, black on it
};

// The style drawn at the file size.
HairPair RenderHair(const HairStyle& style);
// The style drawn at the size of the head frame (kHairWidth x kHairHeight).
HairPair RenderAtDrawingSize(const HairStyle& style);

// A pair enlarged to width x height: the mask by nearest neighbour, so it stays pure black and
// white; the colour by bilinear weights over hair pixels only, so edges get no dark fringe.
HairPair Enlarge(const HairPair& pair, int width, int height);

// Signed distance to the face opening grown by `grow`, negative inside it.
float FaceDistance(Vec2 p, float grow = 0);

// The shipped library and the default hairstyle.
std::vector<HairStyle> LibraryStyles();
HairStyle DefaultStyle();

}  // namespace coiffure::art
