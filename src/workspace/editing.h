// Mouse and keyboard editing of the hairstyle rectangle: selection, hit-testing of the eight
// handles, moves and resizes applied on release, and arrow-key nudging by edit mode.
//
// Arithmetic: coordinates are never clamped to the paint box, but an edge that would pass the
// 32-bit range stops at INT32_MIN or INT32_MAX (saturation) instead of wrapping to the far side.
// Every comparison (hit boxes, refusals, the shrink minimum) is done exactly in 64 bits.
#pragma once

#include <cstdint>

#include "workspace/geometry.h"
#include "workspace/workspace.h"

namespace coiffure {

enum class CursorShape { Arrow, SizeNWSE, SizeWE, SizeNESW, SizeNS };

struct Modifiers {
  bool shift = false, ctrl = false, alt = false;
};

// What the editing handlers ask of the window.
class EditorPort {
 public:
  virtual ~EditorPort() = default;
  virtual void Repaint() = 0;                        // invalidate the paint box
  virtual void SetGalleryEnabled(bool enabled) = 0;  // enable/disable ListView1
  virtual void SetCursor(CursorShape shape) = 0;     // the paint box's pointer shape
};

// Virtual-key codes the key handler reacts to.
inline constexpr uint16_t kVkReturn = 13;
inline constexpr uint16_t kVkLeft = 37;
inline constexpr uint16_t kVkUp = 38;
inline constexpr uint16_t kVkRight = 39;
inline constexpr uint16_t kVkDown = 40;

// Selects or deselects; the gallery is usable exactly while nothing is selected.
void SetHairSelected(Workspace& ws, EditorPort& port, bool value);

// The enlarge, shrink and move commands. A value outside the three is ignored.
void SetEditMode(Workspace& ws, EditorPort& port, EditModeValue mode);

// The handle whose hit box contains p, 1..8 (the lower number wins where boxes overlap), or 0.
// Reads the handle points as they are: call UpdateHandles first.
int HitHandle(const Workspace& ws, Point p);

// The pointer shape shown over a handle's box; Arrow for 0 or an unknown number.
CursorShape HandleCursor(int handle);

// The pointer moved to p: while selected, the handle under it sets the pointer shape and becomes
// the active handle; off every handle the shape is the arrow and the active handle is kept.
void TrackPointer(Workspace& ws, EditorPort& port, Point p);
// A press at p: strictly inside the rectangle arms a move, on a remembered handle a resize (both
// select); elsewhere it deselects.
void PressAt(Workspace& ws, EditorPort& port, Point p);
// The release at p applies the armed move, or the armed resize unless refused.
void ReleaseAt(Workspace& ws, EditorPort& port, Point p);

// Whether releasing a resize of `handle` at `release` is refused, judged against the rectangle
// before the release: every edge the handle moves must end the release point at least 51 pixels
// short of the opposite edge. A number outside 1..8 names no resize and is refused.
bool IsResizeRefused(const Rect& before, int handle, Point release);

// Enter ends the selection; the arrow keys move, enlarge or shrink by 1 pixel, or 10 with Ctrl
// alone held. Other keys are ignored.
void EditByKey(Workspace& ws, EditorPort& port, uint16_t key, Modifiers mods);

}  // namespace coiffure
