// The cut-out window's model: what a sequence of drags, keys and undos leaves in the sketch, the
// brush's sizes, and the picture's pixels on the photo's.
#include "desk/cutout/cutout_editor.h"

#include <gtest/gtest.h>

namespace coiffure {
namespace {

using Button = CutoutEditor::Button;
using Tool = CutoutEditor::Tool;
using cutout::Mark;

// A 400 x 300 photo shown at half its size, 10 pixels in from the picture's corner.
constexpr ViewRect kShown{10, 5, 200, 150};

struct Drag {
  Button button;
  int x0, y0, x1, y1;
};

void DragOn(CutoutEditor& e, const Drag& d) {
  e.Press(d.button, d.x0, d.y0);
  e.Move((d.x0 + d.x1) / 2, (d.y0 + d.y1) / 2);
  e.Release(d.x1, d.y1);
}

TEST(CutoutEditor, DragsKeysAndUndosLeaveTheSketchTheyShould) {
  enum Act { kDrag, kUndo, kRedo, kNewBox };
  struct Step {
    Act act;
    Drag drag;
    // What follows: the box's left edge on the photo (-1: none), the strokes' kinds, the tool.
    int box_x0;
    std::vector<Mark> strokes;
    Tool tool;
  };
  const Mark H = Mark::kHair, N = Mark::kNotHair;
  const Step steps[] = {
      {kDrag, {Button::kLeft, 20, 20, 22, 60}, -1, {}, Tool::kBox},       // too narrow: a slip
      {kDrag, {Button::kRight, 30, 30, 60, 60}, -1, {N}, Tool::kBox},     // right paints any time
      {kDrag, {Button::kLeft, 20, 15, 110, 125}, 21, {N}, Tool::kBrush},  // the box
      {kDrag, {Button::kLeft, 50, 50, 70, 50}, 21, {N, H}, Tool::kBrush},
      {kDrag, {Button::kRight, 90, 90, 95, 99}, 21, {N, H, N}, Tool::kBrush},
      {kUndo, {}, 21, {N, H}, Tool::kBrush},
      {kUndo, {}, 21, {N}, Tool::kBrush},
      {kRedo, {}, 21, {N, H}, Tool::kBrush},
      {kDrag, {Button::kLeft, 60, 60, 61, 61}, 21, {N, H, H}, Tool::kBrush},  // redo dropped
      {kRedo, {}, 21, {N, H, H}, Tool::kBrush},
      {kNewBox, {}, 21, {N, H, H}, Tool::kBox},
      {kDrag, {Button::kLeft, 150, 100, 40, 10}, 61, {N, H, H}, Tool::kBrush},  // any direction
      {kUndo, {}, 21, {N, H, H}, Tool::kBrush},
      {kUndo, {}, 21, {N, H}, Tool::kBrush},
      {kUndo, {}, 21, {N}, Tool::kBrush},
      {kUndo, {}, -1, {N}, Tool::kBox},  // without its box the next drag draws one
  };
  CutoutEditor e(400, 300);
  e.SetView(kShown);
  int row = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE("step " + std::to_string(row++));
    if (s.act == kDrag) DragOn(e, s.drag);
    if (s.act == kUndo) {
      EXPECT_TRUE(e.Undo());
    }
    if (s.act == kRedo) e.Redo();
    if (s.act == kNewBox) e.StartNewBox();
    const cutout::Sketch& sk = e.History().Sketch();
    EXPECT_EQ(sk.box ? sk.box->x0 : -1, s.box_x0);
    std::vector<Mark> kinds;
    for (const cutout::Stroke& st : sk.strokes) kinds.push_back(st.kind);
    EXPECT_EQ(kinds, s.strokes);
    EXPECT_EQ(e.CurrentTool(), s.tool);
    EXPECT_FALSE(e.Dragging());
  }
}

TEST(CutoutEditor, ABoxCoversThePhotoPixelsDraggedOverAndAStrokeTheBrushOnThePhoto) {
  CutoutEditor e(400, 300);
  e.SetView(kShown);
  e.Press(Button::kLeft, 20, 15);
  e.Move(300, 400);  // beyond the photo: the box stops at its edge
  EXPECT_EQ(e.DraggedBox(), (ViewRect{20, 15, 281, 386}));
  e.Release(300, 400);
  const cutout::Box box = *e.History().Sketch().box;
  EXPECT_EQ((std::vector<int>{box.x0, box.y0, box.x1, box.y1}),
            (std::vector<int>{21, 21, 400, 300}));
  e.ResizeBrush(1);  // 12 -> 15 window pixels: 30 on a photo shown at half size
  e.Press(Button::kLeft, 10, 5);
  ASSERT_NE(e.StrokeUnderWay(), nullptr);
  e.Release(12, 5);
  const cutout::Stroke& st = e.History().Sketch().strokes.at(0);
  EXPECT_FLOAT_EQ(st.radius, 30.f);
  ASSERT_EQ(st.points.size(), 2u);
  EXPECT_FLOAT_EQ(st.points[0].x, 1.f);  // the centre of the photo's first pixels
  EXPECT_FLOAT_EQ(st.points[1].x, 5.f);
  e.Move(500, 5);
  EXPECT_FALSE(e.BrushCircle()) << "no circle off the photo";
  e.Move(50, 50);
  ASSERT_TRUE(e.BrushCircle());
  EXPECT_EQ(e.BrushCircle()->radius, 15);
}

TEST(CutoutEditor, TheBrushGrowsAndShrinksByAQuarterWithinItsLimits) {
  struct Case {
    int steps, radius;
  };
  for (const Case& c :
       std::vector<Case>{{1, 15}, {-1, 10}, {-3, 6}, {2, 19}, {100, 150}, {-100, 2}}) {
    CutoutEditor e(10, 10);
    e.ResizeBrush(c.steps);
    EXPECT_EQ(e.BrushRadius(), c.radius) << c.steps;
  }
}

TEST(CutoutEditor, MarksKeptFromBeforeStartWithTheBrushAndUndoLikeAnyOther) {
  cutout::Sketch kept;
  kept.box = cutout::Box{1, 2, 30, 40};
  kept.strokes.push_back({{{5, 5}}, 2, Mark::kHair});
  CutoutEditor e(50, 50, kept);
  EXPECT_EQ(e.CurrentTool(), Tool::kBrush);
  EXPECT_TRUE(e.History().HasHairStroke());
  const uint64_t before = e.History().Revision();
  EXPECT_TRUE(e.Undo());
  EXPECT_FALSE(e.History().HasHairStroke());
  EXPECT_NE(e.History().Revision(), before);
  EXPECT_TRUE(e.Undo());
  EXPECT_FALSE(e.Undo());
  EXPECT_EQ(e.CurrentTool(), Tool::kBox);
}

}  // namespace
}  // namespace coiffure
