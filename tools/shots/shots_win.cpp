// coiffure_shots MODE: shows a window modally, as the program shows its dialogs, for a
// screenshot of it. 0: settings dialog, 1: settings dialog with the log, 2: about box, 3: about
// box with the pointer over the link. Ends by itself after a few seconds (or after SECONDS, given
// as a second argument, for screenshots taken after input).
// coiffure_shots scan FOLDER: times a scan of a library folder into a gallery and prints it.
// coiffure_shots import FILE...: times the import of each picture into a scratch library folder.
// coiffure_shots photo FILE [RUNS]: times making the file the customer photo.
// coiffure_shots desk FILE [COUNT]: the desk's window with COUNT results: memory and times.
// coiffure_shots shades APP [RUNS]: the colour-variant chooser over APP's library: the time to
// open it, its previews, a scroll through the whole list, memory.
// coiffure_shots cutout APP PHOTO [SECONDS]: the desk over APP with the cut-out window open on
// PHOTO, for screenshots of it driven from outside; prints its times.
// coiffure_shots ownhair APP [SECONDS]: the same, opened on APP's customer photo for her own
// hair in another colour.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "cutout_shots_win.h"
#include "desk/library_folder_win.h"
#include "desk_timing_win.h"
#include "pictures/wic_win.h"
#include "scan_timing_win.h"
#include "settings/form3_win.h"
#include "settings/settings_win.h"
#include "shade_timing_win.h"
#include "toolkit/text_win.h"
#include "ui/about/form2_win.h"

using namespace coiffure;

namespace {
struct NoWarning : WarningPort {
  void Warn(const std::string&, const std::string&) override {}
};
}  // namespace

int TimeImports(int count, wchar_t** files) {
  ScopedCom com;
  const std::filesystem::path scratch = std::filesystem::temp_directory_path() / L"shots_ml_fx";
  std::filesystem::remove_all(scratch);
  Win32LibraryFolder folder(Narrow(scratch.wstring()) + "\\");
  WicPictureSource source;
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  for (int i = 0; i < count; ++i) {
    QueryPerformanceCounter(&t0);
    const ImportResult r = ImportPicture(Narrow(files[i]), source, folder);
    QueryPerformanceCounter(&t1);
    const double total =
        1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
    // The decoding alone, for where the time goes.
    QueryPerformanceCounter(&t0);
    try {
      source.Decode(Narrow(files[i]));
    } catch (const ImportError&) {
    }
    QueryPerformanceCounter(&t1);
    const double decode =
        1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
    std::printf("%s: %s in %.1f ms (decoding %.1f ms)\n", Narrow(files[i]).c_str(),
                ResultText(r).c_str(), total, decode);
  }
  std::filesystem::remove_all(scratch);
  return 0;
}

int wmain(int argc, wchar_t** argv) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                            ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  if (argc > 2 && std::wstring(argv[1]) == L"scan") return TimeScan(argv[2]);
  if (argc > 2 && std::wstring(argv[1]) == L"import") return TimeImports(argc - 2, argv + 2);
  if (argc > 2 && std::wstring(argv[1]) == L"photo")
    return TimePhoto(argv[2], argc > 3 ? _wtoi(argv[3]) : 5);
  if (argc > 2 && std::wstring(argv[1]) == L"desk")
    return TimeDesk(argv[2], argc > 3 ? _wtoi(argv[3]) : 100);
  if (argc > 3 && std::wstring(argv[1]) == L"cutout")
    return ShowCutout(argv[2], argv[3], argc > 4 ? _wtoi(argv[4]) : 60);
  if (argc > 2 && std::wstring(argv[1]) == L"ownhair")
    return ShowOwnHair(argv[2], argc > 3 ? _wtoi(argv[3]) : 60);
  if (argc > 2 && std::wstring(argv[1]) == L"shades")
    return TimeShadeChooser(argv[2], argc > 3 ? _wtoi(argv[3]) : 3);
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
  const UINT seconds = argc > 2 ? static_cast<UINT>(_wtoi(argv[2])) : 5;
  SetTimer(nullptr, 0, 1000 * seconds, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
  if (mode <= 1) {
    if (mode == 1) dialog.BitBtn1Click();
    dialog.ShowModal(nullptr);
  } else {
    if (mode == 3) about.Label2MouseMove();
    about.ShowModal(nullptr);
  }
  return 0;
}
