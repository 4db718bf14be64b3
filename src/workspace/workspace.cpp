#include "workspace/workspace.h"

namespace coiffure {

void Workspace::UpdateHandles() {
  const int32_t l = HairHandles[0].x, t = HairHandles[0].y;
  const int32_t r = HairHandles[4].x, b = HairHandles[4].y;
  // 64-bit sums: coordinates are never clamped, so the midpoints must not overflow.
  const int32_t mx = static_cast<int32_t>((int64_t{l} + r) / 2);
  const int32_t my = static_cast<int32_t>((int64_t{t} + b) / 2);
  HairHandles[1] = {l, my};
  HairHandles[2] = {l, b};
  HairHandles[3] = {mx, b};
  HairHandles[5] = {r, my};
  HairHandles[6] = {r, t};
  HairHandles[7] = {mx, t};
}

void Workspace::Reset() {
  *this = Workspace{};
  HairHandles[4] = {200, 200};
}

}  // namespace coiffure
