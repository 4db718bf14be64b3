// The main window's own small controls: the paint box, the splitter, the raised panel and the
// band bar. Each only translates messages and forwards them to its owner.
#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "workspace/geometry.h"

namespace coiffure {

// What the paint box reports to its form.
struct PaintBoxEvents {
  std::function<void(HDC, int, int)> paint;  // dc, width, height
  std::function<void(Point)> mouse_down;
  std::function<void(Point)> mouse_move;
  std::function<void(Point)> mouse_up;
  std::function<void()> click;  // left press and release inside, raised before mouse_up
};

// A graphic area with a window of its own, so that it can hold the pointer during a press.
class PaintBox : public BaseWindow<PaintBox> {
 public:
  PaintBox(HWND parent, int x, int y, int w, int h, PaintBoxEvents events);
  void SetCursorShape(HCURSOR cursor);
  HCURSOR CursorShape() const { return cursor_; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void ButtonDown(UINT msg, LPARAM lp);
  void ButtonUp(UINT msg, LPARAM lp);
  void PointerMove(WPARAM held, LPARAM lp);

  PaintBoxEvents events_;
  HCURSOR cursor_;
  WPARAM pressed_ = 0;  // MK_ flags of the buttons pressed on the paint box and still held
};

// A vertical splitter that resizes the control on its left, shown as a moving pattern line.
class Splitter : public BaseWindow<Splitter> {
 public:
  // on_release gets the proposed new width of the control on the left.
  Splitter(HWND parent, int x, int y, int w, int h, std::function<int(int)> limit,
           std::function<void(int)> on_release);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Moves the drag as the mouse would: press at the splitter, release at client X of the parent.
  void DragTo(int parent_x);

 private:
  void DrawLine(int parent_x);
  int ParentXFrom(LPARAM lp) const;

  std::function<int(int)> limit_;
  std::function<void(int)> on_release_;
  bool dragging_ = false;
  int grab_offset_ = 0;
  int line_x_ = -1;
};

// A container with a raised bevel; passes its children's notifications up to the form.
class RaisedPanel : public BaseWindow<RaisedPanel> {
 public:
  RaisedPanel(HWND parent, int x, int y, int w, int h);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
};

// Gives a toolbar the raised outer edge along its top, outside its client area, as the form's
// toolbars have it.
class RaisedTopEdge : public SubclassedControl<RaisedTopEdge> {
 public:
  void Attach(HWND toolbar);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
};

// The band bar: a tiled picture behind two toolbar bands, each with a gripper.
class BandBar : public BaseWindow<BandBar> {
 public:
  BandBar(HWND parent, int x, int y, int w, int h, int background_id);
  void SetBandStarts(int first, int second) {
    band_x_[0] = first;
    band_x_[1] = second;
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void PaintBackground(HDC dc, const RECT& area);
  Bitmap background_;
  int band_x_[2] = {0, 239};
};

}  // namespace coiffure
