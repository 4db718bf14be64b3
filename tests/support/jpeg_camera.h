// Test photos as a phone would store them: the portrait through JPEG at a given quality.
#pragma once

#include "imaging/picture.h"
#include "pictures/rgba_image.h"

namespace coiffure::robot {

// quality 0 keeps the pixels as they are.
RgbaImage ThroughJpeg(const Picture& photo24, int quality);
// A PNG of rows of BGR pixels, for sheets looked at by eye.
bool WritePng(const char* path, int width, int height, const std::vector<uint8_t>& rgb);

}  // namespace coiffure::robot
