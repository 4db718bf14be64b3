// Picture files through the platform's imaging component (WIC): PNG, JPEG, GIF, TIFF, BMP and
// whatever other decoders the system has.
#pragma once

#include "pictures/picture_source.h"

namespace coiffure {

// The first frame of the file as straight BGRA, upright, refused from its header when too large
// (DecodeUpright). The calling thread must have COM initialised.
class WicPictureSource : public PictureSource {
 public:
  RgbaImage Decode(const std::string& path) override;
  TurnedPicture DecodeTurned(const std::string& path) override;
};

// Initialises COM on this thread for as long as it lives.
class ScopedCom {
 public:
  ScopedCom();
  ~ScopedCom();
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;

 private:
  bool initialised_ = false;
};

}  // namespace coiffure
