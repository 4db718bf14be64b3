// The operator's marks on a photo: a box around the hair and strokes on hair and on what is not
// hair, kept as one label a pixel at the photo's size.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "pictures/rgba_image.h"

namespace coiffure::cutout {

enum class Mark : uint8_t { kUndecided = 0, kHair = 1, kNotHair = 2, kOutside = 3 };

struct Marks {
  int width = 0, height = 0;
  std::vector<Mark> labels;  // top row first

  Mark At(int x, int y) const { return labels[static_cast<size_t>(y) * width + x]; }
  // All undecided: no box yet means the whole photo may hold hair.
  static Marks Create(int width, int height);
};

struct Point {
  float x = 0, y = 0;  // photo pixels; the centre of pixel (0, 0) is (0.5, 0.5)
};

struct Box {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // pixels x0..x1-1, y0..y1-1; clipped to the photo
};

// Everything outside the box becomes kOutside; inside it, what was outside becomes undecided
// and the strokes stay. Dragging a new box replaces the old one.
void SetBox(Marks& marks, Box box);

// A round brush of this radius (photo pixels) dragged along the points; a single point is a
// dab. It paints only inside the box, so a stroke never contradicts it. A stroke with a point
// not finite or a million pixels off paints nothing.
void PaintStroke(Marks& marks, std::span<const Point> points, float radius, Mark kind);

// What the operator did, in order: the window keeps this for undo and redo (drop or restore the
// last stroke) and turns it into marks for each update.
struct Stroke {
  std::vector<Point> points;
  float radius = 1;
  Mark kind = Mark::kHair;
};
struct Sketch {
  std::optional<Box> box;  // none: the whole photo
  std::vector<Stroke> strokes;
};
Marks MarksOf(const Sketch& sketch, int width, int height);

// How a marks picture's size relates to the photo's: the marks picture may have been drawn on
// the photo as stored (then it needs the photo's EXIF turn) or on the photo upright.
enum class MarksFit { kUpright, kStored, kOtherSize };
MarksFit FitMarks(int marks_width, int marks_height, int stored_width, int stored_height,
                  int upright_width, int upright_height);

// The Chinese reasons the marks reader gives.
inline constexpr const char* kMsgMarksOtherSize = "标记图的大小与照片不同";
inline constexpr const char* kMsgMarksNoHair = "标记图上没有头发笔画（纯红色）";

struct MarksReading {
  std::optional<Marks> marks;
  std::string error;  // empty when marks holds a value
};

// A marks picture at the photo's upright size (one that FitMarks finds kStored is first turned
// with the photo's EXIF orientation, as the photo was): pure red is hair, pure blue not hair, pure
// black outside the box, any other colour undecided; alpha is ignored. Refuses a picture of another
// size or without a single hair pixel.
MarksReading ReadMarks(const RgbaImage& picture, int photo_width, int photo_height);

}  // namespace coiffure::cutout
