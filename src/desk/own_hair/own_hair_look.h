// The customer's own hair in a shade as the window shows it while the operator tries shades:
// the hair read once for each matte and kept until the matte changes, so that a change of shade
// only recolours (a few milliseconds, where reading the hair takes some twenty).
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "colour/own_shade.h"

namespace coiffure {

class OwnHairLook {
 public:
  struct Result {
    Picture photo;
    ShadeReach reach;
  };
  // The photo (24 bits) with its hair under the matte in the shade. Any thread may ask; the
  // photo must be the same at each call.
  Result Recolour(const Picture& photo, const std::vector<uint8_t>& matte, Bgr shade);

 private:
  std::mutex mutex_;
  std::vector<uint8_t> matte_;  // the matte hair_ was read under
  std::shared_ptr<const OwnHair> hair_;
};

}  // namespace coiffure
