#include "capture/avicap_win.h"

#include <commctrl.h>
#include <vfw.h>

#include "toolkit/text_win.h"

namespace coiffure {
namespace {

// The core spells the message numbers out; they must stay those of the library's header.
static_assert(capmsg::kSetCallbackErrorA == WM_CAP_SET_CALLBACK_ERRORA);
static_assert(capmsg::kSetCallbackStatusA == WM_CAP_SET_CALLBACK_STATUSA);
static_assert(capmsg::kSetCallbackVideoStream == WM_CAP_SET_CALLBACK_VIDEOSTREAM);
static_assert(capmsg::kDriverConnect == WM_CAP_DRIVER_CONNECT);
static_assert(capmsg::kDriverDisconnect == WM_CAP_DRIVER_DISCONNECT);
static_assert(capmsg::kFileSaveDibA == WM_CAP_FILE_SAVEDIBA);
static_assert(capmsg::kSetPreview == WM_CAP_SET_PREVIEW);
static_assert(capmsg::kSetOverlay == WM_CAP_SET_OVERLAY);
static_assert(capmsg::kSetPreviewRate == WM_CAP_SET_PREVIEWRATE);
static_assert(capmsg::kSetScale == WM_CAP_SET_SCALE);
static_assert(kCaptureWindowStyle == (WS_CHILD | WS_VISIBLE));

HWND PlatformCaptureWindow(const char* name, DWORD style, int x, int y, int width, int height,
                           HWND parent, int id) {
  return capCreateCaptureWindowA(name, style, x, y, width, height, parent, id);
}

CaptureWindowFactory g_factory = PlatformCaptureWindow;

HWND AsHwnd(CaptureHandle h) {
  return reinterpret_cast<HWND>(h);
}

}  // namespace

void SetCaptureWindowFactoryForTests(CaptureWindowFactory factory) {
  g_factory = factory ? factory : PlatformCaptureWindow;
}

CaptureHandle AvicapPort::CreateCaptureWindow(const std::string& name, uint32_t style, int x, int y,
                                              int width, int height, std::uintptr_t parent,
                                              int id) {
  const std::string ansi = ToAnsi(name);
  HWND wnd =
      g_factory(ansi.c_str(), style, x, y, width, height, reinterpret_cast<HWND>(parent), id);
  // The preview lies over Image3, which is a sibling window of its own: raise it above them all.
  if (wnd) SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return reinterpret_cast<CaptureHandle>(wnd);
}

void AvicapPort::Send(CaptureHandle wnd, uint32_t msg, std::uintptr_t wparam,
                      std::intptr_t lparam) {
  SendMessageA(AsHwnd(wnd), msg, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

void AvicapPort::SendSaveDib(CaptureHandle wnd, const std::string& path) {
  // The A message takes the path in the ANSI code page; the string lives across the call.
  const std::string ansi = ToAnsi(path);
  SendMessageA(AsHwnd(wnd), WM_CAP_FILE_SAVEDIBA, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
}

void AvicapPort::DestroyCaptureWindow(CaptureHandle wnd) {
  DestroyWindow(AsHwnd(wnd));
}

void StatusBarPanel0::SetStatus0(const std::string& utf8) {
  if (!bar_) return;
  const std::wstring text = Widen(utf8);
  SendMessageW(bar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

Rect BoundsInParent(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace coiffure
