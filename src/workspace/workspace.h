// The try-on state the main window keeps: photo, hairstyle pair, overlay rectangle and its handles,
// edit mode, and the selection and drag state shared by the mouse and keyboard handlers.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/picture.h"
#include "workspace/geometry.h"

namespace coiffure {

// What the arrow keys do; the values are those the forms give the modes.
enum class EditModeValue : uint8_t { emEnlarge = 1, emShrink = 2, emMove = 3 };

struct Workspace {
  Point DragOrigin;
  Picture Photo;
  bool MoveDrag = false;
  bool ResizeDrag = false;
  uint8_t ActiveHandle = 0;  // 1..8, or 0 for none
  Picture HairMask;
  Picture HairImage;
  std::array<Point, 8> HairHandles{};  // entries 0 and 4 hold HairRect
  bool HairSelected = false;
  EditModeValue EditMode = EditModeValue::emMove;

  Rect HairRect() const {
    return {HairHandles[0].x, HairHandles[0].y, HairHandles[4].x, HairHandles[4].y};
  }
  void SetHairRect(const Rect& r) {
    HairHandles[0] = {r.left, r.top};
    HairHandles[4] = {r.right, r.bottom};
  }

  // Recomputes entries 1, 2, 3, 5, 6, 7 from entries 0 and 4.
  void UpdateHandles();

  // The start values of a fresh main window: rectangle (0, 0)-(200, 200), move mode.
  void Reset();
};

}  // namespace coiffure
