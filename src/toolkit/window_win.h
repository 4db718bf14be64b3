// A small CRTP base for windows: binds `this` at WM_NCCREATE and keeps exceptions from crossing
// the window procedure (they are reported in the application's error box).
#pragma once

#include <windows.h>

#include "toolkit/error_box_win.h"

namespace coiffure {

template <typename T>
class BaseWindow {
 public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  virtual ~BaseWindow() {
    if (hwnd_) {
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      DestroyWindow(hwnd_);
    }
  }

  HWND Handle() const { return hwnd_; }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    T* self = nullptr;
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
      self = static_cast<T*>(cs->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      return DefWindowProcW(hwnd, msg, wp, lp);
    }
    try {
      return self->HandleMessage(msg, wp, lp);
    } catch (...) {
      ReportCurrentException(GetAncestor(hwnd, GA_ROOT));
      return 0;
    }
  }

 protected:
  static void Register(const wchar_t* class_name, HBRUSH background, UINT style = 0,
                       HICON icon = nullptr, HCURSOR cursor = LoadCursorW(nullptr, IDC_ARROW)) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), class_name, &wc)) return;
    wc.style = style;
    wc.lpfnWndProc = &T::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = class_name;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    RegisterClassExW(&wc);
  }

  HWND CreateWin(DWORD ex_style, const wchar_t* class_name, const wchar_t* title, DWORD style,
                 int x, int y, int w, int h, HWND parent, HMENU menu = nullptr) {
    return CreateWindowExW(ex_style, class_name, title, style, x, y, w, h, parent, menu,
                           GetModuleHandleW(nullptr), static_cast<T*>(this));
  }

  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

  HWND hwnd_ = nullptr;
};

}  // namespace coiffure
