#include "desk/cutout/sketch_history.h"

#include <algorithm>

namespace coiffure {

SketchHistory::SketchHistory(const cutout::Sketch& kept) {
  if (kept.box) steps_.emplace_back(*kept.box);
  for (const cutout::Stroke& s : kept.strokes) steps_.emplace_back(s);
  applied_ = steps_.size();
  Rebuild();
}

void SketchHistory::AddBox(cutout::Box box) {
  Add(box);
}

void SketchHistory::AddStroke(cutout::Stroke stroke) {
  Add(std::move(stroke));
}

void SketchHistory::Add(std::variant<cutout::Box, cutout::Stroke> step) {
  steps_.resize(applied_);
  steps_.push_back(std::move(step));
  ++applied_;
  Rebuild();
}

bool SketchHistory::Undo() {
  if (!CanUndo()) return false;
  --applied_;
  Rebuild();
  return true;
}

bool SketchHistory::Redo() {
  if (!CanRedo()) return false;
  ++applied_;
  Rebuild();
  return true;
}

bool SketchHistory::HasHairStroke() const {
  return std::any_of(sketch_.strokes.begin(), sketch_.strokes.end(),
                     [](const cutout::Stroke& s) { return s.kind == cutout::Mark::kHair; });
}

void SketchHistory::Rebuild() {
  sketch_ = {};
  for (size_t i = 0; i < applied_; ++i) {
    if (const auto* box = std::get_if<cutout::Box>(&steps_[i]))
      sketch_.box = *box;
    else
      sketch_.strokes.push_back(std::get<cutout::Stroke>(steps_[i]));
  }
  ++revision_;
}

}  // namespace coiffure
