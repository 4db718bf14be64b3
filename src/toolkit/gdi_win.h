// Owning wrappers for GDI and USER resources, scoped device contexts and a scoped selection.
// An owning type frees its handle; a plain handle (HDC, HBITMAP, HFONT) is always borrowed.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>

namespace coiffure {

// Owns a handle and frees it with Free.
template <typename H, void (*Free)(H)>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(H h) : h_(h) {}
  OwnedHandle(OwnedHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  OwnedHandle& operator=(OwnedHandle&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  ~OwnedHandle() { Reset(); }
  void Reset(H h = nullptr) {
    if (h_) Free(h_);
    h_ = h;
  }
  H Get() const { return h_; }
  // Gives the handle up to a new owner (a control that frees it itself).
  H Release() { return std::exchange(h_, nullptr); }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

template <typename H>
void DeleteGdiObject(H h) {
  DeleteObject(h);
}
inline void DestroyImageList(HIMAGELIST h) {
  ImageList_Destroy(h);
}

using Font = OwnedHandle<HFONT, &DeleteGdiObject<HFONT>>;
using Brush = OwnedHandle<HBRUSH, &DeleteGdiObject<HBRUSH>>;
using Bitmap = OwnedHandle<HBITMAP, &DeleteGdiObject<HBITMAP>>;
using Pen = OwnedHandle<HPEN, &DeleteGdiObject<HPEN>>;
// An image list of the common controls.
using ImageList = OwnedHandle<HIMAGELIST, &DestroyImageList>;

// Selects an object into a DC for the scope and puts the previous one back. Declare it after
// the DC object, so that it is undone before the DC is released or deleted.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~ScopedSelect() { SelectObject(dc_, old_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC compatible with another DC (or with the screen when given none).
class MemoryDC {
 public:
  explicit MemoryDC(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// The DC of a WM_PAINT, ended with the scope.
class PaintDC {
 public:
  explicit PaintDC(HWND wnd) : wnd_(wnd), dc_(BeginPaint(wnd, &ps_)) {}
  ~PaintDC() { EndPaint(wnd_, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// A window's DC, released with the scope: its client area, its whole window (frame included),
// or with no window the screen's.
class WindowDC {
 public:
  enum class Area { kClient, kWhole };
  explicit WindowDC(HWND wnd = nullptr, Area area = Area::kClient)
      : wnd_(wnd), dc_(area == Area::kWhole ? GetWindowDC(wnd) : GetDC(wnd)) {}
  // The screen, drawn over every window while a drag shows its feedback there (the plain
  // screen DC when the locked one cannot be had).
  static WindowDC LockedScreen() {
    HDC dc = GetDCEx(nullptr, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    return dc ? WindowDC(nullptr, dc) : WindowDC();
  }
  WindowDC(WindowDC&& o) noexcept : wnd_(o.wnd_), dc_(std::exchange(o.dc_, nullptr)) {}
  WindowDC& operator=(WindowDC&&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  WindowDC(HWND wnd, HDC dc) : wnd_(wnd), dc_(dc) {}
  HWND wnd_;
  HDC dc_;
};

// The header of a top-down 24-bit device-independent bitmap, rows padded to 4 bytes.
inline BITMAPINFO TopDownBgr24Info(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

// The toolkit's form font: a face name at a height in pixels (negative: the character height,
// internal leading excluded, as the forms give it).
inline Font MakeFont(const wchar_t* face, int height, bool underline = false,
                     int weight = FW_NORMAL, DWORD quality = DEFAULT_QUALITY) {
  return Font(CreateFontW(height, 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality,
                          DEFAULT_PITCH | FF_DONTCARE, face));
}

// A line's height in this font, as a window's DC measures it.
inline int LineHeight(HWND window, HFONT font) {
  TEXTMETRICW metrics{};
  const WindowDC dc(window);
  const ScopedSelect select(dc.Get(), font);
  GetTextMetricsW(dc.Get(), &metrics);
  return metrics.tmHeight;
}

// The height a control's text takes, word-wrapped at this width, in the control's font.
inline int WrappedTextHeight(HWND control, int width) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), int(text.size()))));
  const WindowDC dc(control);
  const ScopedSelect font(dc.Get(),
                          reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, width, 0};
  DrawTextW(dc.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return r.bottom;
}

inline Bitmap LoadBitmapResource(int id) {
  return Bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

}  // namespace coiffure
