#include "workspace/editing.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

namespace coiffure {
namespace {

using enum EditModeValue;

struct FakePort : EditorPort {
  int repaints = 0;
  std::vector<bool> gallery;
  std::vector<CursorShape> cursors;
  void Repaint() override { ++repaints; }
  void SetGalleryEnabled(bool enabled) override { gallery.push_back(enabled); }
  void SetCursor(CursorShape shape) override { cursors.push_back(shape); }
};

constexpr Modifiers kPlain{};
constexpr Modifiers kCtrl{.ctrl = true};

class Editing : public ::testing::Test {
 protected:
  void SetUp() override { ws.Reset(); }

  void Select() {
    ws.HairSelected = true;
    port = FakePort{};
  }
  void Click(Point press, Point release) {
    PressAt(ws, port, press);
    ReleaseAt(ws, port, release);
  }
  // Points the pointer at a handle box so ActiveHandle names it, as the user does before a drag.
  void Hover(Point p) { TrackPointer(ws, port, p); }
  void Key(uint16_t key, Modifiers mods = kPlain, int times = 1) {
    for (int i = 0; i < times; ++i) EditByKey(ws, port, key, mods);
  }

  Workspace ws;
  FakePort port;
};

int HitOn(Rect r, Point p) {
  Workspace ws;
  ws.SetHairRect(r);
  ws.UpdateHandles();
  return HitHandle(ws, p);
}

// --- Hit boxes -------------------------------------------------------------------------------

TEST(HitBoxes, EachBoxHasItsOwnInclusiveExtentOnTheSquare) {
  const Rect sq{0, 0, 200, 200};
  struct Case {
    Point p;
    int want;
  };
  // clang-format off
  const Case cases[] = {
      // 1 at (0, 0): 9 out, 1 in.
      {{-9, -9}, 1}, {{1, 1}, 1}, {{-10, 0}, 0}, {{2, 1}, 0}, {{0, 2}, 0},
      // 2 at (0, 100): 9 out, 1 in, 5 up and down.
      {{-9, 95}, 2}, {{1, 105}, 2}, {{-9, 94}, 0}, {{2, 100}, 0}, {{0, 106}, 0},
      // 3 at (0, 200): reaches 9 into the rectangle horizontally, only 1 vertically.
      {{9, 199}, 3}, {{-1, 209}, 3}, {{9, 198}, 0}, {{10, 199}, 0}, {{-2, 209}, 0},
      // 4 at (100, 200).
      {{95, 199}, 4}, {{105, 209}, 4}, {{94, 200}, 0}, {{100, 198}, 0}, {{100, 210}, 0},
      // 5 at (200, 200).
      {{199, 199}, 5}, {{209, 209}, 5}, {{198, 200}, 0}, {{210, 200}, 0},
      // 6 at (200, 100).
      {{199, 95}, 6}, {{209, 105}, 6}, {{209, 106}, 0}, {{198, 100}, 0},
      // 7 at (200, 0): reaches 9 into the rectangle vertically, only 1 horizontally.
      {{199, 9}, 7}, {{209, -1}, 7}, {{198, 9}, 0}, {{209, -2}, 0}, {{200, 10}, 0},
      // 8 at (100, 0).
      {{95, -9}, 8}, {{105, 1}, 8}, {{100, -10}, 0}, {{100, 2}, 0}, {{106, 0}, 0},
      // Middle of the rectangle.
      {{100, 100}, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(HitOn(sq, c.p), c.want) << "at (" << c.p.x << ", " << c.p.y << ")";
  }
}

TEST(HitBoxes, LowerNumberWinsWhereBoxesOverlap) {
  const Rect tiny{0, 0, 4, 4};           // every box overlaps several others
  const Rect narrow{0, 0, 12, 4};        // 4 meets 5 beyond the reach of 3
  const Rect tall{0, 0, 12, 40};         // 7 meets 8 away from 6
  EXPECT_EQ(HitOn(tiny, {0, 0}), 1);     // also in 2 and 8
  EXPECT_EQ(HitOn(tiny, {1, 3}), 2);     // also in 3
  EXPECT_EQ(HitOn(tiny, {3, 3}), 3);     // also in 4 and 5
  EXPECT_EQ(HitOn(narrow, {11, 4}), 4);  // also in 5
  EXPECT_EQ(HitOn(narrow, {15, 4}), 5);  // also in 6 and 7
  EXPECT_EQ(HitOn(tiny, {3, 1}), 6);     // also in 7 and 8: 1's box stops at x 1
  EXPECT_EQ(HitOn(tall, {11, 0}), 7);    // also in 8
}

TEST(HitBoxes, ExtremeCoordinatesAreTestedExactly) {
  const int32_t m = INT32_MAX;
  EXPECT_EQ(HitOn({m - 1000, m - 1000, m, m}, {m, m}), 5);
  EXPECT_EQ(HitOn({INT32_MIN, INT32_MIN, 0, 0}, {INT32_MIN, INT32_MIN}), 1);
}

// --- Pointer moves ---------------------------------------------------------------------------

TEST_F(Editing, MoveOverHandlesSetsShapeAndNumber) {
  Select();
  const Point points[8] = {{0, 0},     {0, 100},   {0, 200}, {100, 200},
                           {200, 200}, {200, 100}, {200, 0}, {100, 0}};
  const CursorShape want[8] = {CursorShape::SizeNWSE, CursorShape::SizeWE,   CursorShape::SizeNESW,
                               CursorShape::SizeNS,   CursorShape::SizeNWSE, CursorShape::SizeWE,
                               CursorShape::SizeNESW, CursorShape::SizeNS};
  for (int k = 0; k < 8; ++k) {
    Hover(points[k]);
    EXPECT_EQ(ws.ActiveHandle, k + 1);
    ASSERT_EQ(port.cursors.size(), static_cast<size_t>(k + 1));
    EXPECT_EQ(port.cursors.back(), want[k]);
  }
  EXPECT_EQ(port.repaints, 0);
}

TEST_F(Editing, LeavingABoxShowsArrowButRemembersHandle) {
  Select();
  Hover({205, 100});
  Hover({300, 400});
  EXPECT_EQ(port.cursors.back(), CursorShape::Arrow);
  EXPECT_EQ(ws.ActiveHandle, 6);
}

TEST_F(Editing, MoveWhileNotSelectedChangesNothing) {
  ws.ActiveHandle = 3;
  Hover({0, 0});
  Hover({500, 500});
  EXPECT_TRUE(port.cursors.empty());
  EXPECT_EQ(ws.ActiveHandle, 3);
}

TEST_F(Editing, MoveRecomputesHandlesAfterTheRectangleChanged) {
  Select();
  ws.SetHairRect({1000, 1000, 1200, 1200});  // handles 1..8 still hold old points
  Hover({1205, 1100});
  EXPECT_EQ(ws.ActiveHandle, 6);
}

// --- Press -----------------------------------------------------------------------------------

TEST_F(Editing, PressStrictlyInsideArmsMoveEvenOnAHandleBox) {
  Select();
  Hover({1, 1});
  ASSERT_EQ(ws.ActiveHandle, 1);
  PressAt(ws, port, {1, 1});
  EXPECT_TRUE(ws.MoveDrag);
  EXPECT_FALSE(ws.ResizeDrag);
  EXPECT_EQ(ws.DragOrigin, (Point{1, 1}));
  EXPECT_EQ(port.gallery, std::vector<bool>{false});
  EXPECT_EQ(port.repaints, 1);
}

TEST_F(Editing, PressOnTheEdgeIsNotInside) {
  Select();
  Hover({0, 100});
  PressAt(ws, port, {0, 100});
  EXPECT_FALSE(ws.MoveDrag);
  EXPECT_TRUE(ws.ResizeDrag);
  EXPECT_TRUE(ws.HairSelected);
  // Once the release has cleared the handle, a press on the edge deselects.
  ReleaseAt(ws, port, {0, 100});
  EXPECT_EQ(ws.ActiveHandle, 0);
  PressAt(ws, port, {200, 50});
  EXPECT_FALSE(ws.HairSelected);
}

TEST_F(Editing, PressAwayDeselectsAndKeepsResizeState) {
  ws.ResizeDrag = true;
  ws.MoveDrag = true;
  ws.DragOrigin = {7, 8};
  Select();
  PressAt(ws, port, {300, 300});
  EXPECT_FALSE(ws.HairSelected);
  EXPECT_FALSE(ws.MoveDrag);
  EXPECT_TRUE(ws.ResizeDrag);
  EXPECT_EQ(ws.DragOrigin, (Point{7, 8}));
  EXPECT_EQ(port.gallery, std::vector<bool>{true});
  EXPECT_EQ(port.repaints, 1);
}

TEST_F(Editing, MirroredRectangleIsGrabbedAndMovedBetweenItsOrderedEdges) {
  struct Case {
    Rect r;
    Point press;
    bool grabbed;
  };
  const Case cases[] = {
      {{200, 200, 0, 0}, {100, 100}, true},   // both axes mirrored
      {{200, 0, 0, 200}, {199, 1}, true},     // width only
      {{0, 200, 200, 0}, {1, 199}, true},     // height only
      {{200, 200, 0, 0}, {200, 100}, false},  // an edge still does not count
      {{200, 200, 0, 0}, {100, 0}, false},
      {{5, 5, 5, 50}, {5, 20}, false},  // no width: nothing is inside
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.r.left << "," << c.r.top << "," << c.r.right << "," << c.r.bottom);
    ws.Reset();
    ws.SetHairRect(c.r);
    Click(c.press, {c.press.x + 7, c.press.y - 3});
    EXPECT_EQ(ws.HairSelected, c.grabbed);
    const Rect want =
        c.grabbed ? Rect{c.r.left + 7, c.r.top - 3, c.r.right + 7, c.r.bottom - 3} : c.r;
    EXPECT_EQ(ws.HairRect(), want);  // still mirrored, moved by release minus press
  }
}

// --- Release: move ---------------------------------------------------------------------------

TEST_F(Editing, DragMovesByReleaseMinusPress) {
  Select();
  Click({100, 100}, {130, 90});
  EXPECT_EQ(ws.HairRect(), (Rect{30, -10, 230, 190}));
  EXPECT_EQ(port.repaints, 2);  // selection, then the move
  EXPECT_TRUE(ws.MoveDrag);     // not cleared by the release
  EXPECT_EQ(ws.ActiveHandle, 0);
}

TEST_F(Editing, ClickInsideUnselectedSelectsWithoutMoving) {
  Click({50, 60}, {50, 60});
  EXPECT_TRUE(ws.HairSelected);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
  EXPECT_EQ(port.gallery, std::vector<bool>{false});
}

TEST_F(Editing, ReleaseFarOutsideMovesTheFullDistance) {
  Select();
  Click({100, 100}, {-5000, 9000});
  EXPECT_EQ(ws.HairRect(), (Rect{-5100, 8900, -4900, 9100}));
}

TEST_F(Editing, ReleaseAfterEnterDoesNotMoveButClearsHandle) {
  Select();
  PressAt(ws, port, {100, 100});
  ws.ActiveHandle = 4;
  Key(kVkReturn);
  ReleaseAt(ws, port, {150, 150});
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
  EXPECT_EQ(ws.ActiveHandle, 0);
}

TEST_F(Editing, MoveSaturatesAtTheCoordinateLimits) {
  ws.SetHairRect({INT32_MIN + 1, INT32_MIN + 1, INT32_MAX - 1, INT32_MAX - 1});
  Select();
  Click({0, 0}, {INT32_MAX, INT32_MIN});
  EXPECT_EQ(ws.HairRect(), (Rect{0, INT32_MIN, INT32_MAX, -2}));
}

// --- Release: resize -------------------------------------------------------------------------

TEST_F(Editing, CornerResizeMovesBothEdges) {
  Select();
  Hover({205, 205});
  Click({205, 205}, {305, 255});
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 300, 250}));
  EXPECT_EQ(ws.ActiveHandle, 0);
  EXPECT_EQ(port.repaints, 2);
}

