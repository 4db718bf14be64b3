// The cut-out window's picture: it shows the frame the window composes, the brush circle under
// the pointer and a line of text, and hands the pointer's presses, moves and releases on.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "desk/cutout/cutout_editor.h"
#include "toolkit/window_win.h"

namespace coiffure {

class CutoutCanvas : public BaseWindow<CutoutCanvas> {
 public:
  // Where the pointer's doings go: the positions are the canvas's client pixels.
  class Port {
   public:
    virtual ~Port() = default;
    virtual void Pressed(CutoutEditor::Button button, int x, int y) = 0;
    virtual void Moved(int x, int y) = 0;
    virtual void Released(int x, int y) = 0;
    virtual void Left() = 0;
    // The drag was taken away (another window took the mouse).
    virtual void CaptureLost() = 0;
    virtual void Resized(int width, int height) = 0;
  };

  HWND Create(HWND parent, Port& port, HFONT font);
  // The frame stays the caller's and is drawn at each paint.
  void Show(const Frame* frame);
  void SetCircle(std::optional<CutoutEditor::Circle> circle);
  // Text drawn over the frame in this rectangle (centred), or none.
  void SetText(const std::string& text, RECT where);

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void Paint(HDC dc, const RECT& client);
  void Press(CutoutEditor::Button button, LPARAM lp);

  Port* port_ = nullptr;
  HFONT font_ = nullptr;
  const Frame* frame_ = nullptr;
  std::optional<CutoutEditor::Circle> circle_;
  std::wstring text_;
  RECT text_rect_{};
  bool tracking_ = false, dragging_ = false;
};

}  // namespace coiffure
