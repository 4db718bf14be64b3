// Customer photos for the colour tests and sheets: a shipped style's strands relit as
// photographed hair on a head with skin, a wall and clothes, camera noise, optionally crushed
// blacks; with the hair's soft matte, exact for the photo since it is what the photo was mixed
// by. The JPEG that real photos come as is the tests' to add.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/picture.h"

namespace coiffure::art {

struct PhotoRecipe {
  std::string name;
  Bgr hair;              // the hair's mid tone as the camera would see it in even light
  float exposure = 1;    // below 1: a dark photo
  bool crushed = false;  // the camera's curve sends its darkest tones to 0
  Bgr wall{190, 196, 200};
  int quality = 85;  // the JPEG quality the photo is to be saved at; 0: none
  int style = 2;     // which shipped style lends its strands
  int width = 340, height = 460;
};

struct HairPhoto {
  Picture photo;               // 24 bits
  std::vector<uint8_t> matte;  // a byte a pixel, top row first: 255 hair, 0 not
};

HairPhoto DrawHairPhoto(const PhotoRecipe& recipe);

// Dark, light and red hair, a dark photo with crushed blacks, hair over a wall of its own
// colour, at ordinary JPEG qualities.
const std::vector<PhotoRecipe>& PhotoRecipes();

}  // namespace coiffure::art
