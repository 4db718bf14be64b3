// coiffure_shots MODE: shows a window modally, as the program shows its dialogs, for a
// screenshot of it. 0: settings dialog, 1: settings dialog with the log, 2: about box, 3: about
// box with the pointer over the link. Ends by itself after a few seconds.
// coiffure_shots scan FOLDER: times a scan of a library folder into a gallery and prints it.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "gallery/gallery_win.h"
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

int TimeScan(const std::wstring& folder) {
  HWND lv = CreateWindowExW(0, WC_LISTVIEWW, L"", LVS_ICON, 0, 0, 229, 442, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  CreateGalleryImageList(lv);
  SetCurrentDirectoryW(folder.c_str());
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  ScanHairLibraryInto(lv);
  QueryPerformanceCounter(&t1);
  std::printf(
      "scanned %d pictures in %.1f ms\n", ListView_GetItemCount(lv),
      1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart));
  return 0;
}

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
  // The program's own modal display, ended by the timer after a few seconds.
  SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
  if (mode <= 1) {
    if (mode == 1) dialog.BitBtn1Click();
    dialog.ShowModal(nullptr);
  } else {
    if (mode == 3) about.Label2MouseMove();
    about.ShowModal(nullptr);
  }
  return 0;
}
