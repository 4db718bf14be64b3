// Composes the whole try-on picture from the workspace into an in-memory frame, each paint anew.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/picture.h"
#include "workspace/workspace.h"

namespace coiffure {

// A top-down BGR frame whose rows are padded to 4 bytes, so the platform can show it in one call.
struct Frame {
  int width = 0;
  int height = 0;
  size_t stride = 0;
  std::vector<uint8_t> bgr;

  void Resize(int w, int h);
  uint8_t* Row(int y) { return bgr.data() + static_cast<size_t>(y) * stride; }
  const uint8_t* Row(int y) const { return bgr.data() + static_cast<size_t>(y) * stride; }
  Bgr At(int x, int y) const {
    const uint8_t* p = Row(y) + 3 * x;
    return {p[0], p[1], p[2]};
  }
  void Fill(Bgr c);
  // Fills columns [x0, x1) of rows [y0, y1), clipped to the frame.
  void FillRect(int x0, int y0, int x1, int y1, Bgr c);
};

inline constexpr Bgr kTeal{128, 128, 0};  // the main window's background, clTeal

enum class RasterOp { Copy, And, Or };

// Where the photo's top-left corner lands in a box of the given size (truncating division).
Point PhotoOrigin(int box_w, int box_h, int photo_w, int photo_h);

// Copies src unscaled with its top-left corner at (x, y), clipped to the frame.
void BlitPicture(Frame& dst, const Picture& src, int32_t x, int32_t y);

// Stretches the whole of src into dst_rect (right and bottom exclusive; a negative extent
// mirrors and covers right+1 .. left, as the platform does), nearest neighbour, combining with op,
// clipped to the frame. The cost depends on the visible part only.
void StretchPicture(Frame& dst, const Picture& src, const Rect& dst_rect, RasterOp op);

// A handle square around (x, y): pixels x-3..x+2 and y-3..y+2, black ring, white inside.
void DrawHandleSquare(Frame& dst, int32_t x, int32_t y);

// Status panel 2's text for a rectangle: "x:<Left>  y:<Top>".
std::string PositionText(const Rect& r);

// The paint handler's steps: background, photo centred, mask AND, colour OR, UpdateHandles,
// handle squares when selected. Returns the status text for panel 2.
std::string ComposeWorkspace(Workspace& ws, Frame& frame, Bgr background = kTeal);

}  // namespace coiffure