TEST_F(Editing, RefusedResizeChangesNothingAndKeepsHandle) {
  Select();
  Hover({-4, 100});
  Click({-4, 100}, {150, 100});  // 150 + 50 is not less than 200
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
  EXPECT_EQ(ws.ActiveHandle, 2);
  EXPECT_EQ(port.repaints, 1);  // only the selection's

  // The remembered handle re-arms from a press anywhere outside.
  PressAt(ws, port, {-900, 900});
  EXPECT_TRUE(ws.ResizeDrag);
  EXPECT_TRUE(ws.HairSelected);
  ReleaseAt(ws, port, {-751, 900});
  EXPECT_EQ(ws.HairRect(), (Rect{149, 0, 200, 200}));
  EXPECT_EQ(ws.ActiveHandle, 0);
}

TEST_F(Editing, LeftEdgeThresholdJudgesTheReleasePoint) {
  Select();
  Hover({-4, 100});
  Click({-4, 100}, {150, 100});
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
  Click({-4, 100}, {149, 100});
  EXPECT_EQ(ws.HairRect(), (Rect{153, 0, 200, 200}));  // 47 wide
}

TEST_F(Editing, ResizeFromTheBoxLeavesAtLeast42Pixels) {
  Select();
  Hover({-9, -9});
  Click({-9, -9}, {149, 149});
  EXPECT_EQ(ws.HairRect(), (Rect{158, 158, 200, 200}));

  ws.SetHairRect({0, 0, 200, 200});
  Hover({209, 105});
  Click({209, 105}, {51, 105});
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 42, 200}));
}

