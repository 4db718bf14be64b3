// Camera capture: the live preview window over Image3, the snapshot that becomes the photo, and
// the reload of the photo file. The sequence lives here, against ports, so that the exact calls
// can be checked without a camera; the Win32 side only forwards them to the capture library.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "imaging/picture.h"
#include "workspace/geometry.h"
#include "workspace/workspace.h"

namespace coiffure {

// A capture window as the platform names it; 0 stands for none.
using CaptureHandle = std::uintptr_t;
inline constexpr CaptureHandle kNoCaptureWindow = 0;

// The Video for Windows capture messages the program sends (WM_CAP_START is WM_USER).
namespace capmsg {
inline constexpr uint32_t kStart = 1024;
inline constexpr uint32_t kSetCallbackErrorA = kStart + 2;       // 1026
inline constexpr uint32_t kSetCallbackStatusA = kStart + 3;      // 1027
inline constexpr uint32_t kSetCallbackVideoStream = kStart + 6;  // 1030
inline constexpr uint32_t kDriverConnect = kStart + 10;          // 1034
inline constexpr uint32_t kDriverDisconnect = kStart + 11;       // 1035
inline constexpr uint32_t kFileSaveDibA = kStart + 25;           // 1049
inline constexpr uint32_t kSetPreview = kStart + 50;             // 1074
inline constexpr uint32_t kSetOverlay = kStart + 51;             // 1075
inline constexpr uint32_t kSetPreviewRate = kStart + 52;         // 1076
inline constexpr uint32_t kSetScale = kStart + 53;               // 1077
}  // namespace capmsg

// WS_CHILD | WS_VISIBLE, spelled out so that the core needs no platform header.
inline constexpr uint32_t kCaptureWindowStyle = 0x40000000u | 0x10000000u;
inline constexpr const char* kCaptureWindowName = "My Own Capture Window";

// Where the snapshot asks the driver to write, and reads back: relative to the current folder.
inline constexpr const char* kSnapshotPath = ".\\ml_data\\test.bmp";

inline constexpr const char* kStatusPreviewing = "状态：正在监控...";
inline constexpr const char* kStatusStopped = "状态：停止监控.";
inline constexpr const char* kStatusSnapshotTaking = "状态：暂停，正在拍照.";
inline constexpr const char* kStatusSnapshotDone = "状态：暂停，拍照完成.";

// The capture library as the controller uses it. Results of messages are never examined.
class CapturePort {
 public:
  virtual ~CapturePort() = default;
  // Returns the new window, or kNoCaptureWindow when none could be made.
  virtual CaptureHandle CreateCaptureWindow(const std::string& name, uint32_t style, int x, int y,
                                            int width, int height, std::uintptr_t parent,
                                            int id) = 0;
  virtual void Send(CaptureHandle wnd, uint32_t msg, std::uintptr_t wparam,
                    std::intptr_t lparam) = 0;
  // WM_CAP_FILE_SAVEDIBA: the library writes its current frame to path before returning.
  virtual void SendSaveDib(CaptureHandle wnd, const std::string& path) = 0;
  virtual void DestroyCaptureWindow(CaptureHandle wnd) = 0;
};

// Panel 0 of the status line.
class StatusPort {
 public:
  virtual ~StatusPort() = default;
  virtual void SetStatus0(const std::string& utf8) = 0;
};

// Loads a picture file into the photo; the picture keeps its content when this throws.
using PhotoLoader = std::function<void(Picture& photo, const std::string& path)>;
void LoadPhotoFromFile(Picture& photo, const std::string& path);

// The restore reads the file by its absolute path; app_folder already ends in a backslash, so
// the seam holds two of them, which the platform reads as one.
std::string RestorePath(const std::string& app_folder);

class CaptureController {
 public:
  CaptureController(CapturePort& port, StatusPort& status) : port_(port), status_(status) {}

  // The capture window snapshots go to while previewing; kNoCaptureWindow when idle.
  CaptureHandle CaptureWnd = kNoCaptureWindow;

  // Start preview in a child window of parent lying over Image3 (bounds in parent's client area,
  // read at the moment of the command). A window still previewing is disconnected and removed
  // first, since the driver serves one window; a stopped window goes once the new one stands.
  void StartPreview(const Rect& image3_bounds, std::uintptr_t parent);
  // Stop preview: disconnect; the stopped window stays on screen, no longer tracked.
  void StopPreview();
  // The stopped window still standing over Image3, or kNoCaptureWindow.
  CaptureHandle StoppedWindow() const { return stopped_; }
  // The main window is closing: release the driver; the window goes with its parent.
  void DisconnectOnClose();

  // Snapshot: the driver writes its frame to the photo file, which is read back as the photo.
  // A load error propagates; panel 0 then still reads the "taking" text and no repaint happens.
  void TakeSnapshot(Workspace& ws, const std::function<void()>& repaint,
                    const PhotoLoader& load = LoadPhotoFromFile);
  // Restore: reads the photo file again, dropping tone changes made since it was written.
  static void RestorePhoto(Workspace& ws, const std::string& app_folder,
                           const std::function<void()>& repaint,
                           const PhotoLoader& load = LoadPhotoFromFile);

 private:
  void ReleaseTrackedWindow();

  CapturePort& port_;
  StatusPort& status_;
  CaptureHandle stopped_ = kNoCaptureWindow;
};

}  // namespace coiffure
