// The larger pictures: splash, about box, the panel under the camera preview, toolbar band.
#pragma once

#include "imaging/picture.h"

namespace coiffure::art {

Picture SplashPicture();   // 329 x 263
Picture AboutPicture();    // 329 x 263
Picture CameraPanel();     // 160 x 146
Picture BandBackground();  // 248 x 306, seamless when tiled

}  // namespace coiffure::art
