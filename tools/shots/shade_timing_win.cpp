#include "shade_timing_win.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "desk/chooser/shade_chooser_win.h"
#include "desk_timing_win.h"
#include "gallery/selection.h"
#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

// The process's working set, in MB.
double WorkingSetMb() {
  PROCESS_MEMORY_COUNTERS m{};
  m.cb = sizeof(m);
  GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof(m));
  return static_cast<double>(m.WorkingSetSize) / 1048576.0;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

std::string Median(std::vector<double> t) {
  std::sort(t.begin(), t.end());
  char s[64];
  std::snprintf(s, sizeof s, "median %.1f ms, slowest %.1f ms", t[t.size() / 2], t.back());
  return s;
}

// Where a preview's time goes: reading the files, recolouring, composing (ten of each).
void TimePreviewParts(const std::string& app, const std::string& style) {
  const auto read = [&](const std::string& n) { return ReadWholeFile(app + "ml_fx\\" + n); };
  const Shade& shade = *FindShade("浅金");
  double t = NowMs();
  for (int i = 0; i < 10; ++i) read(style), read(MaskNameFor(style));
  const double files = (NowMs() - t) / 10;
  t = NowMs();
  for (int i = 0; i < 10; ++i) ShadeLibraryStyle(style, shade, read);
  const double shaded = (NowMs() - t) / 10;
  Frame frame;
  t = NowMs();
  for (int i = 0; i < 10; ++i)
    ComposeVariantPreview(style, shade, "x.bmp", read, app + "ml_data\\test.bmp", frame);
  std::printf("a preview's parts: files %.1f ms, with the recolouring %.1f ms, composed %.1f ms\n",
              files, shaded, (NowMs() - t) / 10);
}

// The first style in each shade in turn, each preview as a click on its swatch shows it.
void TimePreviews(ShadeChooser& chooser) {
  ListView_SetItemState(chooser.StyleList(), 0, LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
  Pump();
  std::vector<double> previews;
  for (size_t s = 0; s < ShadePalette().size(); ++s) {
    const double t0 = NowMs();
    SendMessageW(chooser.Swatches().Swatch(s), BM_CLICK, 0, 0);
    UpdateWindow(chooser.Preview().Handle());
    previews.push_back(NowMs() - t0);
  }
  std::vector<double> replans;
  for (int i = 0; i < 12; ++i) {
    const double t0 = NowMs();
    chooser.Replan();
    replans.push_back(NowMs() - t0);
  }
  std::printf("replan alone: %s\n", Median(replans).c_str());
  std::printf("preview on a swatch's click, until painted (%s; %zu variants planned): %s\n",
              chooser.Styles()[0].c_str(), chooser.Plan().size(), Median(previews).c_str());
}

// Down the whole list a page at a time, as the scroll bar goes.
void TimeScroll(ShadeChooser& chooser, double working_set_before) {
  const double t0 = NowMs();
  int pages = 0;
  for (; pages < 10000; ++pages) {
    const int top = ListView_GetTopIndex(chooser.StyleList());
    SendMessageW(chooser.StyleList(), WM_VSCROLL, SB_PAGEDOWN, 0);
    UpdateWindow(chooser.StyleList());
    if (ListView_GetTopIndex(chooser.StyleList()) == top) break;
  }
  const double ms = NowMs() - t0;
  std::printf(
      "scrolled to the end in %d pages, %.0f ms (%.1f ms a page), %d thumbnails made; "
      "working set %.1f MB above the one before the chooser\n",
      pages, ms, ms / std::max(1, pages), chooser.ThumbnailsMade(),
      WorkingSetMb() - working_set_before);
}

// Opens the chooser as "换发色..." does, up to its first paint (the thumbnails shown made), and
// resizes it once.
void TimeOpen(const std::string& app, HFONT font, int run) {
  const double before = WorkingSetMb(), t0 = NowMs();
  ShadeChooser chooser(app + "ml_fx\\", app + "ml_data\\test.bmp", {});
  chooser.Create(nullptr, font);
  const double created = NowMs() - t0;
  ShowWindow(chooser.Handle(), SW_SHOW);
  UpdateWindow(chooser.Handle());
  std::printf(
      "run %d: %zu styles, created in %.0f ms, shown and painted after %.0f ms, "
      "%d thumbnails made\n",
      run, chooser.Styles().size(), created, NowMs() - t0, chooser.ThumbnailsMade());
  RECT r;
  GetWindowRect(chooser.Handle(), &r);
  const double r0 = NowMs();
  SetWindowPos(chooser.Handle(), nullptr, 0, 0, r.right - r.left - 100, r.bottom - r.top - 50,
               SWP_NOMOVE | SWP_NOZORDER);
  UpdateWindow(chooser.Handle());
  std::printf("  a resize, painted: %.0f ms\n", NowMs() - r0);
  if (run > 1) return;
  TimePreviewParts(app, chooser.Styles()[0]);
  TimePreviews(chooser);
  TimeScroll(chooser, before);
}

}  // namespace

int TimeShadeChooser(const std::wstring& app, int runs) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  const Font font(CreateFontIndirectW(&metrics.lfMessageFont));
  std::string root = Narrow(app);
  if (root.empty() || root.back() != '\\') root += '\\';
  for (int run = 1; run <= runs; ++run) TimeOpen(root, font.Get(), run);
  return 0;
}

}  // namespace coiffure
