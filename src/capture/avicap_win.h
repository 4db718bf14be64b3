// The capture ports over the platform: the Video for Windows capture window and the status bar.
#pragma once

#include <windows.h>

#include "capture/capture.h"

namespace coiffure {

// Makes a capture window; the signature of capCreateCaptureWindowA.
using CaptureWindowFactory = HWND (*)(const char* name, DWORD style, int x, int y, int width,
                                      int height, HWND parent, int id);

// Integration tests put an in-process stand-in for the camera here; nullptr restores the
// platform's capture library, which is what the program always uses.
void SetCaptureWindowFactoryForTests(CaptureWindowFactory factory);

class AvicapPort : public CapturePort {
 public:
  CaptureHandle CreateCaptureWindow(const std::string& name, uint32_t style, int x, int y,
                                    int width, int height, std::uintptr_t parent, int id) override;
  void Send(CaptureHandle wnd, uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) override;
  void SendSaveDib(CaptureHandle wnd, const std::string& path) override;
  void DestroyCaptureWindow(CaptureHandle wnd) override;
};

// Panel 0 of a status bar control. The bar may be attached after construction, since the main
// window creates it only once its own window exists.
class StatusBarPanel0 : public StatusPort {
 public:
  StatusBarPanel0() = default;
  explicit StatusBarPanel0(HWND statusbar) : bar_(statusbar) {}
  void Attach(HWND statusbar) { bar_ = statusbar; }
  void SetStatus0(const std::string& utf8) override;

 private:
  HWND bar_ = nullptr;
};

// A child control's bounds in its parent's client area, as the preview window is placed.
Rect BoundsInParent(HWND child);

inline std::uintptr_t ToCaptureParent(HWND parent) {
  return reinterpret_cast<std::uintptr_t>(parent);
}

}  // namespace coiffure
