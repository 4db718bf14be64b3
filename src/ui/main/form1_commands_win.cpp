// The command table: each menu entry that duplicates a toolbar button performs that button's
// click, so every command has exactly one implementation.
#include "gallery/gallery_win.h"
#include "gallery/selection.h"
#include "imaging/tone.h"
#include "ui/about/form2_win.h"
#include "ui/main/form1_win.h"

namespace coiffure {

ToolButton& TForm1::Button(CommandId id) {
  for (ToolButton& b : buttons_)
    if (b.Id() == id) return b;
  throw std::logic_error("no such toolbar button");
}

void TForm1::RunToolButton(CommandId id) {
  switch (id) {
    case kToolButton1:
      ToolButton1Click();
      break;
    case kToolButton10:
      ToolButton10Click();
      break;
    case kToolButton2:
      ToolButton2Click();
      break;
    case kToolButton5:
      ToolButton5Click();
      break;
    case kToolButton7:
      ToolButton7Click();
      break;
    case kToolButton12:
      ToolButton12Click();
      break;
    case kToolButton6:
      ToolButton6Click();
      break;
    case kToolButton15:
      ToolButton15Click();
      break;
    case kToolButton13:
      ToolButton13Click();
      break;
    case kToolButton11:
      ToolButton11Click();
      break;
    case kToolButton3:
      ToolButton3Click();
      break;
    case kToolButton14:
      ToolButton14Click();
      break;
    default:
      break;  // ToolButton9 has no handler
  }
}

void TForm1::RunMenuEntry(CommandId id) {
  const MenuEntry* e = FindMenuEntry(MainMenu(), id);
  if (!e || !e->enabled) return;
  switch (id) {
    case kMenuS1:
      S1Click();
      break;
    case kMenuU1:
      U1Click();
      break;
    case kMenuBMPB1:
      BMPB1Click();
      break;
    case kMenuR1:
      R1Click();
      break;
    case kMenuT1:
      T1Click();
      break;
    case kMenuE1:
      E1Click();
      break;
    case kMenuC2:
      C2Click();
      break;
    case kMenuN10:
      N10Click();
      break;
    case kMenuN11:
      N11Click();
      break;
    case kMenuN13:
      N13Click();
      break;
    case kMenuN14:
      N14Click();
      break;
    case kMenuN6:
      N6Click();
      break;
    case kMenuN7:
      N7Click();
      break;
    case kMenuN15:
      N15Click();
      break;
    case kMenuN17:
      N17Click();
      break;
    case kMenuU2:
      U2Click();
      break;
    case kMenuA1:
      A1Click();
      break;
    default:
      break;
  }
}

// Dispatching handlers: a click on the toolbar button and nothing else.
void TForm1::S1Click() {
  Trace("S1Click");
  Button(kToolButton1).Click();
}
void TForm1::U1Click() {
  Trace("U1Click");
  Button(kToolButton2).Click();
}
void TForm1::BMPB1Click() {
  Trace("BMPB1Click");
  Button(kToolButton10).Click();
}
void TForm1::R1Click() {
  Trace("R1Click");
  Button(kToolButton1).Click();
}
void TForm1::T1Click() {
  Trace("T1Click");
  Button(kToolButton2).Click();
}
void TForm1::N10Click() {
  Trace("N10Click");
  Button(kToolButton5).Click();
}
void TForm1::N11Click() {
  Trace("N11Click");
  Button(kToolButton7).Click();
}
void TForm1::N13Click() {
  Trace("N13Click");
  Button(kToolButton12).Click();
}
void TForm1::N14Click() {
  Trace("N14Click");
  Button(kToolButton6).Click();
}
void TForm1::N6Click() {
  Trace("N6Click");
  Button(kToolButton13).Click();
}
void TForm1::N7Click() {
  Trace("N7Click");
  Button(kToolButton11).Click();
}
void TForm1::N15Click() {
  Trace("N15Click");
  Button(kToolButton3).Click();
}
void TForm1::N17Click() {
  Trace("N17Click");
  Button(kToolButton15).Click();
}
void TForm1::U2Click() {
  Trace("U2Click");
  Button(kToolButton14).Click();
}

// Edit modes.
void TForm1::ToolButton13Click() {
  Trace("ToolButton13Click");
  SetEditMode(ws_, *this, emEnlarge);
}
void TForm1::ToolButton11Click() {
  Trace("ToolButton11Click");
  SetEditMode(ws_, *this, emShrink);
}
void TForm1::ToolButton3Click() {
  Trace("ToolButton3Click");
  SetEditMode(ws_, *this, emMove);
}
void TForm1::PaintBox1Click() {
  Trace("PaintBox1Click");
  ToolButton3Click();
}

// Mouse and keyboard editing.
void TForm1::PaintBox1MouseDown(Point p) {
  coiffure::PaintBox1MouseDown(ws_, *this, p);
}
void TForm1::PaintBox1MouseMove(Point p) {
  coiffure::PaintBox1MouseMove(ws_, *this, p);
}
void TForm1::PaintBox1MouseUp(Point p) {
  coiffure::PaintBox1MouseUp(ws_, *this, p);
}

void TForm1::FormKeyDown(WORD key) {
  Modifiers mods;
  mods.shift = GetKeyState(VK_SHIFT) < 0;
  mods.ctrl = GetKeyState(VK_CONTROL) < 0;
  mods.alt = GetKeyState(VK_MENU) < 0;
  coiffure::FormKeyDown(ws_, *this, key, mods);
}

// Camera, tone, photo, help and about commands.
void TForm1::ToolButton1Click() {
  Trace("ToolButton1Click");
  capture_.ToolButton1Click(BoundsInParent(image3_), ToCaptureParent(hwnd_));
}
void TForm1::ToolButton10Click() {
  Trace("ToolButton10Click");
  capture_.ToolButton10Click(ws_, [this] { Repaint(); });
}
void TForm1::ToolButton2Click() {
  Trace("ToolButton2Click");
  capture_.ToolButton2Click();
}
void TForm1::ToolButton5Click() {
  Trace("ToolButton5Click");
  ContrastUp(ws_.Photo);
  Repaint();
}
void TForm1::ToolButton7Click() {
  Trace("ToolButton7Click");
  ContrastDown(ws_.Photo);
  Repaint();
}
void TForm1::ToolButton12Click() {
  Trace("ToolButton12Click");
  BrightnessUp(ws_.Photo);
  Repaint();
}
void TForm1::ToolButton6Click() {
  Trace("ToolButton6Click");
  BrightnessDown(ws_.Photo);
  Repaint();
}
void TForm1::ToolButton15Click() {
  Trace("ToolButton15Click");
  CaptureController::ToolButton15Click(ws_, AppFolderPath(), [this] { Repaint(); });
}
void TForm1::ToolButton14Click() {
  Trace("ToolButton14Click");
  OpenHelpFile(hwnd_, shell_);
}
void TForm1::ListView1Click() {
  Trace("ListView1Click");
  ListViewSelection gallery(listview_);
  coiffure::ListView1Click(gallery, AppFolderPath(), ws_, [this] { Repaint(); });
}
void TForm1::A1Click() {
  Trace("A1Click");
  if (form2_) form2_->ShowModal(hwnd_);
}

}  // namespace coiffure
