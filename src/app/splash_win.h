// The timed start picture, shown modally while the main window is being created.
#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"

namespace coiffure {

class Tcsh : public BaseWindow<Tcsh> {
 public:
  static constexpr int kClientWidth = 327;
  static constexpr int kClientHeight = 306;
  static constexpr UINT kTimerInterval = 3000;

  explicit Tcsh(UINT interval_ms = kTimerInterval);
  // Shows the window modally; returns when Timer1 has closed it. idle, when given, does a short
  // slice of work whenever the splash has nothing to do, until it returns false.
  void ShowModal(std::function<bool()> idle = {});
  bool Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
  HFONT LabelFont() const { return label_font_.Get(); }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void Timer1Timer();
  void Close();
  void Paint(HDC dc);

  UINT interval_;
  bool closed_ = false;
  Bitmap image1_;
  Font label_font_;
  Brush cream_;
};

}  // namespace coiffure
