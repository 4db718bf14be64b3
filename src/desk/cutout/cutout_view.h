// The cut-out window's picture: where the photo lies in it, its points on the photo's pixels,
// and what it shows over the photo (the marks, the matte, the hair alone on a chequer).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "cutout/marks.h"
#include "pictures/rgba_image.h"
#include "workspace/composite.h"

namespace coiffure {

struct ViewRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool Contains(int x, int y) const {
    return x >= left && y >= top && x < left + width && y < top + height;
  }
  friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

// The photo as large as the area allows, proportions kept, centred in it.
ViewRect FitPhoto(int photo_width, int photo_height, int area_width, int area_height);

// From the window's picture to the photo and back, for a photo shown in this rect.
class ViewMap {
 public:
  ViewMap() = default;
  ViewMap(ViewRect rect, int photo_width, int photo_height);
  // The centre of the picture's pixel (x, y), on the photo.
  cutout::Point ToPhoto(int x, int y) const;
  // Picture pixels a photo pixel spans.
  float Scale() const { return scale_; }
  const ViewRect& Rect() const { return rect_; }

 private:
  ViewRect rect_;
  float scale_ = 1;
};

// The sketch as it lies on the shown photo: in its pixels, (0, 0) at the rect's corner.
cutout::Sketch SketchOnView(const cutout::Sketch& sketch, const ViewMap& map);

// A plane of bytes brought to another size: each pixel the mean of the pixels whose centres
// fall in it (the nearest one when none does, as in an enlargement).
std::vector<uint8_t> ResizePlane(std::span<const uint8_t> plane, int width, int height,
                                 int to_width, int to_height);

// What the window's picture is made of, each at the shown photo's size.
struct ViewLayers {
  const RgbaImage* photo = nullptr;
  const cutout::Marks* marks = nullptr;
  const std::vector<uint8_t>* matte = nullptr;  // none until the first is worked out
};

// The marks over the photo: what is not hair dimmed (before the first matte, only what lies
// outside the box), hair strokes reddened and not-hair strokes blued, the hair's outline drawn.
// The photo goes at the rect's corner of a frame filled with the background.
void ComposeMarksLook(const ViewLayers& layers, ViewRect rect, Frame& frame);
// The hair alone: the photo over a chequer as the matte lets it show (all chequer before one).
void ComposeChequerLook(const ViewLayers& layers, ViewRect rect, Frame& frame);
// The outline of a box being dragged, dark and light so it shows on any photo.
void DrawBoxOutline(Frame& frame, ViewRect box);

inline constexpr Bgr kViewBackground{96, 96, 96};
inline constexpr Bgr kOutlineColour{0, 230, 255};  // yellow: seen on dark hair and light skin

}  // namespace coiffure
