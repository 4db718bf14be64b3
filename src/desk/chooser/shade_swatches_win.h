// The chooser's shade swatches: one button a shade of the palette, showing its colour with its
// Chinese name under it, turned on and off by a click or the space bar; a swatch for a colour of
// the operator's own, shown once one is chosen; and "其他颜色..." that asks for it through the
// platform's colour dialog. The chooser turns any number on; the customer's own colour takes one
// shade at a time, so there a swatch turned on turns the one on before off.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "colour/palette.h"

namespace coiffure {

class ShadeSwatches {
 public:
  static constexpr int kFirstId = 2100;  // the palette's swatches, then the custom one
  static constexpr int kOtherId = 2150;
  static constexpr int kColumns = 6, kGap = 6, kMinWidth = 66, kBlockHeight = 30;

  explicit ShadeSwatches(int columns = kColumns, bool one_at_a_time = false);
  // The buttons, in the tab order: the swatches make one group (the arrow keys move through
  // it as it is drawn), "其他颜色..." follows.
  void Create(HWND parent, HFONT font, int line_height);
  // The grid at (x, y), as wide as given; returns its height.
  int Place(int x, int y, int width);
  // The palette's rows, then the row of "其他颜色..." and the custom swatch.
  static int HeightFor(int line_height, int columns = kColumns) {
    const int rows = PaletteRows(columns) + 1;
    return rows * SwatchHeight(line_height) + (rows - 1) * kGap;
  }

  // A command of the grid's own: a swatch turned on or off (true), or "其他颜色..." (asks for
  // a colour; true when one was chosen). False for any other command.
  bool OnCommand(HWND owner, int id);
  // Draws a swatch; false when the item is not one.
  bool Draw(const DRAWITEMSTRUCT& item);

  // Shows the custom swatch with this colour, turned on; a colour of the palette turns that
  // shade's own swatch on instead.
  void SetCustom(Bgr colour);
  // Turns the swatch (an index of the palette, or the palette's size for the custom one) on
  // or off, as a click does.
  void Toggle(size_t swatch);
  // The shades turned on, in the order of the swatches.
  std::vector<Shade> Chosen() const;
  // The place in Chosen() of the swatch turned on last (0 when it is off again).
  size_t LastChosen() const;
  HWND Swatch(size_t swatch) const { return buttons_[swatch]; }
  HWND OtherButton() const { return other_; }

 private:
  static int SwatchHeight(int line_height) { return kBlockHeight + line_height + 10; }
  static int PaletteRows(int columns) {
    return (static_cast<int>(ShadePalette().size()) + columns - 1) / columns;
  }
  static LRESULT CALLBACK SwatchProc(HWND button, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR index,
                                     DWORD_PTR self);
  // Moves the focus as an arrow key on a swatch asks; false for another key.
  bool MoveFocus(size_t from, WPARAM key);

  std::vector<Shade> shades_;  // the palette's, then the custom one
  std::vector<bool> on_;
  std::vector<HWND> buttons_;
  HWND other_ = nullptr;
  bool have_custom_ = false;
  size_t last_on_ = 0;
  std::optional<Bgr> last_colour_;  // the colour last turned on, where the colour dialog opens
  int line_height_ = 0;
  int columns_;
  bool one_at_a_time_;
};

}  // namespace coiffure