TEST_F(Editing, BottomEdgeThreshold) {
  Select();
  Hover({100, 205});
  Click({100, 205}, {100, 50});
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
  Click({100, 205}, {100, 51});
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 46}));
}

TEST_F(Editing, RememberedHandleCanMirrorTheRectangle) {
  Select();
  Hover({205, 100});
  Hover({300, 400});  // off every box, no press
  PressAt(ws, port, {300, 400});
  EXPECT_TRUE(ws.HairSelected);
  EXPECT_TRUE(ws.ResizeDrag);
  ReleaseAt(ws, port, {60, 400});  // 60 > 0 + 50: accepted
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, -40, 200}));
}

TEST_F(Editing, ClickOnRememberedHandleThenSecondClickDeselects) {
  Select();
  Hover({205, 100});
  Hover({300, 400});
  Click({300, 400}, {300, 400});
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
  EXPECT_TRUE(ws.HairSelected);
  EXPECT_EQ(ws.ActiveHandle, 0);
  Click({300, 400}, {300, 400});
  EXPECT_FALSE(ws.HairSelected);
  EXPECT_EQ(port.gallery, (std::vector<bool>{false, true}));
}

TEST_F(Editing, HandleCrossedLastDuringTheDragDecides) {
  Select();
  Hover({205, 205});
  PressAt(ws, port, {205, 205});
  Hover({205, 100});  // handle 6's box, still at the rectangle's old place
  ReleaseAt(ws, port, {305, 120});
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 300, 200}));
}

