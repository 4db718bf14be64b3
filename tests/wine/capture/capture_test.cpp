// The capture commands against real windows: an in-process stand-in for the camera window
// records what it is sent and writes a generated frame when asked to save one; the status line
// is a real status bar read back through the control.
// clang-format off
#include <windows.h>  // first: the other platform headers build on it
// clang-format on
#include "capture/capture.h"

#include <commctrl.h>
#include <vfw.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "capture/avicap_win.h"
#include "toolkit/text_win.h"

namespace coiffure {
namespace {

constexpr char kFakeCamClass[] = "CoiffureTestCaptureWindow";
constexpr wchar_t kParentClass[] = L"CoiffureTestCaptureParent";

struct Received {
  HWND wnd;
  UINT msg;
  WPARAM wparam;
  LPARAM lparam;
};
struct Created {
  std::string name;
  DWORD style;
  int x, y, w, h;
  HWND parent;
  int id;
  HWND result;
};

std::vector<Received> g_received;
std::vector<Created> g_created;
std::vector<std::string> g_status_at_save;
HWND g_statusbar = nullptr;
int g_frames_saved = 0;

std::string Panel0(HWND bar) {
  const LRESULT len = SendMessageW(bar, SB_GETTEXTLENGTHW, 0, 0);
  std::wstring text(LOWORD(len) + 1, L'\0');
  SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(len));
  return Narrow(text);
}

// The frame the stand-in camera "sees"; each save gives a different one.
Picture TestFrame(int n) {
  Picture p = Picture::Create24(64, 48);
  for (int y = 0; y < p.Height(); ++y) {
    uint8_t* row = p.Row(y);
    for (int x = 0; x < p.Width(); ++x) {
      row[3 * x] = static_cast<uint8_t>(x * 3 + n);
      row[3 * x + 1] = static_cast<uint8_t>(y * 5);
      row[3 * x + 2] = static_cast<uint8_t>(200 - n);
    }
  }
  return p;
}

LRESULT CALLBACK FakeCamProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= WM_CAP_START && msg <= WM_CAP_START + 100) {
    g_received.push_back({wnd, msg, wp, lp});
    if (msg == WM_CAP_FILE_SAVEDIBA) {
      g_status_at_save.push_back(Panel0(g_statusbar));
      // Written where the path points, relative to the current folder, as the driver does.
      TestFrame(++g_frames_saved).SaveBmp24(reinterpret_cast<const char*>(lp));
    }
    return TRUE;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

HWND FakeCamFactory(const char* name, DWORD style, int x, int y, int w, int h, HWND parent,
                    int id) {
  HWND wnd = CreateWindowExA(0, kFakeCamClass, name, style, x, y, w, h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
  g_created.push_back({name, style, x, y, w, h, parent, id, wnd});
  return wnd;
}

void RegisterClassesOnce() {
  static bool done = false;
  if (done) return;
  WNDCLASSA cam{};
  cam.lpfnWndProc = FakeCamProc;
  cam.hInstance = GetModuleHandleW(nullptr);
  cam.lpszClassName = kFakeCamClass;
  cam.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  ASSERT_NE(RegisterClassA(&cam), 0);
  WNDCLASSW parent{};
  parent.lpfnWndProc = DefWindowProcW;
  parent.hInstance = GetModuleHandleW(nullptr);
  parent.lpszClassName = kParentClass;
  ASSERT_NE(RegisterClassW(&parent), 0);
  done = true;
}

int CountChildrenOfClass(HWND parent, const char* cls) {
  int n = 0;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char name[64] = {};
    GetClassNameA(c, name, sizeof(name));
    if (lstrcmpiA(name, cls) == 0) ++n;
  }
  return n;
}

int CountChildren(HWND parent) {
  int n = 0;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++n;
  return n;
}

std::vector<std::pair<UINT, WPARAM>> MessagesTo(HWND wnd) {
  std::vector<std::pair<UINT, WPARAM>> out;
  for (const Received& r : g_received)
    if (r.wnd == wnd) out.emplace_back(r.msg, r.wparam);
  return out;
}

bool SamePixels(const Picture& a, const Picture& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (!(a.PixelBgr(x, y) == b.PixelBgr(x, y))) return false;
  return true;
}

class CaptureWin : public testing::Test {
 protected:
  void SetUp() override {
    RegisterClassesOnce();
    g_received.clear();
    g_created.clear();
    g_status_at_save.clear();
    g_frames_saved = 0;
    SetCaptureWindowFactoryForTests(FakeCamFactory);

    // A scratch application folder with its ml_data, made the current folder.
    wchar_t buf[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, buf);
    saved_cwd_ = buf;
    GetTempPathW(MAX_PATH, buf);
    folder_ = std::wstring(buf) + L"coiffure_capture_" + std::to_wstring(GetCurrentProcessId());
    // A run that died half way may have left the folders behind.
    CreateDirectoryW(folder_.c_str(), nullptr);
    CreateDirectoryW((folder_ + L"\\ml_data").c_str(), nullptr);
    DeleteFileW(PhotoFile().c_str());
    ASSERT_NE(GetFileAttributesW((folder_ + L"\\ml_data").c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));

    main_ = CreateWindowExW(0, kParentClass, L"主窗口", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30,
                            700, 560, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(main_, nullptr);
    image3_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 321, 160, 146, main_,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, main_,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(bar_, nullptr);
    int parts[3] = {200, 400, -1};
    SendMessageW(bar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    g_statusbar = bar_;
    status_.Attach(bar_);

    ws_.Reset();
    ws_.Photo = Picture::Create24(5, 5, {11, 22, 33});
    ws_.HairImage = Picture::Create24(8, 8, {90, 80, 70});
    ws_.SetHairRect({30, 40, 130, 240});
    ws_.UpdateHandles();
  }

  void TearDown() override {
    SetCaptureWindowFactoryForTests(nullptr);
    if (main_) DestroyWindow(main_);
    g_statusbar = nullptr;
    SetCurrentDirectoryW(saved_cwd_.c_str());
    DeleteFileW(PhotoFile().c_str());
    RemoveDirectoryW((folder_ + L"\\ml_data").c_str());
    RemoveDirectoryW(folder_.c_str());
  }

  std::wstring PhotoFile() const { return folder_ + L"\\ml_data\\test.bmp"; }
  void Start() { ctl_.StartPreview(BoundsInParent(image3_), ToCaptureParent(main_)); }
  std::function<void()> Repaint() {
    return [this] {
      ++repaints_;
      InvalidateRect(main_, nullptr, FALSE);
    };
  }
  HWND Tracked() const { return reinterpret_cast<HWND>(ctl_.CaptureWnd); }

  std::wstring saved_cwd_, folder_;
  HWND main_ = nullptr, image3_ = nullptr, bar_ = nullptr;
  AvicapPort port_;
  StatusBarPanel0 status_;
  CaptureController ctl_{port_, status_};
  Workspace ws_;
  int repaints_ = 0;
};

const std::vector<std::pair<UINT, WPARAM>> kStartMessages = {
    {1030, 0}, {1026, 0}, {1027, 0}, {1034, 0}, {1077, 2}, {1076, 66}, {1075, 1}, {1074, 1}};

TEST_F(CaptureWin, PreviewWindowLiesOverImage3AndStopLeavesItThere) {
  Start();
  ASSERT_EQ(g_created.size(), 1u);
  const Created& c = g_created[0];
  EXPECT_EQ(c.name, "My Own Capture Window");
  EXPECT_EQ(c.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
  EXPECT_EQ((std::vector<int>{c.x, c.y, c.w, c.h}), (std::vector<int>{0, 321, 160, 146}));
  EXPECT_EQ(c.parent, main_);
  EXPECT_EQ(c.id, 0);

  HWND cam = Tracked();
  ASSERT_NE(cam, nullptr);
  EXPECT_EQ(cam, c.result);
  EXPECT_EQ(GetParent(cam), main_);
  EXPECT_TRUE(IsWindowVisible(cam));
  EXPECT_EQ(BoundsInParent(cam), (Rect{0, 321, 160, 467}));
  EXPECT_EQ(GetWindow(main_, GW_CHILD), cam);  // above Image3 and every other sibling
  EXPECT_EQ(MessagesTo(cam), kStartMessages);
  for (const Received& r : g_received) EXPECT_EQ(r.lparam, 0);
  EXPECT_EQ(Panel0(bar_), "状态：正在监控...");

  g_received.clear();
  ctl_.StopPreview();
  EXPECT_EQ(MessagesTo(cam), (std::vector<std::pair<UINT, WPARAM>>{{1035, 0}}));
  EXPECT_EQ(g_received.size(), 1u);
  EXPECT_EQ(ctl_.CaptureWnd, kNoCaptureWindow);
  EXPECT_EQ(Panel0(bar_), "状态：停止监控.");
  // Disconnected but not destroyed: the stopped window still covers Image3.
  EXPECT_TRUE(IsWindowVisible(cam));
  EXPECT_EQ(GetWindow(main_, GW_CHILD), cam);

  // The next start replaces it, so one capture window stands there, not two.
  Start();
  EXPECT_FALSE(IsWindow(cam));
  EXPECT_EQ(CountChildrenOfClass(main_, kFakeCamClass), 1);
}

TEST_F(CaptureWin, RepeatedStartKeepsOneConnectedWindowAndCloseDisconnectsIt) {
  Start();
  HWND first = Tracked();
  Start();
  HWND second = Tracked();
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(CountChildrenOfClass(main_, kFakeCamClass), 1);
  auto first_expected = kStartMessages;
  first_expected.emplace_back(1035, 0);
  EXPECT_EQ(MessagesTo(first), first_expected);
  EXPECT_EQ(MessagesTo(second), kStartMessages);

  g_received.clear();
  ctl_.DisconnectOnClose();
  ASSERT_EQ(g_received.size(), 1u);
  EXPECT_EQ(g_received[0].wnd, second);
  EXPECT_EQ(g_received[0].msg, static_cast<UINT>(WM_CAP_DRIVER_DISCONNECT));
  // Closing leaves the window to its parent and the status line as it was.
  EXPECT_TRUE(IsWindow(second));
  EXPECT_EQ(Tracked(), second);
  EXPECT_EQ(Panel0(bar_), "状态：正在监控...");
}

TEST_F(CaptureWin, SnapshotReplacesThePhotoAndRestoreUndoesToneChanges) {
  Start();
  HWND cam = Tracked();
  g_received.clear();

  ctl_.TakeSnapshot(ws_, Repaint());
  ASSERT_EQ(g_received.size(), 1u);
  EXPECT_EQ(g_received[0].wnd, cam);
  EXPECT_EQ(g_received[0].msg, static_cast<UINT>(WM_CAP_FILE_SAVEDIBA));
  EXPECT_EQ(g_received[0].wparam, 0u);
  EXPECT_EQ(g_status_at_save, (std::vector<std::string>{"状态：暂停，正在拍照."}));
  EXPECT_EQ(Panel0(bar_), "状态：暂停，拍照完成.");
  EXPECT_EQ(repaints_, 1);
  EXPECT_NE(GetFileAttributesW(PhotoFile().c_str()), INVALID_FILE_ATTRIBUTES);
  const Picture frame = TestFrame(1);
  EXPECT_TRUE(SamePixels(ws_.Photo, frame));
  EXPECT_EQ(ws_.HairRect(), (Rect{30, 40, 130, 240}));
  EXPECT_EQ(ws_.HairImage.PixelBgr(7, 7), (Bgr{90, 80, 70}));
  EXPECT_EQ(Tracked(), cam);  // the preview keeps running

  // A tone change in memory, then the reload by the absolute path with its doubled separator.
  for (int y = 0; y < ws_.Photo.Height(); ++y)
    for (size_t i = 0; i < ws_.Photo.Stride(); ++i) ws_.Photo.Row(y)[i] ^= 0x5A;
  ASSERT_FALSE(SamePixels(ws_.Photo, frame));
  const std::string app_folder = Narrow(folder_) + "\\";
  CaptureController::RestorePhoto(ws_, app_folder, Repaint());
  EXPECT_TRUE(SamePixels(ws_.Photo, frame));
  EXPECT_EQ(repaints_, 2);
  EXPECT_EQ(Panel0(bar_), "状态：暂停，拍照完成.");
  EXPECT_EQ(g_received.size(), 1u);

  // A second snapshot takes the next frame.
  ctl_.TakeSnapshot(ws_, Repaint());
  EXPECT_TRUE(SamePixels(ws_.Photo, TestFrame(2)));
}

TEST_F(CaptureWin, SnapshotWithMissingFileReportsItAndKeepsTheFirstText) {
  std::string message;
  try {
    ctl_.TakeSnapshot(ws_, Repaint());
  } catch (const PictureError& e) {
    message = e.what();
  }
  EXPECT_EQ(message, "Cannot open file .\\ml_data\\test.bmp");
  EXPECT_EQ(Panel0(bar_), "状态：暂停，正在拍照.");
  EXPECT_EQ(repaints_, 0);
  EXPECT_EQ(ws_.Photo.Width(), 5);
  EXPECT_EQ(ws_.Photo.PixelBgr(4, 4), (Bgr{11, 22, 33}));
  EXPECT_TRUE(g_received.empty());
}

TEST_F(CaptureWin, PlatformLibraryWithoutDeviceGivesTheNoWindowBehaviour) {
  SetCaptureWindowFactoryForTests(nullptr);
  const Picture on_disk = TestFrame(7);
  on_disk.SaveBmp24(".\\ml_data\\test.bmp");

  Start();
  EXPECT_TRUE(g_created.empty());
  EXPECT_EQ(Panel0(bar_), "状态：正在监控...");
  if (ctl_.CaptureWnd == kNoCaptureWindow) {
    // No device (as under Wine): nothing was made and the snapshot reads the file on disk.
    EXPECT_EQ(CountChildren(main_), 2);  // Image3 and the status bar only
    ctl_.TakeSnapshot(ws_, Repaint());
    EXPECT_TRUE(SamePixels(ws_.Photo, on_disk));
    EXPECT_EQ(Panel0(bar_), "状态：暂停，拍照完成.");
  } else {
    // A machine with a camera: the library's window lies over Image3.
    EXPECT_EQ(GetParent(Tracked()), main_);
    EXPECT_EQ(BoundsInParent(Tracked()), (Rect{0, 321, 160, 467}));
  }
  ctl_.StopPreview();
  EXPECT_EQ(ctl_.CaptureWnd, kNoCaptureWindow);
  EXPECT_EQ(Panel0(bar_), "状态：停止监控.");
}

}  // namespace
}  // namespace coiffure
