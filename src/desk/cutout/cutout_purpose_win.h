// What the cut-out window is opened for. The window keeps the photo, the marks and the matte,
// and shows the marks with the controls every use needs (the looks, a new box, undo and redo,
// the brush); a purpose adds the looks beyond the marks, its own controls at the foot of the
// panel, and what is done with the hair once it is marked. A second use (the customer's own
// hair in another colour) is a second purpose: its swatches and buttons in place of "导入为发型",
// its recoloured photo as a composed look.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cutout/cutout.h"
#include "desk/preview/desk_preview_win.h"

namespace coiffure {

// What the window offers its purpose.
class CutoutHost {
 public:
  virtual ~CutoutHost() = default;
  virtual const std::string& PhotoPath() const = 0;
  // The session once the photo is prepared (else null), and the marks as they are now.
  virtual std::shared_ptr<const cutout::Session> Session() const = 0;
  virtual const cutout::Sketch& Sketch() const = 0;
  // The composed look made again (after a choice of the purpose's own changed it).
  virtual void Recompose() = 0;
  // Whether a matte for the marks as they are now is shown, and the look shown (0: the marks;
  // i: the purpose's look i - 1).
  virtual bool MatteShown() const = 0;
  virtual void ChooseLook(size_t look) = 0;
  // Closes the window.
  virtual void Finish() = 0;
};

class CutoutPurpose {
 public:
  struct Look {
    std::string label;  // the toggle's text, with its access key
    bool composed;      // a frame ComposeAside makes; else the hair alone on a chequer
  };
  virtual ~CutoutPurpose() = default;

  virtual std::string Title() const = 0;
  // The looks after "标记".
  virtual std::vector<Look> Looks() const = 0;
  // The end of the status line once the hair is marked: what to do then.
  virtual std::string DoneHint() const = 0;
  // Its controls, children of the window, made after the common ones so that Tab reaches them
  // next; a main action takes the id IDOK (Enter).
  virtual void Create(HWND window, HFONT font) = 0;
  // The height they take at this width, and their layout in the panel's column from y down.
  virtual int HeightFor(int width) const = 0;
  virtual void Layout(int x, int y, int width) = 0;
  // A click on a control of its own; false when it was none of them.
  virtual bool Command(int id, CutoutHost& host) = 0;
  // Whether a matte for the marks as they are now is shown.
  virtual void MatteReady(bool ready) = 0;
  // Draws an owner-drawn control of its own; false when the item is none of them.
  virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }
  // On the worker, for a matte shown while a composed look is chosen (and on Recompose): the
  // composed look for the shown copy of the photo and its matte, or nothing to show. It must
  // read nothing the window's thread changes.
  virtual std::optional<ComposedPreview> ComposeAside(const RgbaImage& shown,
                                                      const std::vector<uint8_t>& matte) const = 0;
};

}  // namespace coiffure
