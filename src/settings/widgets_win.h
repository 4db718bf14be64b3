// The settings dialog's building blocks that plain Win32 lacks: group boxes and panels that can
// hold controls, integer spin fields, and push buttons with a picture beside the caption.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"

namespace coiffure {

enum class FrameKind { kGroup, kPanel };

// A group box (etched frame, caption at the top left) or a panel (raised bevel, centred caption)
// that may parent other controls. It passes their notifications on to its own parent.
class FrameBox : public BaseWindow<FrameBox> {
 public:
  FrameBox(HWND parent, FrameKind kind, const wchar_t* caption, int id, int x, int y, int w, int h,
           HFONT font);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void OnPaint();

  FrameKind kind_;
  HFONT font_ = nullptr;  // borrowed from the dialog
};

// A child created at the bottom of its siblings' z-order, so creation order is tab order.
HWND CreateChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, int x,
                 int y, int w, int h, HFONT font, DWORD ex_style = 0);

// An edit field with up and down arrows holding an integer: a frame with the sunken border that
// holds the edit and, beside it, the arrows. Side by side rather than the arrows inside the edit,
// so that the edit's own painting never covers them and its text ends where they begin.
class SpinField : public BaseWindow<SpinField> {
 public:
  SpinField() = default;

  void Create(HWND parent, int id, int x, int y, int w, int h, HFONT font, int32_t min, int32_t max,
              int32_t step, int32_t value);
  int32_t Value() const;
  void SetValue(int32_t v);
  void Enable(bool on);
  HWND Edit() const { return edit_.Handle(); }
  HWND Arrows() const { return arrows_; }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  // The edit's keys and its leaving, seen before the edit control gets them.
  class EditKeys : public SubclassedControl<EditKeys> {
   public:
    void Attach(SpinField* owner, HWND edit) {
      owner_ = owner;
      Subclass(edit);
    }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

   private:
    SpinField* owner_ = nullptr;
  };
  // A press on the arrows puts the keyboard in the edit, as the platform's arrows do for the
  // edit they are paired with: otherwise the next Up or Space would change another setting.
  class ArrowClicks : public SubclassedControl<ArrowClicks> {
   public:
    void Attach(HWND edit, HWND arrows) {
      edit_ = edit;
      Subclass(arrows);
    }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

   private:
    HWND edit_ = nullptr;
  };

  bool OnNotify(const NMHDR* hdr);
  void StepBy(int direction);
  void OnLeave();

  EditKeys edit_;
  ArrowClicks arrow_clicks_;
  HWND arrows_ = nullptr;
  int32_t min_ = 0, max_ = 0, step_ = 1;
};

// Pictures for bit buttons: count glyphs side by side (normal, then disabled); the bottom-left
// pixel's colour is transparent.
struct Glyph {
  Bitmap bitmap;
  int count = 1;
};

// Draws an owner-drawn push button with its glyph left of its caption.
void DrawBitButton(const DRAWITEMSTRUCT& item, const Glyph& glyph);

// The standard pictures of cancel and help buttons, 18 x 18.
Bitmap CreateCancelGlyph();
Bitmap CreateHelpGlyph();

}  // namespace coiffure
