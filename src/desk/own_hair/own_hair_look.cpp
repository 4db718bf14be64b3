#include "desk/own_hair/own_hair_look.h"

namespace coiffure {

OwnHairLook::Result OwnHairLook::Recolour(const Picture& photo, const std::vector<uint8_t>& matte,
                                          Bgr shade) {
  std::shared_ptr<const OwnHair> hair;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!hair_ || matte != matte_) {
      hair_ = std::make_shared<const OwnHair>(photo, matte);
      matte_ = matte;
    }
    hair = hair_;
  }
  Result result;
  result.reach = hair->Recolour(shade, result.photo);
  return result;
}

}  // namespace coiffure
