// The desk's window while it works: it answers at once throughout a batch of camera-sized
// pictures, and the batch can be stopped.
#include <windows.h>

#include <wincodec.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

#include "desk/desk_window_win.h"
#include "desk/library_folder_win.h"
#include "pictures/wic_win.h"
#include "toolkit/text_win.h"
#include "wine/desk/desk_support.h"
#include "wine/picture_files.h"
#include "wine/wine_helpers.h"
#include "wine/wine_support.h"

namespace coiffure {
namespace {

using namespace testing;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// Asks the window every 100 ms, from a thread of its own, as the platform's hang detection does,
// and keeps the longest wait for an answer and the longest time between two answers.
class Probe {
 public:
  explicit Probe(HWND window) : thread_([this, window] { Run(window); }) {}
  ~Probe() { Stop(); }
  // Answers the question it may be waiting on, so that it can end.
  void Stop() {
    stop_ = true;
    while (!ended_) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      testing_support::Pump();
    }
    if (thread_.joinable()) thread_.join();
  }
  double LongestAnswer() const { return longest_answer_; }
  double LongestGap() const { return longest_gap_; }
  int Answers() const { return answers_; }

 private:
  void Run(HWND window) {
    Clock::time_point last = Clock::now();
    while (!stop_) {
      const Clock::time_point asked = Clock::now();
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
      longest_answer_ = std::max(longest_answer_.load(), MsSince(asked));
      longest_gap_ = std::max(longest_gap_.load(), MsSince(last));
      last = Clock::now();
      ++answers_;
      std::this_thread::sleep_until(asked + std::chrono::milliseconds(100));
    }
    ended_ = true;
  }

