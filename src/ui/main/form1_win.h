// The main window: layout, menus, toolbars, command table, status line, and the wiring of
// messages into the workspace.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/avicap_win.h"
#include "capture/capture.h"
#include "gallery/gallery_win.h"
#include "settings/settings.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "ui/about/help_win.h"
#include "ui/main/command_table.h"
#include "ui/main/controls_win.h"
#include "workspace/composite.h"
#include "workspace/editing.h"
#include "workspace/workspace.h"

namespace coiffure {

class TForm1;
class TForm2;
class TForm3;

// A toolbar button as the command table sees it: one Click() for the button and its menu entry.
class ToolButton {
 public:
  ToolButton(TForm1& form, HWND toolbar, CommandId id) : form_(form), toolbar_(toolbar), id_(id) {}
  CommandId Id() const { return id_; }
  bool Enabled() const;
  // Runs the button's click handler, as a press of the button would.
  void Click();

 private:
  TForm1& form_;
  HWND toolbar_;
  CommandId id_;
};

class TForm1 : public BaseWindow<TForm1>, private EditorPort {
 public:
  static constexpr int kClientWidth = 764;
  static constexpr int kClientHeight = 486;

  struct Options {
    // Shows the splash modally inside FormCreate, giving the splash's idle time to the work
    // passed (slices of it, until it returns false); the program passes its splash window,
    // tests leave it empty to skip the 3000 ms wait.
    std::function<void(std::function<bool()>)> show_splash;
    std::string app_folder;  // empty: the executable's folder
  };

  // Creates the window and its controls and runs FormCreate; the window stays hidden.
  explicit TForm1(Options options);
  ~TForm1() override;

  // The about box and the settings dialog, created after the main window.
  void SetAuxiliaryWindows(TForm2* about, TForm3* settings) {
    form2_ = about;
    form3_ = settings;
  }
  // The settings values the settings file fills; the settings dialog saves into them.
  SettingsValues& Settings() { return settings_; }
  // The shell call of the help command (tests see the call instead of starting a viewer).
  void SetShellForTests(ShellExecuteFn shell) { shell_ = shell; }

  // Makes the window visible, centred, and runs FormShow the first time.
  void Show();
  // Handles a Ctrl shortcut of the menu bar; true when the key was taken.
  bool IsShortCut(const MSG& msg);
  // Makes the library's thumbnails ahead of the first show, for about this long each call (the
  // first call starts it); false once there is nothing more to prepare. The splash's idle time
  // runs it; the scan at first show takes what it made where the library has not changed.
  bool PrepareLibrary(std::chrono::milliseconds budget);

  // Event handlers, named after their controls.
  void FormCreate();
  void FormShow();
  void FormCloseQuery(bool& CanClose);
  void FormClose();
  void FormDestroy();
  void FormKeyDown(WORD key);
  void PaintBox1Paint(HDC dc, int width, int height);
  void PaintBox1MouseDown(Point p);
  void PaintBox1MouseMove(Point p);
  void PaintBox1MouseUp(Point p);
  void PaintBox1Click();
  void PaintBox1DragOver() {}
  void ListView1Click();
  void ToolButton1Click();
  void ToolButton10Click();
  void ToolButton2Click();
  void ToolButton5Click();
  void ToolButton7Click();
  void ToolButton12Click();
  void ToolButton6Click();
  void ToolButton15Click();
  void ToolButton13Click();
  void ToolButton11Click();
  void ToolButton3Click();
  void ToolButton14Click();
  // The dispatching handlers of the menu entries that duplicate a toolbar button (S1Click,
  // U1Click, BMPB1Click, R1Click, T1Click, N10Click, N11Click, N13Click, N14Click, N6Click,
  // N7Click, N15Click, N17Click, U2Click): each performs the click of the button the command
  // table names for it, and nothing else.
  void MenuEntryClick(const MenuEntry& entry);
  void E1Click();
  void C2Click() {}
  void A1Click();

  // Runs the click handler of a toolbar button (ToolButton::Click comes here).
  void RunToolButton(CommandId id);
  ToolButton& Button(CommandId id);
  // Runs the handler of a menu entry, as choosing it would.
  void RunMenuEntry(CommandId id);

  Workspace& Work() { return ws_; }
  const Workspace& Work() const { return ws_; }
  std::string AppFolderPath() const;

  // Controls, for the layers that carry out what the handlers decide, and for tests.
  CaptureController& Capture() { return capture_; }
  HWND PaintBoxHandle() const { return paintbox_ ? paintbox_->Handle() : nullptr; }
  HWND Image3Handle() const { return image3_; }
  HWND SplitterHandle() const { return splitter_ ? splitter_->Handle() : nullptr; }
  HWND StatusBarHandle() const { return statusbar_; }
  HWND Panel1Handle() const { return panel1_ ? panel1_->Handle() : nullptr; }
  HWND ListViewHandle() const { return listview_; }
  HWND CoolBarHandle() const { return coolbar_ ? coolbar_->Handle() : nullptr; }
  HWND ToolBar1Handle() const { return toolbar1_; }
  HWND ToolBar2Handle() const { return toolbar2_; }
  HMENU MenuHandle() const { return menu_; }
  Splitter* SplitterControl() { return splitter_.get(); }
  HCURSOR PaintBoxCursor() const { return paintbox_ ? paintbox_->CursorShape() : nullptr; }

  // Every handler named above records its name here when a trace is set (tests only).
  void SetTraceForTests(std::vector<std::string>* trace) { trace_ = trace; }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  // EditorPort: what the editing handlers ask of the window.
  void Repaint() override;
  void SetGalleryEnabled(bool enabled) override;
  void SetCursor(CursorShape shape) override;

  void CreateControls();
  void CreateToolBars();
  HWND CreateToolBar(const std::vector<ToolButtonInfo>& buttons, int x, int width,
                     RaisedTopEdge& edge);
  void CreateMenuBar();
  void ApplyPaintBoxWidth(int width);
  void SetStatusText(int panel, const std::string& utf8);
  void OnCommand(WORD id);
  LRESULT OnNotify(NMHDR* hdr);
  void Trace(const std::string& handler);
  void CloseOperation();

  Options options_;
  Workspace ws_;
  SettingsValues settings_;
  TForm2* form2_ = nullptr;
  TForm3* form3_ = nullptr;
  ShellExecuteFn shell_ = ShellExecuteA;
  AvicapPort capture_port_;
  StatusBarPanel0 status0_;
  CaptureController capture_{capture_port_, status0_};
  Frame frame_;
  Font font_;
  Bitmap image3_bitmap_;
  std::unique_ptr<PaintBox> paintbox_;
  HWND image3_ = nullptr;
  std::unique_ptr<Splitter> splitter_;
  HWND statusbar_ = nullptr;
  std::unique_ptr<RaisedPanel> panel1_;
  HWND listview_ = nullptr;
  std::unique_ptr<BandBar> coolbar_;
  HWND toolbar1_ = nullptr;
  HWND toolbar2_ = nullptr;
  RaisedTopEdge toolbar1_edge_, toolbar2_edge_;
  HMENU menu_ = nullptr;
  ImageList imagelist1_;
  ImageList thumbnails_;  // ImageList2: the gallery shares it, so the window owns it
  std::unique_ptr<LibraryPreparation> preparation_;  // until the window is first shown
  std::vector<ToolButton> buttons_;
  std::vector<std::wstring> hints_;
  bool shown_ = false;
  bool ending_ = false;
  std::vector<std::string>* trace_ = nullptr;
};

}  // namespace coiffure
