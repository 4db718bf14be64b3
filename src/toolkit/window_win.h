// The toolkit's window base: one class registration path and one guarded window procedure for
// every window of the program, and the same for controls of the platform's own classes that a
// window subclasses. Exceptions never cross a window procedure: they are reported in the
// application's error box and the message loop goes on.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "toolkit/error_box_win.h"

namespace coiffure {

// A window class of our own, bound to T at WM_NCCREATE. T::HandleMessage unpacks each message
// once and calls a typed handler, else Default().
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
    return GuardedResult(hwnd, [&] { return self->HandleMessage(msg, wp, lp); });
  }

 protected:
  struct ClassInfo {
    const wchar_t* name;
    HBRUSH background = nullptr;
    UINT style = 0;
    HICON icon = nullptr;
    HCURSOR cursor = LoadCursorW(nullptr, IDC_ARROW);
  };
  // Registers the class once per process.
  static void Register(const ClassInfo& c) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), c.name, &wc)) return;
    wc.style = c.style;
    wc.lpfnWndProc = &T::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = c.cursor;
    wc.hbrBackground = c.background;
    wc.lpszClassName = c.name;
    wc.hIcon = c.icon;
    wc.hIconSm = c.icon;
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

// For a window that is no dialog but takes the dialog keys (IsDialogMessage): the focus moved as
// WM_NEXTDLGCTL asks (Tab, the arrows within a group, an access key), which only a dialog's own
// window procedure would answer.
inline void MoveFocusAsDialogAsks(HWND window, WPARAM wp, LPARAM lp) {
  const HWND next =
      LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(window, GetFocus(), wp != 0);
  if (next) SetFocus(next);
}

// WM_GETMINMAXINFO answered with the smallest window size it may be dragged to.
inline void SetMinTrackSize(LPARAM lp, SIZE window_size) {
  reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {window_size.cx, window_size.cy};
}

// A control of a platform class (an edit field, a toolbar) whose messages T sees first, in
// T::HandleMessage; Default() passes them on to the control.
template <typename T>
class SubclassedControl {
 public:
  SubclassedControl() = default;
  SubclassedControl(const SubclassedControl&) = delete;
  SubclassedControl& operator=(const SubclassedControl&) = delete;
  ~SubclassedControl() {
    if (wnd_) RemoveWindowSubclass(wnd_, &Proc, 0);
  }

  HWND Handle() const { return wnd_; }

 protected:
  void Subclass(HWND control) {
    wnd_ = control;
    SetWindowSubclass(control, &Proc, 0, reinterpret_cast<DWORD_PTR>(static_cast<T*>(this)));
  }
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefSubclassProc(wnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<T*>(data);
    if (msg == WM_NCDESTROY) {
      RemoveWindowSubclass(wnd, &Proc, 0);
      self->wnd_ = nullptr;
      return DefSubclassProc(wnd, msg, wp, lp);
    }
    return GuardedResult(GetAncestor(wnd, GA_ROOT),
                         [&] { return self->HandleMessage(msg, wp, lp); });
  }

  HWND wnd_ = nullptr;
};

}  // namespace coiffure