TEST(ResizeRefusal, EachHandleTestsOnlyItsOwnEdgesAgainstTheOldRectangle) {
  const Rect r{10, 20, 300, 400};  // not square, so swapped axes show
  struct Case {
    int handle;
    Point release;
    bool refused;
  };
  // clang-format off
  const Case cases[] = {
      {1, {249, 349}, false}, {1, {250, 0}, true}, {1, {0, 350}, true},
      {2, {249, 9999}, false}, {2, {250, 0}, true},
      {3, {249, 71}, false}, {3, {250, 71}, true}, {3, {249, 70}, true},
      {4, {-999, 71}, false}, {4, {0, 70}, true},
      {5, {61, 71}, false}, {5, {60, 71}, true}, {5, {61, 70}, true},
      {6, {61, -999}, false}, {6, {60, 999}, true},
      {7, {61, 349}, false}, {7, {60, 349}, true}, {7, {61, 350}, true},
      {8, {9999, 349}, false}, {8, {0, 350}, true},
      {0, {100, 100}, true},  // no handle, nothing to resize
      {1, {INT32_MAX, 0}, true}, {5, {INT32_MAX, INT32_MAX}, false},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(IsResizeRefused(r, c.handle, c.release), c.refused)
        << "handle " << c.handle << " at (" << c.release.x << ", " << c.release.y << ")";
  }
}

