// TForm2, the about box "关于我们": a borderless fuchsia window with the program's picture, its web
// address as a link, its e-mail address and a close button, shown modally.
#pragma once

#include <windows.h>

#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "ui/about/help_win.h"

namespace coiffure {

inline constexpr char kWebAddress[] = "http://coiffure.example.com";
inline constexpr char kMailAddress[] = "support@coiffure.example.com";

class TForm2 : public BaseWindow<TForm2> {
 public:
  explicit TForm2(HINSTANCE inst);

  // Centres the box on the desktop, disables owner and runs messages until the box is closed.
  void ShowModal(HWND owner);
  bool Modal() const { return modal_; }
  COLORREF LinkColor() const { return link_color_; }
  bool LinkUnderlined() const { return link_underlined_; }
  void SetShell(ShellExecuteFn shell) { shell_ = shell; }

  void Label2MouseMove();
  void FormMouseMove();
  void Label2Click();
  void SpeedButton1Click();

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  enum class Area { kForm, kImage1, kLabel2, kImage3, kLabel3, kImage2, kSpeedButton1 };

  Area HitTest(POINT p) const;
  void OnMouseMove(POINT p);
  void OnButtonUp(POINT p);
  void OnPaint();
  void Paint(HDC dc);
  bool OnSetCursor();
  void PaintSpeedButton(HDC dc);
  void Close();

  Font font_, link_font_;
  Bitmap main_, link_icon_, mail_icon_;
  RECT label3_{80, 352, 174, 365};
  COLORREF link_color_ = RGB(0, 0, 255);
  bool link_underlined_ = false;
  bool modal_ = false;
  bool button_hot_ = false, button_down_ = false;
  Area pressed_ = Area::kForm;
  ShellExecuteFn shell_ = ShellExecuteA;
};

}  // namespace coiffure
