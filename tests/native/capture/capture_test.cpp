#include "capture/capture.h"

#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace coiffure {
namespace {

using Log = std::vector<std::string>;

// Records every call to the capture library and the status line in one log, so that tests see
// the order across both.
class FakeCapture : public CapturePort, public StatusPort {
 public:
  std::deque<CaptureHandle> next_windows;  // what successive creations return; 0 = failure
  Log log;

  CaptureHandle CreateCaptureWindow(const std::string& name, uint32_t style, int x, int y,
                                    int width, int height, std::uintptr_t parent, int id) override {
    CaptureHandle h = 0;
    if (!next_windows.empty()) {
      h = next_windows.front();
      next_windows.pop_front();
    }
    log.push_back("create '" + name + "' style=" + std::to_string(style) + " " + std::to_string(x) +
                  "," + std::to_string(y) + " " + std::to_string(width) + "x" +
                  std::to_string(height) + " parent=" + std::to_string(parent) +
                  " id=" + std::to_string(id) + " -> " + std::to_string(h));
    return h;
  }
  void Send(CaptureHandle wnd, uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) override {
    log.push_back("send " + std::to_string(wnd) + " " + std::to_string(msg) + " " +
                  std::to_string(wparam) + " " + std::to_string(lparam));
  }
  void SendSaveDib(CaptureHandle wnd, const std::string& path) override {
    log.push_back("savedib " + std::to_string(wnd) + " " + path);
  }
  void DestroyCaptureWindow(CaptureHandle wnd) override {
    log.push_back("destroy " + std::to_string(wnd));
  }
  void SetStatus0(const std::string& utf8) override { log.push_back("status " + utf8); }
};

// The eight start messages with their wParams, written out independently of the constants.
Log StartMessages(CaptureHandle h) {
  const std::string w = std::to_string(h);
  return {"send " + w + " 1030 0 0", "send " + w + " 1026 0 0", "send " + w + " 1027 0 0",
          "send " + w + " 1034 0 0", "send " + w + " 1077 2 0", "send " + w + " 1076 66 0",
          "send " + w + " 1075 1 0", "send " + w + " 1074 1 0"};
}

std::string Create(int x, int y, int w, int h, CaptureHandle result) {
  // WS_CHILD | WS_VISIBLE = 0x50000000
  return "create 'My Own Capture Window' style=1342177280 " + std::to_string(x) + "," +
         std::to_string(y) + " " + std::to_string(w) + "x" + std::to_string(h) +
         " parent=77 id=0 -> " + std::to_string(result);
}

Log Concat(std::initializer_list<Log> parts) {
  Log out;
  for (const Log& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

const Rect kImage3{0, 321, 160, 467};
const std::string kPreviewing = "status 状态：正在监控...";
const std::string kStopped = "status 状态：停止监控.";
const std::string kTaking = "status 状态：暂停，正在拍照.";
const std::string kDone = "status 状态：暂停，拍照完成.";

class CapturePreviewTest : public testing::Test {
 protected:
  FakeCapture fake;
  CaptureController ctl{fake, fake};
};

TEST_F(CapturePreviewTest, StartCreatesTheWindowOverImage3AndSwitchesPreviewOn) {
  fake.next_windows = {5};
  ctl.StartPreview(kImage3, 77);
  EXPECT_EQ(ctl.CaptureWnd, 5u);
  EXPECT_EQ(fake.log, Concat({{Create(0, 321, 160, 146, 5)}, StartMessages(5), {kPreviewing}}));

  // The bounds are whatever Image3 has at the moment of the command.
  fake.log.clear();
  fake.next_windows = {6};
  ctl.StopPreview();
  fake.log.clear();
  ctl.StartPreview(Rect{-4, 10, 96, 60}, 77);
  EXPECT_EQ(fake.log.front(), Create(-4, 10, 100, 50, 6));
}

TEST_F(CapturePreviewTest, StartWithoutADeviceSendsNothingButStillReportsPreviewing) {
  fake.next_windows = {0};
  ctl.StartPreview(kImage3, 77);
  EXPECT_EQ(ctl.CaptureWnd, kNoCaptureWindow);
  EXPECT_EQ(fake.log, (Log{Create(0, 321, 160, 146, 0), kPreviewing}));

  // Nothing is tracked, so stop only sets its text.
  fake.log.clear();
  ctl.StopPreview();
  EXPECT_EQ(fake.log, (Log{kStopped}));
}

TEST_F(CapturePreviewTest, StopDisconnectsOnceAndKeepsTheStoppedWindow) {
  fake.next_windows = {5};
  ctl.StartPreview(kImage3, 77);
  fake.log.clear();

  ctl.StopPreview();
  EXPECT_EQ(ctl.CaptureWnd, kNoCaptureWindow);
  EXPECT_EQ(ctl.StoppedWindow(), 5u);
  EXPECT_EQ(fake.log, (Log{"send 5 1035 0 0", kStopped}));

  // A second stop has nothing left to disconnect.
  fake.log.clear();
  ctl.StopPreview();
  EXPECT_EQ(fake.log, (Log{kStopped}));
}

TEST_F(CapturePreviewTest, StopWithoutStartOnlySetsTheText) {
  ctl.StopPreview();
  EXPECT_EQ(ctl.CaptureWnd, kNoCaptureWindow);
  EXPECT_EQ(fake.log, (Log{kStopped}));
}

TEST_F(CapturePreviewTest, RestartReleasesThePreviousWindowBeforeCreatingTheNext) {
  fake.next_windows = {5, 6};
  ctl.StartPreview(kImage3, 77);
  fake.log.clear();

  ctl.StartPreview(kImage3, 77);
  EXPECT_EQ(ctl.CaptureWnd, 6u);
  EXPECT_EQ(fake.log, Concat({{"send 5 1035 0 0", "destroy 5", Create(0, 321, 160, 146, 6)},
                              StartMessages(6),
                              {kPreviewing}}));

  // Stop now reaches the only window there is.
  fake.log.clear();
  ctl.StopPreview();
  EXPECT_EQ(fake.log, (Log{"send 6 1035 0 0", kStopped}));
}

TEST_F(CapturePreviewTest, RestartThatCannotCreateLeavesNothingBehind) {
  fake.next_windows = {5, 0};
  ctl.StartPreview(kImage3, 77);
  fake.log.clear();

  ctl.StartPreview(kImage3, 77);
  EXPECT_EQ(ctl.CaptureWnd, kNoCaptureWindow);
  EXPECT_EQ(fake.log,
            (Log{"send 5 1035 0 0", "destroy 5", Create(0, 321, 160, 146, 0), kPreviewing}));
}

TEST_F(CapturePreviewTest, StartAfterStopReplacesTheStoppedWindowOnceANewOneStands) {
  fake.next_windows = {5, 0, 6};
  ctl.StartPreview(kImage3, 77);
  ctl.StopPreview();
  fake.log.clear();

  // No window could be made: the stopped one stays.
  ctl.StartPreview(kImage3, 77);
  EXPECT_EQ(fake.log, (Log{Create(0, 321, 160, 146, 0), kPreviewing}));
  EXPECT_EQ(ctl.StoppedWindow(), 5u);

  fake.log.clear();
  ctl.StartPreview(kImage3, 77);
  EXPECT_EQ(ctl.CaptureWnd, 6u);
  EXPECT_EQ(ctl.StoppedWindow(), kNoCaptureWindow);
  EXPECT_EQ(fake.log,
            Concat({{Create(0, 321, 160, 146, 6), "destroy 5"}, StartMessages(6), {kPreviewing}}));
}

TEST_F(CapturePreviewTest, CloseDisconnectsTheTrackedWindowOnlyAndChangesNothingElse) {
  ctl.DisconnectOnClose();
  EXPECT_TRUE(fake.log.empty());

  fake.next_windows = {5};
  ctl.StartPreview(kImage3, 77);
  fake.log.clear();
  ctl.DisconnectOnClose();
  EXPECT_EQ(fake.log, (Log{"send 5 1035 0 0"}));
  EXPECT_EQ(ctl.CaptureWnd, 5u);
}

class SnapshotTest : public CapturePreviewTest {
 protected:
  Workspace ws;
  int repaints = 0;
  std::function<void()> repaint = [this] {
    ++repaints;
    fake.log.push_back("repaint");
  };
  // Stands in for the file: loads a 3x2 picture of the given colour and logs the path.
  PhotoLoader FrameLoader(Bgr colour) {
    return [this, colour](Picture& photo, const std::string& path) {
      fake.log.push_back("load " + path);
      photo = Picture::Create24(3, 2, colour);
    };
  }

  void SetUp() override {
    ws.Reset();
    ws.Photo = Picture::Create24(4, 4, {1, 2, 3});
    ws.HairImage = Picture::Create24(2, 2, {9, 9, 9});
    ws.SetHairRect({10, 20, 110, 220});
    ws.UpdateHandles();
    ws.HairSelected = true;
  }
  void ExpectHairUntouched() {
    EXPECT_EQ(ws.HairRect(), (Rect{10, 20, 110, 220}));
    EXPECT_TRUE(ws.HairSelected);
    EXPECT_EQ(ws.HairImage.Width(), 2);
    EXPECT_EQ(ws.HairImage.PixelBgr(1, 1), (Bgr{9, 9, 9}));
  }
};

TEST_F(SnapshotTest, WhilePreviewingTheFrameIsSavedThenReadBackAsThePhoto) {
  fake.next_windows = {5};
  ctl.StartPreview(kImage3, 77);
  fake.log.clear();

  ctl.TakeSnapshot(ws, repaint, FrameLoader({50, 60, 70}));
  EXPECT_EQ(fake.log, (Log{kTaking, "savedib 5 .\\ml_data\\test.bmp", "load .\\ml_data\\test.bmp",
                           "repaint", kDone}));
  EXPECT_EQ(ws.Photo.Width(), 3);
  EXPECT_EQ(ws.Photo.PixelBgr(2, 1), (Bgr{50, 60, 70}));
  ExpectHairUntouched();
  // The preview goes on: the window is still the one snapshots go to.
  EXPECT_EQ(ctl.CaptureWnd, 5u);
}

TEST_F(SnapshotTest, WithoutPreviewTheFileOnDiskIsReadAndBothTextsShow) {
  ctl.TakeSnapshot(ws, repaint, FrameLoader({7, 8, 9}));
  EXPECT_EQ(fake.log, (Log{kTaking, "load .\\ml_data\\test.bmp", "repaint", kDone}));
  EXPECT_EQ(ws.Photo.PixelBgr(0, 0), (Bgr{7, 8, 9}));

  // After a stop the snapshot no longer addresses the stopped window.
  fake.next_windows = {5};
  ctl.StartPreview(kImage3, 77);
  ctl.StopPreview();
  fake.log.clear();
  ctl.TakeSnapshot(ws, repaint, FrameLoader({7, 8, 9}));
  EXPECT_EQ(fake.log, (Log{kTaking, "load .\\ml_data\\test.bmp", "repaint", kDone}));
}

TEST_F(SnapshotTest, MissingFileStopsAfterTheFirstTextAndKeepsThePhoto) {
  // The real loader: no file of that name exists where the tests run.
  try {
    ctl.TakeSnapshot(ws, repaint);
    FAIL() << "no error raised";
  } catch (const PictureError& e) {
    EXPECT_STREQ(e.what(), "Cannot open file .\\ml_data\\test.bmp");
  }
  EXPECT_EQ(fake.log, (Log{kTaking}));
  EXPECT_EQ(repaints, 0);
  EXPECT_EQ(ws.Photo.Width(), 4);
  EXPECT_EQ(ws.Photo.PixelBgr(3, 3), (Bgr{1, 2, 3}));
  ExpectHairUntouched();
}

TEST_F(SnapshotTest, RestoreReadsTheAbsolutePathWithoutStatusOrCaptureMessages) {
  fake.next_windows = {5};
  ctl.StartPreview(kImage3, 77);
  fake.log.clear();

  CaptureController::RestorePhoto(ws, "C:\\Salon\\", repaint, FrameLoader({4, 5, 6}));
  EXPECT_EQ(fake.log, (Log{"load C:\\Salon\\\\ml_data\\test.bmp", "repaint"}));
  EXPECT_EQ(ws.Photo.PixelBgr(1, 0), (Bgr{4, 5, 6}));
  ExpectHairUntouched();
}

TEST_F(SnapshotTest, RestoreFailureKeepsThePhotoAndSkipsTheRepaint) {
  EXPECT_THROW(CaptureController::RestorePhoto(ws, "/nonexistent-coiffure/", repaint),
               PictureError);
  EXPECT_EQ(repaints, 0);
  EXPECT_EQ(ws.Photo.PixelBgr(0, 0), (Bgr{1, 2, 3}));
  EXPECT_EQ(RestorePath("D:\\a b\\"), "D:\\a b\\\\ml_data\\test.bmp");
}

}  // namespace
}  // namespace coiffure