// --- Keyboard --------------------------------------------------------------------------------

TEST_F(Editing, ArrowsMoveByOneOrTenWithCtrlAlone) {
  Select();
  Key(kVkLeft, kCtrl);
  EXPECT_EQ(ws.HairRect(), (Rect{-10, 0, 190, 200}));
  Key(kVkLeft);
  EXPECT_EQ(ws.HairRect(), (Rect{-11, 0, 189, 200}));
  Key(kVkRight, {.shift = true, .ctrl = true});
  Key(kVkRight, {.ctrl = true, .alt = true});
  Key(kVkDown, {.shift = true});
  Key(kVkUp, {.alt = true});
  Key(kVkUp, {.shift = true, .ctrl = true, .alt = true});
  EXPECT_EQ(ws.HairRect(), (Rect{-9, -1, 191, 199}));
  EXPECT_EQ(port.repaints, 7);
}

TEST_F(Editing, EnlargeMovesTheEdgeTheArrowPointsTo) {
  Select();
  SetEditMode(ws, port, emEnlarge);
  Key(kVkDown, kCtrl);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 210}));
  Key(kVkUp);
  Key(kVkLeft);
  Key(kVkRight, kCtrl);
  EXPECT_EQ(ws.HairRect(), (Rect{-1, -1, 210, 210}));
}

TEST_F(Editing, ShrinkIsUndoneWholeBelowFifty) {
  ws.SetHairRect({0, 0, 55, 100});
  Select();
  SetEditMode(ws, port, emShrink);
  port.repaints = 0;
  Key(kVkLeft, kCtrl);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 55, 100}));
  Key(kVkLeft, kPlain, 5);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 50, 100}));
  Key(kVkLeft);
  Key(kVkRight);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 50, 100}));
  EXPECT_EQ(port.repaints, 8);  // refused steps repaint too

  ws.SetHairRect({0, 0, 200, 60});
  Key(kVkDown, kCtrl);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 10, 200, 60}));
  Key(kVkDown);
  Key(kVkUp);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 10, 200, 60}));
}

TEST_F(Editing, ShrinkMovesTheOppositeEdgeInward) {
  Select();
  SetEditMode(ws, port, emShrink);
  Key(kVkRight);
  Key(kVkUp, kCtrl);
  EXPECT_EQ(ws.HairRect(), (Rect{1, 0, 200, 190}));
}

TEST_F(Editing, ShrinkBelowFiftyAlreadyBlocksOnlyThatAxis) {
  ws.SetHairRect({158, 0, 200, 200});  // 42 wide, as a mouse resize can leave it
  Select();
  SetEditMode(ws, port, emShrink);
  Key(kVkLeft);
  Key(kVkRight);
  Key(kVkDown, kCtrl);
  EXPECT_EQ(ws.HairRect(), (Rect{158, 10, 200, 200}));
}

