// What the operator's pointer and keys do in the cut-out window: the first drag with the left
// button draws the box around the hair, then the left button paints hair and the right button
// paints what is not hair, with a round brush whose size [ and ] (and the wheel) change; each
// box and stroke is a step to undo and redo. Positions are the window picture's pixels.
#pragma once

#include <optional>
#include <string>

#include "desk/cutout/cutout_view.h"
#include "desk/cutout/sketch_history.h"

namespace coiffure {

class CutoutEditor {
 public:
  enum class Tool { kBox, kBrush };
  enum class Button { kLeft, kRight };
  struct Circle {
    int x = 0, y = 0, radius = 0;
  };
  // The brush's radius in the window's pixels, so that it covers as much of the screen on a
  // large photo as on a small one.
  static constexpr int kMinBrush = 2, kMaxBrush = 150, kStartBrush = 12;

  // Marks kept from before start with the brush; without a box the first drag draws one.
  CutoutEditor(int photo_width, int photo_height, const cutout::Sketch& kept = {});

  // Where the photo is shown now: a box being dragged keeps its corner on the photo.
  void SetView(ViewRect rect);
  const ViewMap& Map() const { return map_; }

  void Press(Button button, int x, int y);
  void Move(int x, int y);
  // True when the release ended a box or a stroke: the marks changed.
  bool Release(int x, int y);
  // The pointer left the picture: no brush circle.
  void Leave() { pointer_.reset(); }
  // The drag was taken away (the window lost the mouse): what it drew is dropped.
  void CancelDrag();

  // Each step makes the brush a quarter larger (negative: smaller), within the limits.
  void ResizeBrush(int steps);
  // The next drag with the left button draws a new box.
  void StartNewBox();
  bool Undo();
  bool Redo();

  Tool CurrentTool() const { return tool_; }
  bool Dragging() const { return drag_.has_value(); }
  int BrushRadius() const { return brush_; }
  // While a box is dragged: where it lies in the picture.
  std::optional<ViewRect> DraggedBox() const;
  // While a stroke is painted: the stroke so far, on the photo.
  const cutout::Stroke* StrokeUnderWay() const;
  // Where the brush circle is drawn: under the pointer over the photo, once the brush is the
  // tool (or while it paints).
  std::optional<Circle> BrushCircle() const;
  const SketchHistory& History() const { return history_; }

  // What the operator should do next, in Chinese; done_hint ends it once the hair is marked.
  std::string NextStep(const std::string& done_hint) const;

 private:
  struct Drag {
    Button button;
    bool box = false;
    cutout::Point from;  // on the photo
    int from_x = 0, from_y = 0, to_x = 0, to_y = 0;
    cutout::Stroke stroke;
  };
  cutout::Box BoxOf(const Drag& drag) const;

  int photo_width_, photo_height_;
  ViewMap map_;
  SketchHistory history_;
  Tool tool_;
  int brush_ = kStartBrush;
  std::optional<Drag> drag_;
  struct Pointer {
    int x, y;
  };
  std::optional<Pointer> pointer_;
};

}  // namespace coiffure
