// The operator's marks on one photo as the steps that made them, for undo and redo: each box
// drawn and each stroke painted is one step.
#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "cutout/marks.h"

namespace coiffure {

class SketchHistory {
 public:
  SketchHistory() = default;
  // Starts from marks kept from before: their box and each stroke are steps to undo like any.
  explicit SketchHistory(const cutout::Sketch& kept);

  // A new step drops the steps undone before it.
  void AddBox(cutout::Box box);
  void AddStroke(cutout::Stroke stroke);
  bool Undo();
  bool Redo();
  bool CanUndo() const { return applied_ > 0; }
  bool CanRedo() const { return applied_ < steps_.size(); }

  // The box drawn last and every stroke, as the steps done so far give them.
  const cutout::Sketch& Sketch() const { return sketch_; }
  bool HasHairStroke() const;
  // Changes with every change of the sketch: work begun for an older revision is stale.
  uint64_t Revision() const { return revision_; }

 private:
  void Add(std::variant<cutout::Box, cutout::Stroke> step);
  void Rebuild();

  std::vector<std::variant<cutout::Box, cutout::Stroke>> steps_;
  size_t applied_ = 0;
  cutout::Sketch sketch_;
  uint64_t revision_ = 0;
};

}  // namespace coiffure