TEST_F(Editing, StepsStopAtTheCoordinateLimits) {
  // Mirrored rectangles whose shrinking edge would pass the limit: it stops there, the extent
  // stays negative, and the step is undone rather than wrapping into a huge width.
  ws.SetHairRect({0, 0, INT32_MIN + 5, 100});
  Select();
  SetEditMode(ws, port, emShrink);
  Key(kVkLeft, kCtrl);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, INT32_MIN + 5, 100}));
  ws.SetHairRect({0, INT32_MAX - 5, 100, 0});
  Key(kVkDown, kCtrl);
  EXPECT_EQ(ws.HairRect(), (Rect{0, INT32_MAX - 5, 100, 0}));
  ws.SetHairRect({INT32_MAX - 100, 0, INT32_MAX - 5, 100});
  SetEditMode(ws, port, emMove);
  Key(kVkRight, kCtrl);
  EXPECT_EQ(ws.HairRect(), (Rect{INT32_MAX - 90, 0, INT32_MAX, 100}));
}

TEST_F(Editing, ArrowsDoNothingWhileNotSelected) {
  for (EditModeValue mode : {emMove, emEnlarge, emShrink}) {
    ws.EditMode = mode;
    for (uint16_t key : {kVkLeft, kVkUp, kVkRight, kVkDown}) Key(key, kCtrl);
  }
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
  EXPECT_EQ(port.repaints, 0);
}

TEST_F(Editing, OtherKeysAreIgnored) {
  Select();
  for (uint16_t key : {0, 9, 12, 14, 27, 33, 36, 41, 65, 37 + 256}) Key(key, kCtrl);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
  EXPECT_TRUE(ws.HairSelected);
  EXPECT_EQ(port.repaints, 0);
}

TEST_F(Editing, EnterDeselectsButLeavesGalleryAndDragStateAlone) {
  Select();
  ws.MoveDrag = true;
  ws.ActiveHandle = 5;
  ws.EditMode = emShrink;
  Key(kVkReturn, kCtrl);
  EXPECT_FALSE(ws.HairSelected);
  EXPECT_EQ(port.repaints, 1);
  EXPECT_TRUE(port.gallery.empty());
  EXPECT_TRUE(ws.MoveDrag);
  EXPECT_EQ(ws.ActiveHandle, 5);
  EXPECT_EQ(ws.EditMode, emShrink);

  Key(kVkReturn);  // nothing selected: still a repaint, nothing else
  EXPECT_EQ(port.repaints, 2);
  Key(kVkLeft);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
}

TEST_F(Editing, PressesAfterEnter) {
  Select();
  Hover({0, 100});
  Key(kVkReturn);
  Hover({200, 200});  // not selected: shape and handle untouched
  EXPECT_EQ(port.cursors.size(), 1u);
  EXPECT_EQ(ws.ActiveHandle, 2);

  // Still naming handle 2: a press outside selects again and arms that resize.
  PressAt(ws, port, {500, 500});
  EXPECT_TRUE(ws.HairSelected);
  EXPECT_TRUE(ws.ResizeDrag);
  EXPECT_EQ(port.gallery, std::vector<bool>{false});

  Key(kVkReturn);
  PressAt(ws, port, {100, 100});  // strictly inside
  EXPECT_TRUE(ws.HairSelected);
  EXPECT_TRUE(ws.MoveDrag);
  ReleaseAt(ws, port, {100, 100});  // clears the handle

  Key(kVkReturn);
  PressAt(ws, port, {500, 500});
  EXPECT_FALSE(ws.HairSelected);
  EXPECT_EQ(port.gallery, (std::vector<bool>{false, false, true}));
}

TEST_F(Editing, ModeCommandsKeepSelectionAndRectangle) {
  Select();
  SetEditMode(ws, port, emEnlarge);
  EXPECT_EQ(ws.EditMode, emEnlarge);
  EXPECT_TRUE(ws.HairSelected);
  EXPECT_EQ(port.repaints, 1);

  ws.HairSelected = false;
  SetEditMode(ws, port, emShrink);
  EXPECT_FALSE(ws.HairSelected);
  EXPECT_TRUE(port.gallery.empty());

  SetEditMode(ws, port, static_cast<EditModeValue>(0));
  SetEditMode(ws, port, static_cast<EditModeValue>(4));
  EXPECT_EQ(ws.EditMode, emShrink);
  EXPECT_EQ(port.repaints, 2);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
}

}  // namespace
}  // namespace coiffure
