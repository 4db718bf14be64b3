#include "cutout_shots_win.h"

#include <windows.h>

#include <cstdio>
#include <functional>

#include "desk/desk_window_win.h"
#include "desk/library_folder_win.h"
#include "desk_timing_win.h"
#include "pictures/wic_win.h"
#include "toolkit/modal_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

// Watches the window every few milliseconds and prints what it measures.
struct Watch {
  const CutoutWindow* window = nullptr;
  double opened = 0, changed = 0;
  bool ready = false;
  uint64_t revision = 0;
  bool shown = false;

  void Look() {
    if (!window) return;
    if (!ready && window->Ready()) {
      ready = true;
      std::printf("photo ready after %.0f ms\n", NowMs() - opened);
    }
    const CutoutEditor* e = window->Editor();
    if (!e) return;
    if (e->History().Revision() != revision) {
      revision = e->History().Revision();
      changed = NowMs();
      shown = false;
    }
    if (!shown && window->MatteShown()) {
      shown = true;
      std::printf("matte shown %.0f ms after the marks changed\n", NowMs() - changed);
    }
    std::fflush(stdout);
  }
};
Watch watch;

// The desk over APP with the cut-out window its open() makes, for seconds.
int ShowDeskWith(const std::wstring& app, int seconds,
                 const std::function<CutoutWindow*(DeskWindow&)>& open) {
  ScopedCom com;
  const std::string folder = Narrow(app) + "\\";
  Win32LibraryFolder library(folder + "ml_fx\\"), photos(folder + "ml_data\\");
  WicPictureSource source;
  DeskWindow desk(source, {library, folder + "ml_fx\\", photos, folder + "ml_data\\test.bmp"},
                  false);
  const HWND hwnd = desk.Create();
  if (!hwnd) return 1;
  CentreOnScreen(hwnd);
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  watch.opened = NowMs();
  CutoutWindow* opened = open(desk);
  if (!opened) return 1;
  CutoutWindow& window = *opened;
  watch.window = &window;
  const double end = NowMs() + 1000.0 * seconds;
  SetTimer(nullptr, 0, 5, [](HWND, UINT, UINT_PTR, DWORD) { watch.Look(); });
  ShowModal(
      window.Handle(), hwnd, [&] { return window.Done() || NowMs() > end; },
      [&window](MSG& msg) { return window.PreTranslate(msg); });
  watch.window = nullptr;
  // The desk with the imported row, until the time is up.
  MSG msg;
  while (NowMs() < end) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
  }
  return 0;
}

}  // namespace

int ShowCutout(const std::wstring& app, const std::wstring& photo, int seconds) {
  return ShowDeskWith(app, seconds,
                      [&](DeskWindow& desk) { return &desk.OpenCutout(Narrow(photo)); });
}

int ShowOwnHair(const std::wstring& app, int seconds) {
  return ShowDeskWith(app, seconds, [](DeskWindow& desk) { return desk.OpenOwnHair(); });
}

}  // namespace coiffure
