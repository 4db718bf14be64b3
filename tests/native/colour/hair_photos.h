// The colour tests' photos as a camera gives them: drawn by artgen, saved as a JPEG at the
// recipe's quality and read back; with the hair also as a style of the library would have it.
#pragma once

#include <string>
#include <vector>

#include "hair_photo.h"
#include "imaging/picture.h"

namespace coiffure::test {

using art::PhotoRecipe;
using art::PhotoRecipes;

struct TestPhoto {
  Picture photo;                     // 24 bits
  std::vector<uint8_t> matte;        // a byte a pixel, top row first: 255 hair, 0 not
  Picture style_colour, style_mask;  // the hair where the matte is at least half: black off it,
                                     // the mask black on it
};

TestPhoto MakePhoto(const PhotoRecipe& recipe);

// A JPEG of the picture at that quality, read back.
Picture JpegRoundTrip(const Picture& picture, int quality);

// A PNG of the picture, for looking at.
void SavePng(const Picture& picture, const std::string& path);

}  // namespace coiffure::test
