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

namespace {

using Handler = void (TForm1::*)();
struct Binding {
  CommandId id;
  Handler handler;
};

// Each toolbar button's click handler. ToolButton9 has none.
constexpr Binding kButtonHandlers[] = {
    {kToolButton1, &TForm1::ToolButton1Click},   {kToolButton10, &TForm1::ToolButton10Click},
    {kToolButton2, &TForm1::ToolButton2Click},   {kToolButton5, &TForm1::ToolButton5Click},
    {kToolButton7, &TForm1::ToolButton7Click},   {kToolButton12, &TForm1::ToolButton12Click},
    {kToolButton6, &TForm1::ToolButton6Click},   {kToolButton15, &TForm1::ToolButton15Click},
    {kToolButton13, &TForm1::ToolButton13Click}, {kToolButton11, &TForm1::ToolButton11Click},
    {kToolButton3, &TForm1::ToolButton3Click},   {kToolButton14, &TForm1::ToolButton14Click},
};

// The menu entries that do not forward to a toolbar button.
constexpr Binding kOwnMenuHandlers[] = {
    {kMenuE1, &TForm1::E1Click}, {kMenuC2, &TForm1::C2Click}, {kMenuA1, &TForm1::A1Click}};

template <size_t N>
bool Run(TForm1& form, const Binding (&table)[N], CommandId id) {
  for (const Binding& b : table)
    if (b.id == id) {
      (form.*b.handler)();
      return true;
    }
  return false;
}

}  // namespace

void TForm1::RunToolButton(CommandId id) {
  Run(*this, kButtonHandlers, id);
}

void TForm1::RunMenuEntry(CommandId id) {
  const MenuEntry* e = FindMenuEntry(MainMenu(), id);
  if (!e || !e->enabled) return;
  if (e->forwards_to != kCmdNone)
    MenuEntryClick(*e);
  else
    Run(*this, kOwnMenuHandlers, id);
}

void TForm1::MenuEntryClick(const MenuEntry& entry) {
  Trace(std::string(entry.name) + "Click");
  Button(entry.forwards_to).Click();
}

// Edit modes.
void TForm1::ToolButton13Click() {
  Trace("ToolButton13Click");
  SetEditMode(ws_, *this, EditModeValue::emEnlarge);
}
void TForm1::ToolButton11Click() {
  Trace("ToolButton11Click");
  SetEditMode(ws_, *this, EditModeValue::emShrink);
}
void TForm1::ToolButton3Click() {
  Trace("ToolButton3Click");
  SetEditMode(ws_, *this, EditModeValue::emMove);
}
void TForm1::PaintBox1Click() {
  Trace("PaintBox1Click");
  ToolButton3Click();
}

// Mouse and keyboard editing.
void TForm1::PaintBox1MouseDown(Point p) {
  coiffure::PressAt(ws_, *this, p);
}
void TForm1::PaintBox1MouseMove(Point p) {
  coiffure::TrackPointer(ws_, *this, p);
}
void TForm1::PaintBox1MouseUp(Point p) {
  coiffure::ReleaseAt(ws_, *this, p);
}

void TForm1::FormKeyDown(WORD key) {
  Modifiers mods;
  mods.shift = GetKeyState(VK_SHIFT) < 0;
  mods.ctrl = GetKeyState(VK_CONTROL) < 0;
  mods.alt = GetKeyState(VK_MENU) < 0;
  coiffure::EditByKey(ws_, *this, key, mods);
}

// Camera, tone, photo, help and about commands.
void TForm1::ToolButton1Click() {
  Trace("ToolButton1Click");
  capture_.StartPreview(BoundsInParent(image3_), ToCaptureParent(hwnd_));
}
void TForm1::ToolButton10Click() {
  Trace("ToolButton10Click");
  capture_.TakeSnapshot(ws_, [this] { Repaint(); });
}
void TForm1::ToolButton2Click() {
  Trace("ToolButton2Click");
  capture_.StopPreview();
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
  CaptureController::RestorePhoto(ws_, AppFolderPath(), [this] { Repaint(); });
}
void TForm1::ToolButton14Click() {
  Trace("ToolButton14Click");
  OpenHelpFile(hwnd_, shell_);
}
void TForm1::ListView1Click() {
  Trace("ListView1Click");
  ListViewSelection gallery(listview_);
  coiffure::LoadSelectedHairstyle(gallery, AppFolderPath(), ws_, [this] { Repaint(); });
}
void TForm1::A1Click() {
  Trace("A1Click");
  if (form2_) form2_->ShowModal(hwnd_);
}

}  // namespace coiffure
