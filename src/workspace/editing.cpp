#include "workspace/editing.h"

#include <algorithm>
#include <limits>

namespace coiffure {
namespace {

// A handle's hit box relative to its point, inclusive on all sides.
struct HitBox {
  int dx_lo, dx_hi, dy_lo, dy_hi;
};

// Indexed by handle number - 1. The corner boxes 3, 5 and 7 share one shape on purpose: they all
// reach 9 pixels right and down, so they are not mirror images of each other.
constexpr HitBox kHitBoxes[8] = {
    {-9, 1, -9, 1},  // 1 top-left
    {-9, 1, -5, 5},  // 2 left middle
    {-1, 9, -1, 9},  // 3 bottom-left
    {-5, 5, -1, 9},  // 4 bottom middle
    {-1, 9, -1, 9},  // 5 bottom-right
    {-1, 9, -5, 5},  // 6 right middle
    {-1, 9, -1, 9},  // 7 top-right
    {-5, 5, -9, 1},  // 8 top middle
};

// Which edges a handle drags.
struct HandleEdges {
  bool left, top, right, bottom;
};

constexpr HandleEdges kHandleEdges[8] = {
    {true, true, false, false},   // 1
    {true, false, false, false},  // 2
    {true, false, false, true},   // 3
    {false, false, false, true},  // 4
    {false, false, true, true},   // 5
    {false, false, true, false},  // 6
    {false, true, true, false},   // 7
    {false, true, false, false},  // 8
};

constexpr CursorShape kHandleCursors[8] = {
    CursorShape::SizeNWSE, CursorShape::SizeWE, CursorShape::SizeNESW, CursorShape::SizeNS,
    CursorShape::SizeNWSE, CursorShape::SizeWE, CursorShape::SizeNESW, CursorShape::SizeNS,
};

bool IsHandle(int handle) {
  return handle >= 1 && handle <= 8;
}

// Edges stop at the 32-bit limits rather than wrapping to the opposite side of the plane.
int32_t Shifted(int32_t v, int64_t delta) {
  const int64_t r = int64_t{v} + delta;
  return static_cast<int32_t>(std::clamp<int64_t>(r, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

bool InRange(int64_t v, int64_t lo, int64_t hi) {
  return lo <= v && v <= hi;
}

// Tested with the edges put in order: a rectangle mirrored by a resize must stay grabbable.
bool StrictlyInside(const Rect& r, Point p) {
  const auto [x0, x1] = std::minmax(r.left, r.right);
  const auto [y0, y1] = std::minmax(r.top, r.bottom);
  return x0 < p.x && p.x < x1 && y0 < p.y && p.y < y1;
}

void ArmDrag(Workspace& ws, EditorPort& port, Point p, bool move) {
  ws.MoveDrag = move;
  ws.ResizeDrag = !move;
  ws.DragOrigin = p;
  SetHairSelected(ws, port, true);
}

// Shrink steps are taken first and undone whole when they leave less than 50 pixels.
void ShrinkStep(Rect& r, uint16_t key, int step) {
  const Rect before = r;
  const bool horizontal = key == kVkLeft || key == kVkRight;
  switch (key) {
    case kVkLeft:
      r.right = Shifted(r.right, -step);
      break;
    case kVkRight:
      r.left = Shifted(r.left, step);
      break;
    case kVkUp:
      r.bottom = Shifted(r.bottom, -step);
      break;
    case kVkDown:
      r.top = Shifted(r.top, step);
      break;
  }
  const int64_t extent = horizontal ? int64_t{r.right} - r.left : int64_t{r.bottom} - r.top;
  if (extent < 50) r = before;
}

void MoveStep(Rect& r, uint16_t key, int step) {
  const int dx = key == kVkLeft ? -step : key == kVkRight ? step : 0;
  const int dy = key == kVkUp ? -step : key == kVkDown ? step : 0;
  r = {Shifted(r.left, dx), Shifted(r.top, dy), Shifted(r.right, dx), Shifted(r.bottom, dy)};
}

void EnlargeStep(Rect& r, uint16_t key, int step) {
  switch (key) {
    case kVkLeft:
      r.left = Shifted(r.left, -step);
      break;
    case kVkRight:
      r.right = Shifted(r.right, step);
      break;
    case kVkUp:
      r.top = Shifted(r.top, -step);
      break;
    case kVkDown:
      r.bottom = Shifted(r.bottom, step);
      break;
  }
}

}  // namespace

void SetHairSelected(Workspace& ws, EditorPort& port, bool value) {
  ws.HairSelected = value;
  // Disabling the gallery hands the keyboard focus to the main window, so the arrows reach it.
  port.SetGalleryEnabled(!value);
  port.Repaint();
}

void SetEditMode(Workspace& ws, EditorPort& port, EditModeValue mode) {
  using enum EditModeValue;
  if (mode != emEnlarge && mode != emShrink && mode != emMove) return;
  ws.EditMode = mode;
  port.Repaint();
}

int HitHandle(const Workspace& ws, Point p) {
  for (int k = 1; k <= 8; ++k) {
    const Point h = ws.HairHandles[k - 1];
    const HitBox& b = kHitBoxes[k - 1];
    if (InRange(p.x, int64_t{h.x} + b.dx_lo, int64_t{h.x} + b.dx_hi) &&
        InRange(p.y, int64_t{h.y} + b.dy_lo, int64_t{h.y} + b.dy_hi)) {
      return k;
    }
  }
  return 0;
}

CursorShape HandleCursor(int handle) {
  return IsHandle(handle) ? kHandleCursors[handle - 1] : CursorShape::Arrow;
}

void TrackPointer(Workspace& ws, EditorPort& port, Point p) {
  if (!ws.HairSelected) return;
  ws.UpdateHandles();
  const int handle = HitHandle(ws, p);
  port.SetCursor(HandleCursor(handle));
  // Off every box the last handle is remembered: a later press outside still resizes by it.
  if (handle != 0) ws.ActiveHandle = static_cast<uint8_t>(handle);
}

void PressAt(Workspace& ws, EditorPort& port, Point p) {
  // Inside first, so the parts of handle boxes that reach into the rectangle start a move.
  if (StrictlyInside(ws.HairRect(), p)) {
    ArmDrag(ws, port, p, true);
  } else if (IsHandle(ws.ActiveHandle)) {
    ArmDrag(ws, port, p, false);
  } else {
    ws.MoveDrag = false;
    SetHairSelected(ws, port, false);
  }
}

bool IsResizeRefused(const Rect& before, int handle, Point release) {
  if (!IsHandle(handle)) return true;
  const HandleEdges& e = kHandleEdges[handle - 1];
  const int64_t x = release.x, y = release.y;
  return (e.left && x + 50 >= before.right) || (e.top && y + 50 >= before.bottom) ||
         (e.right && x <= int64_t{before.left} + 50) || (e.bottom && y <= int64_t{before.top} + 50);
}

void ReleaseAt(Workspace& ws, EditorPort& port, Point p) {
  const int64_t dx = int64_t{p.x} - ws.DragOrigin.x;
  const int64_t dy = int64_t{p.y} - ws.DragOrigin.y;
  if (ws.MoveDrag && ws.HairSelected) {
    const Rect r = ws.HairRect();
    ws.SetHairRect(
        {Shifted(r.left, dx), Shifted(r.top, dy), Shifted(r.right, dx), Shifted(r.bottom, dy)});
    port.Repaint();
  }
  if (ws.ResizeDrag && ws.HairSelected) {
    Rect r = ws.HairRect();
    // A refused release keeps the handle, so the next press outside re-arms the same resize.
    if (IsResizeRefused(r, ws.ActiveHandle, p)) return;
    const HandleEdges& e = kHandleEdges[ws.ActiveHandle - 1];
    if (e.left) r.left = Shifted(r.left, dx);
    if (e.top) r.top = Shifted(r.top, dy);
    if (e.right) r.right = Shifted(r.right, dx);
    if (e.bottom) r.bottom = Shifted(r.bottom, dy);
    ws.SetHairRect(r);
    port.Repaint();
  }
  ws.ActiveHandle = 0;
}

void EditByKey(Workspace& ws, EditorPort& port, uint16_t key, Modifiers mods) {
  if (key == kVkReturn) {
    // Unlike a deselecting press, Enter leaves the gallery as it is (disabled while selected).
    ws.HairSelected = false;
    port.Repaint();
    return;
  }
  if (key != kVkLeft && key != kVkUp && key != kVkRight && key != kVkDown) return;
  // Only Ctrl on its own gives the long step; Ctrl with Shift or Alt is a plain key.
  const int step = (mods.ctrl && !mods.shift && !mods.alt) ? 10 : 1;
  if (!ws.HairSelected) return;
  Rect r = ws.HairRect();
  switch (ws.EditMode) {
    case EditModeValue::emMove:
      MoveStep(r, key, step);
      break;
    case EditModeValue::emEnlarge:
      EnlargeStep(r, key, step);
      break;
    case EditModeValue::emShrink:
      ShrinkStep(r, key, step);
      break;
    default:
      return;
  }
  ws.SetHairRect(r);
  port.Repaint();
}

}  // namespace coiffure