  std::atomic<bool> stop_{false}, ended_{false};
  std::atomic<double> longest_answer_{0}, longest_gap_{0};
  std::atomic<int> answers_{0};
  std::thread thread_;
};

// The processor time this thread has had, user and kernel.
double ThreadCpuMs() {
  FILETIME created, ended, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
  const auto ms = [](FILETIME t) {
    return static_cast<double>(ULONGLONG{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

// A camera's picture of a wig on a plain backdrop, as the testers dropped them.
RgbaImage WigPhoto(int w, int h) {
  RgbaImage img = Plain(w, h, {235, 238, 240, 255});
  for (int y = h / 6; y < h * 5 / 6; ++y)
    for (int x = w / 4; x < w * 3 / 4; ++x) {
      const double dx = (x - w / 2.0) / (w / 4.0), dy = (y - h / 2.0) / (h / 3.0);
      if (dx * dx + dy * dy > 1) continue;
      uint8_t* p = img.Pixel(x, y);
      const uint8_t level = static_cast<uint8_t>(30 + (x * 7 + y * 3) % 60);
      p[0] = level, p[1] = static_cast<uint8_t>(level + 10),
      p[2] = static_cast<uint8_t>(level + 25);
    }
  return img;
}

class DeskWork : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(Widen(folder.Path("ml_data")).c_str(), nullptr);
    Picture::Create24(529, 444, {40, 160, 220}).SaveBmp24(folder.Path("ml_data\\test.bmp"));
    ASSERT_TRUE(window.Create());
    ShowWindow(window.Handle(), SW_SHOW);
    UpdateWindow(window.Handle());
  }

  // n copies of one 2400 x 1600 JPEG, each under a name of its own.
  std::vector<std::string> Jpegs(int n) {
    const std::string first = folder.Path("wig_1.jpg");
    WriteWithWic(first, GUID_ContainerFormatJpeg, WigPhoto(2400, 1600));
    std::vector<std::string> files{first};
    for (int i = 2; i <= n; ++i) {
      files.push_back(folder.Path("wig_" + std::to_string(i) + ".jpg"));
      CopyFileW(Widen(first).c_str(), Widen(files.back()).c_str(), FALSE);
    }
    return files;
  }

  // Runs the window's messages until it has this many rows.
  void PumpUntilRows(size_t rows) {
    const Clock::time_point start = Clock::now();
    while (window.Rows().size() < rows && MsSince(start) < 120000) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      testing_support::Pump();
    }
  }

  void Drop(const std::vector<std::string>& files) {
    SendMessageW(window.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
  }

  // Rows of files imported, then of files stopped before their turn, and the library holding
  // exactly the pairs imported, nothing half-written.
  void ExpectImportedThenStopped(size_t files) {
    ASSERT_EQ(window.Rows().size(), files);
    size_t imported = 0;
    while (imported < files && window.Rows()[imported].ok) ++imported;
    EXPECT_GE(imported, 2u);
    EXPECT_LT(imported, files) << "stopped after the file under way";
    std::vector<std::string> want;
    for (size_t i = 0; i < files; ++i) {
      const std::string stem = "wig_" + std::to_string(i + 1);
      if (i < imported) {
        EXPECT_EQ(window.Rows()[i].result, "已导入为 " + stem + ".bmp");
        want.insert(want.end(), {stem + ".bmp", stem + "mask.bmp"});
      } else {
        EXPECT_EQ(window.Rows()[i].result, "未导入：已停止") << i;
      }
    }
    std::sort(want.begin(), want.end());
    EXPECT_EQ(FilesIn(folder.Path("ml_fx")), want);
  }

  TempFolder folder;
  ScopedCom com;
  WicPictureSource wic;
  const std::string library = folder.Path("ml_fx") + "\\";
  Win32LibraryFolder lib{library}, photos{folder.Path("ml_data") + "\\"};
  DeskWindow window{wic, {lib, library, photos, folder.Path("ml_data\\test.bmp")}, false};
};

TEST_F(DeskWork, TheWindowAnswersAtOnceThroughoutABatchOfCameraPictures) {
  const char* asked = std::getenv("COIFFURE_PROBE_FILES");  // 100 for the figure of the README
  const int n = asked ? std::atoi(asked) : 40;
  const std::vector<std::string> files = Jpegs(n);
  Probe probe(window.Handle());
  const double cpu_before = ThreadCpuMs();
  const Clock::time_point start = Clock::now();
  Drop(files);
  PumpUntilRows(files.size());
  const double batch = MsSince(start);
  const double cpu = ThreadCpuMs() - cpu_before;
  probe.Stop();
  std::printf(
      "%d files in %.0f ms, the window's thread busy %.0f ms of it; longest answer %.0f ms, "
      "longest gap %.0f ms (%d answers)\n",
      n, batch, cpu, probe.LongestAnswer(), probe.LongestGap(), probe.Answers());
  ASSERT_EQ(window.Rows().size(), files.size());
  EXPECT_EQ(window.Rows().back().result, "已导入为 wig_" + std::to_string(n) + ".bmp");
  EXPECT_LT(probe.LongestAnswer(), 100);
  EXPECT_LT(probe.LongestGap(), 300);
}

// Stopped by its access key, as the keyboard does it through the window's dialog keys.
TEST_F(DeskWork, StopEndsTheBatchAfterTheFileUnderWayAndEveryOtherFileSaysSo) {
  const std::vector<std::string> files = Jpegs(12);
  Drop(files);
  PumpUntilRows(2);
  EXPECT_TRUE(IsWindowEnabled(window.StopButton()));
  EXPECT_EQ(WindowText(window.Status()).rfind("正在导入 ", 0), 0u) << WindowText(window.Status());
  for (UINT msg : {WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP}) {
    MSG m{GetFocus(), msg, static_cast<WPARAM>(msg == WM_SYSCHAR ? 's' : 'S'),
          msg == WM_SYSKEYUP ? 0xE0000001 : 0x20000001};
    if (!IsDialogMessageW(window.Handle(), &m)) DispatchMessageW(&m);
  }
  WaitForWork(window);
  ExpectImportedThenStopped(files.size());
  EXPECT_EQ(WindowText(window.Status()).rfind("已停止：已导入 ", 0), 0u)
      << WindowText(window.Status());
  EXPECT_FALSE(IsWindowEnabled(window.StopButton()));
}

TEST_F(DeskWork, ClosingDuringABatchStopsItTheSameWayThenCloses) {
  const std::vector<std::string> files = Jpegs(12);
  Drop(files);
  PumpUntilRows(2);
  SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(window.Busy() && window.Handle()) << "open until the file under way is done";
  for (const Clock::time_point start = Clock::now(); window.Handle() && MsSince(start) < 60000;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    testing_support::Pump();
  }
  EXPECT_EQ(window.Handle(), nullptr);
  ExpectImportedThenStopped(files.size());
}

}  // namespace
}  // namespace coiffure
