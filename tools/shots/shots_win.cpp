// coiffure_shots MODE: shows a window that no command of the program opens on its own, for a
// screenshot of it. 0: settings dialog, 1: settings dialog with the log, 2: about box, 3: about
// box with the pointer over the link. Ends by itself after a few seconds.
// coiffure_shots scan FOLDER: times a scan of a library folder into a gallery and prints it.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "scan_timing_win.h"
#include "settings/form3_win.h"
#include "settings/settings_win.h"
#include "toolkit/text_win.h"
#include "ui/about/form2_win.h"

using namespace coiffure;

namespace {
struct NoWarning : WarningPort {
  void Warn(const std::string&, const std::string&) override {}
};
}  // namespace

int wmain(int argc, wchar_t** argv) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                            ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  if (argc > 2 && std::wstring(argv[1]) == L"scan") return TimeScan(argv[2]);
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  const int mode = argc > 1 ? _wtoi(argv[1]) : 0;
  SettingsValues values;
  TForm2 about(inst);
  TForm3 dialog(inst, &values);
  const std::string ini = Narrow((std::filesystem::temp_directory_path() / L"shots.ini").wstring());
  IniProfileFile file(ini, ini);
  NoWarning warning;
  LoadSettings(file, dialog, warning, values);
  if (mode <= 1) {
    if (mode == 1) dialog.BitBtn1Click();
    dialog.Show();
  } else {
    ShowWindow(about.Handle(), SW_SHOW);
    if (mode == 3) about.Label2MouseMove();
  }
  SetTimer(nullptr, 0, 5000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
    if (!dialog.PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}
