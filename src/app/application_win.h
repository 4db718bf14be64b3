// The application: creates the windows in order, runs the message loop, destroys the windows.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/main/form1_win.h"

namespace coiffure {

class TForm2;
class TForm3;
class Tcsh;

// The program's windows for the whole run. Construction creates them in the program's order:
// the main window (whose creation shows the splash and loads the start-up pictures), then the
// about box and the settings dialog, hidden. Destruction takes the main window first, so that
// FormDestroy runs while the others still exist.
struct StartOptions {
  bool show_splash = true;  // tests may skip the 3000 ms wait
  std::string app_folder;   // empty: the executable's folder
};

class Application {
 public:
  explicit Application(StartOptions options = {});
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  TForm1& Form1() { return *form1_; }
  // The splash window once the main window's creation has shown it; it stays hidden after.
  Tcsh* Splash() { return splash_.get(); }
  TForm2& Form2() { return *form2_; }
  TForm3& Form3() { return *form3_; }

  // The first show of the main window (FormShow runs before it appears), then the message loop
  // until the application is asked to end. Returns the exit code.
  int Run();

 private:
  std::unique_ptr<Tcsh> splash_;  // owned by the application, as the other windows are
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm2> form2_;
  std::unique_ptr<TForm3> form3_;
};

// The whole life of the process; returns the exit code.
int RunApplication();

}  // namespace coiffure
