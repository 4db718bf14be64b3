// What the desk's integration tests share: the window over a scratch library, waiting for its
// work to be done, and what the screen shows of a window.
#pragma once

#include <windows.h>

#include <algorithm>
#include <gtest/gtest.h>

#include "desk/desk_window_win.h"
#include "desk/library_folder_win.h"
#include "pictures/wic_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"
#include "wine/wine_helpers.h"
#include "wine/wine_support.h"

namespace coiffure::testing {

// Runs the window's messages, as its message loop would, until the work asked for is done
// (two minutes at most).
inline void WaitForWork(const DeskWindow& window) {
  const DWORD start = GetTickCount();
  while (window.Busy() && GetTickCount() - start < 120000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    testing_support::Pump();
  }
  testing_support::Pump();
}

// The desk's window, shown, over a scratch library and a customer photo of one colour.
class DeskFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(Widen(folder.Path("ml_data")).c_str(), nullptr);
    Picture::Create24(529, 444, {40, 160, 220}).SaveBmp24(folder.Path("ml_data\\test.bmp"));
    ASSERT_TRUE(window.Create());
    ShowWindow(window.Handle(), SW_SHOW);
    UpdateWindow(window.Handle());
  }
  // Drops the files on the window, as the shell does; the work is then under way.
  void Drop(const std::vector<std::string>& files) {
    SendMessageW(window.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
  }

  TempFolder folder;
  ScopedCom com;
  WicPictureSource wic;
  const std::string library = folder.Path("ml_fx") + "\\";
  Win32LibraryFolder lib{library}, photos{folder.Path("ml_data") + "\\"};
  DeskWindow window{wic, {lib, library, photos, folder.Path("ml_data\\test.bmp")}, false};
};

// A part of a window's client area as the screen shows it, in the core's frame layout.
inline Frame OnScreen(HWND hwnd, RECT part) {
  const int width = part.right - part.left, height = part.bottom - part.top;
  const WindowDC screen(hwnd);
  const MemoryDC memory(screen.Get());
  const BITMAPINFO bi = TopDownBgr24Info(width, height);
  void* bits = nullptr;
  const Bitmap bitmap(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    const ScopedSelect select(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), part.left, part.top, SRCCOPY);
  }
  GdiFlush();
  Frame frame;
  frame.Resize(width, height);
  const size_t stride = PaddedRowBytes(static_cast<size_t>(width), 24);
  for (int y = 0; y < height; ++y)
    std::copy_n(static_cast<const uint8_t*>(bits) + stride * y, 3u * width, frame.Row(y));
  return frame;
}

inline Frame OnScreen(HWND hwnd, int width, int height) {
  return OnScreen(hwnd, RECT{0, 0, width, height});
}

inline size_t PixelsThatDiffer(const Frame& a, const Frame& b) {
  if (a.width != b.width || a.height != b.height) return SIZE_MAX;
  size_t n = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) n += a.At(x, y) != b.At(x, y);
  return n;
}

}  // namespace coiffure::testing
