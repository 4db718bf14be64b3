#include "capture/capture.h"

#include <utility>

namespace coiffure {

void LoadPhotoFromFile(Picture& photo, const std::string& path) {
  photo.LoadFromFile(path);
}

std::string RestorePath(const std::string& app_folder) {
  return app_folder + "\\ml_data\\test.bmp";
}

void CaptureController::ReleaseTrackedWindow() {
  if (CaptureWnd == kNoCaptureWindow) return;
  // Driver 0 serves one window at a time, and a window left connected would keep previewing
  // where no stop could reach it: disconnect before the window goes.
  port_.Send(CaptureWnd, capmsg::kDriverDisconnect, 0, 0);
  port_.DestroyCaptureWindow(CaptureWnd);
  CaptureWnd = kNoCaptureWindow;
}

void CaptureController::StartPreview(const Rect& image3_bounds, std::uintptr_t parent) {
  ReleaseTrackedWindow();
  CaptureWnd =
      port_.CreateCaptureWindow(kCaptureWindowName, kCaptureWindowStyle, image3_bounds.left,
                                image3_bounds.top, image3_bounds.right - image3_bounds.left,
                                image3_bounds.bottom - image3_bounds.top, parent, 0);
  if (CaptureWnd != kNoCaptureWindow) {
    // The new window covers the stopped one exactly; removing it keeps windows from piling up
    // over Image3. Should no window be made, the stopped one stays where it was.
    if (stopped_ != kNoCaptureWindow) port_.DestroyCaptureWindow(std::exchange(stopped_, 0));
    port_.Send(CaptureWnd, capmsg::kSetCallbackVideoStream, 0, 0);
    port_.Send(CaptureWnd, capmsg::kSetCallbackErrorA, 0, 0);
    port_.Send(CaptureWnd, capmsg::kSetCallbackStatusA, 0, 0);
    port_.Send(CaptureWnd, capmsg::kDriverConnect, 0, 0);
    port_.Send(CaptureWnd, capmsg::kSetScale, 2, 0);
    port_.Send(CaptureWnd, capmsg::kSetPreviewRate, 66, 0);
    port_.Send(CaptureWnd, capmsg::kSetOverlay, 1, 0);
    port_.Send(CaptureWnd, capmsg::kSetPreview, 1, 0);
  }
  // Shown also when no window could be made: the operator sees the command was taken.
  status_.SetStatus0(kStatusPreviewing);
}

void CaptureController::StopPreview() {
  if (CaptureWnd != kNoCaptureWindow) {
    // Disconnected, not destroyed: the stopped window stays on screen over Image3.
    port_.Send(CaptureWnd, capmsg::kDriverDisconnect, 0, 0);
    stopped_ = std::exchange(CaptureWnd, kNoCaptureWindow);
  }
  status_.SetStatus0(kStatusStopped);
}

void CaptureController::DisconnectOnClose() {
  if (CaptureWnd != kNoCaptureWindow) port_.Send(CaptureWnd, capmsg::kDriverDisconnect, 0, 0);
}

void CaptureController::TakeSnapshot(Workspace& ws, const std::function<void()>& repaint,
                                     const PhotoLoader& load) {
  status_.SetStatus0(kStatusSnapshotTaking);
  if (CaptureWnd != kNoCaptureWindow) port_.SendSaveDib(CaptureWnd, kSnapshotPath);
  // Without a preview the file already on disk is read, like a restore by the relative path.
  load(ws.Photo, kSnapshotPath);
  if (repaint) repaint();
  status_.SetStatus0(kStatusSnapshotDone);
}

void CaptureController::RestorePhoto(Workspace& ws, const std::string& app_folder,
                                     const std::function<void()>& repaint,
                                     const PhotoLoader& load) {
  load(ws.Photo, RestorePath(app_folder));
  if (repaint) repaint();
}

}  // namespace coiffure
