#include "desk_timing_win.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "desk/desk_window_win.h"
#include "desk/library_folder_win.h"
#include "import/customer_photo.h"
#include "pictures/wic_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

double NowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

namespace {

// The process's private bytes and working set, in MB.
void PrintMemory(const char* when) {
  PROCESS_MEMORY_COUNTERS_EX m{};
  m.cb = sizeof(m);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m),
                       sizeof(m));
  std::printf("%s: private %.1f MB, working set %.1f MB\n", when, m.PrivateUsage / 1048576.0,
              m.WorkingSetSize / 1048576.0);
}

std::filesystem::path Scratch(const wchar_t* name) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// Shows each row's preview in turn, as a click on it does, and prints the times.
void TimePreviews(DeskWindow& window, int count) {
  std::vector<double> times;
  for (int row = 0; row < count; ++row) {
    const double t0 = NowMs();
    window.SelectRow(row);
    UpdateWindow(window.Preview().Handle());
    times.push_back(NowMs() - t0);
  }
  std::sort(times.begin(), times.end());
  std::printf("preview of a row: median %.1f ms, slowest %.1f ms\n", times[times.size() / 2],
              times.back());
}

size_t RowBytes(const std::vector<DeskRow>& rows) {
  size_t bytes = 0;
  for (const DeskRow& r : rows)
    bytes += sizeof(r) + r.file.capacity() + r.result.capacity() + r.preview.colour.capacity() +
             r.preview.mask.capacity() + r.preview.photo.capacity();
  return bytes;
}

}  // namespace

int TimePhoto(const std::wstring& file, int runs) {
  ScopedCom com;
  const std::filesystem::path dir = Scratch(L"shots_ml_data");
  Win32LibraryFolder folder(Narrow(dir.wstring()) + "\\", kMsgPhotoFolderNotWritable);
  WicPictureSource source;
  for (int i = 0; i < runs; ++i) {
    double t0 = NowMs();
    const PhotoResult r = ReplaceCustomerPhoto(Narrow(file), source, folder);
    const double total = NowMs() - t0;
    t0 = NowMs();
    const RgbaImage decoded = source.Decode(Narrow(file));  // read, decoded, turned upright
    const double decode = NowMs() - t0;
    std::printf("%s in %.1f ms (reading, decoding and turning %.1f ms; %dx%d)\n",
                PhotoResultText(r).c_str(), total, decode, decoded.width, decoded.height);
  }
  std::filesystem::remove_all(dir);
  return 0;
}

int TimeDesk(const std::wstring& file, int count) {
  ScopedCom com;
  const std::filesystem::path dir = Scratch(L"shots_desk");
  const std::string root = Narrow(dir.wstring()) + "\\";
  std::filesystem::create_directories(dir / L"ml_data");
  Picture::Create24(kPaintBoxWidth, kPaintBoxHeight, {90, 140, 200})
      .SaveBmp24(root + "ml_data\\test.bmp");
  Win32LibraryFolder library(root + "ml_fx\\"), photos(root + "ml_data\\");
  WicPictureSource source;
  PrintMemory("before the window");
  {
    DeskWindow window(source, {library, root + "ml_fx\\", photos, root + "ml_data\\test.bmp"},
                      false);
    window.Create();
    ShowWindow(window.Handle(), SW_SHOW);
    PrintMemory("window shown");
    double t0 = NowMs();
    window.ImportFiles(std::vector<std::string>(static_cast<size_t>(count), Narrow(file)));
    for (MSG msg; window.Busy();) {  // the imports run off the window's thread
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    std::printf("%d imports in %.0f ms\n", count, NowMs() - t0);
    PrintMemory("after the imports");
    TimePreviews(window, count);
    std::printf("kept: preview %zu bytes (one frame and Image3), %zu rows %zu bytes\n",
                window.Preview().BytesKept(), window.Rows().size(), RowBytes(window.Rows()));
    PrintMemory("after every preview");
  }
  std::filesystem::remove_all(dir);
  return 0;
}

}  // namespace coiffure
