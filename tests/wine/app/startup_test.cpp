// The program's start as the program runs it: the splash for its 3000 ms while nothing else
// shows, the start-up pictures, then the first show (library scan, folder restored, settings
// loaded) before the main window appears; and what the operator then sees, read back from the
// screen and compared with what the platform itself makes of the same files.
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/application_win.h"
#include "settings/form3_win.h"
#include "wine/wine_helpers.h"
#include "wine/wine_support.h"

namespace coiffure {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

// An application folder staged from the release folder (the tests' working folder): the photo
// and the default hairstyle, optionally three library styles, and no settings file.
class StagedApp {
 public:
  explicit StagedApp(bool with_library) {
    const fs::path release = fs::current_path();
    fs::remove_all(root_);
    fs::create_directories(root_ / L"ml_data");
    for (const wchar_t* f : {L"test.bmp", L"fx1.bmp", L"fx1mask.bmp"})
      fs::copy_file(release / L"ml_data" / f, root_ / L"ml_data" / f);
    if (with_library) {
      fs::create_directories(root_ / L"ml_fx");
      for (const wchar_t* f : {L"bob_black", L"afro_black", L"short_grey"}) {
        fs::copy_file(release / L"ml_fx" / (std::wstring(f) + L".bmp"),
                      root_ / L"ml_fx" / (std::wstring(f) + L".bmp"));
        fs::copy_file(release / L"ml_fx" / (std::wstring(f) + L"mask.bmp"),
                      root_ / L"ml_fx" / (std::wstring(f) + L"mask.bmp"));
      }
    }
  }
  ~StagedApp() {
    SetCurrentDirectoryW(saved_cwd_.c_str());
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  const fs::path& Root() const { return root_; }
  std::string Folder() const { return Narrow(root_.wstring()) + "\\"; }

 private:
  fs::path root_ = fs::temp_directory_path() / L"coiffure_start";
  fs::path saved_cwd_ = fs::current_path();
};

// What the platform's own directory search lists as library pictures, in its order.
std::vector<std::wstring> PlatformListing(const fs::path& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder / L"*.bmp").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring n = fd.cFileName;
    if (n[0] != L'.' && n.find(L"mask") == std::wstring::npos) names.push_back(n);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return names;
}

std::vector<std::wstring> GalleryCaptions(HWND lv) {
  std::vector<std::wstring> out;
  for (int i = 0; i < ListView_GetItemCount(lv); ++i) {
    wchar_t text[MAX_PATH] = {};
    ListView_GetItemText(lv, i, 0, text, MAX_PATH);
    out.push_back(text);
  }
  return out;
}

bool AnyVisible(const wchar_t* cls) {
  for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w;
       w = FindWindowExW(nullptr, w, cls, nullptr))
    if (IsWindowVisible(w)) return true;
  return false;
}

bool CentredOnScreen(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return std::abs(r.left + r.right - GetSystemMetrics(SM_CXSCREEN)) <= 1 &&
         std::abs(r.top + r.bottom - GetSystemMetrics(SM_CYSCREEN)) <= 1;
}

// Samples, from a thread timer that the splash's own message loop runs, what is on screen.
struct Sample {
  DWORD at;
  bool splash, main, splash_centred;
};
std::vector<Sample> g_samples;
DWORD g_start = 0;
void CALLBACK SampleScreen(HWND, UINT, UINT_PTR, DWORD) {
  HWND splash = FindWindowW(L"Tcsh", nullptr);
  g_samples.push_back({GetTickCount() - g_start, splash && IsWindowVisible(splash),
                       AnyVisible(L"TForm1"), splash && CentredOnScreen(splash)});
}

// The pixel of a BMP file as the platform decodes it.
class PlatformPicture {
 public:
  explicit PlatformPicture(const fs::path& file)
      : bmp_(static_cast<HBITMAP>(LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0,
                                             LR_LOADFROMFILE | LR_CREATEDIBSECTION))),
        dc_(CreateCompatibleDC(nullptr)),
        old_(SelectObject(dc_, bmp_)) {}
  ~PlatformPicture() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bmp_);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HBITMAP bmp_;
  HDC dc_;
  HGDIOBJ old_;
};

TEST(ProgramStart, SplashThenPicturesThenFirstShowBeforeTheWindowAppears) {
  StagedApp staged(true);
  bool main_visible_at_warning = true;
  std::vector<std::wstring> captions;
  SetMessageBoxHookForTests([&](HWND, const std::wstring&, const std::wstring& c, UINT) {
    captions.push_back(c);
    if (c == L"警告") main_visible_at_warning = AnyVisible(L"TForm1");
    return IDOK;
  });

  g_samples.clear();
  g_start = GetTickCount();
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, SampleScreen);
  auto app = std::make_unique<Application>(StartOptions{true, staged.Folder()});
  const DWORD created = GetTickCount() - g_start;
  KillTimer(nullptr, timer);
  TForm1& form = app->Form1();

  // The splash stood alone, centred, from the start for the whole 3000 ms.
  ASSERT_FALSE(g_samples.empty());
  DWORD first = UINT_MAX, last = 0;
  for (const Sample& s : g_samples) {
    EXPECT_FALSE(s.main) << s.at;
    if (s.splash) first = std::min(first, s.at), last = std::max(last, s.at);
    if (s.splash) {
      EXPECT_TRUE(s.splash_centred) << s.at;
    }
  }
  EXPECT_LE(first, 300u);
  EXPECT_GE(last, 2850u);
  EXPECT_GE(created, 2980u);
  EXPECT_LT(created, 8000u);
  EXPECT_FALSE(IsWindowVisible(FindWindowW(L"Tcsh", nullptr)));
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  EXPECT_TRUE(captions.empty());  // the three pictures loaded without an error
  // The splash's idle time made the library's thumbnails; nothing is listed before first show.
  EXPECT_GE(ImageList_GetImageCount(ListView_GetImageList(form.ListViewHandle(), LVSIL_NORMAL)), 3);
  EXPECT_EQ(ListView_GetItemCount(form.ListViewHandle()), 0);

  SetCurrentDirectoryW(L"C:\\");  // started from elsewhere
  form.Show();
  Pump();
  SetMessageBoxHookForTests(nullptr);

  // The settings warning came while the window was still hidden; then it appeared, centred.
  EXPECT_EQ(captions, std::vector<std::wstring>{L"警告"});
  EXPECT_FALSE(main_visible_at_warning);
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  EXPECT_TRUE(CentredOnScreen(form.Handle()));

  // First show: the library as the platform lists it, the folder back, the settings loaded.
  EXPECT_EQ(GalleryCaptions(form.ListViewHandle()), PlatformListing(staged.Root() / L"ml_fx"));
  EXPECT_EQ(fs::current_path(), staged.Root());
  EXPECT_EQ(testing::ReadBytes(staged.Folder() + "config.ini"), "[MIRALOOKCFG]\r\nbjs=0\r\n");
  EXPECT_EQ(testing::WindowText(app->Form3().Item(TForm3::kSpinEdit1)), "1000");

  // The screen: the photo exactly as the platform decodes the file, centred at (8, -34), teal
  // beside it, down to the paint box's last row above the status bar.
  const PlatformPicture photo(staged.Root() / L"ml_data" / L"test.bmp");
  HWND pb = form.PaintBoxHandle();
  for (const POINT p : {POINT{300, 100}, POINT{450, 20}, POINT{250, 400}, POINT{519, 443},
                        POINT{200, 443}, POINT{161, 300}})
    EXPECT_EQ(PixelAt(pb, p.x, p.y), photo.At(p.x - 8, p.y + 34)) << p.x << "," << p.y;
  EXPECT_EQ(PixelAt(pb, 7, 290), RGB(0, 128, 128));
  EXPECT_EQ(PixelAt(pb, 520, 443), RGB(0, 128, 128));
  EXPECT_EQ(StatusText(form.StatusBarHandle(), 0), L"状态:");
  EXPECT_EQ(StatusText(form.StatusBarHandle(), 1), L"图片位置");
  EXPECT_EQ(StatusText(form.StatusBarHandle(), 2), L"x:0  y:0");

  // Closed, the splash stays in memory, hidden, for the rest of the run.
  Pump();
  const HWND splash = FindWindowW(L"Tcsh", nullptr);
  ASSERT_NE(splash, nullptr);
  EXPECT_FALSE(IsWindowVisible(splash));
  app.reset();
  EXPECT_FALSE(IsWindow(splash));
}

TEST(ProgramStart, MissingLibraryFolderScansWhateverFolderIsCurrent) {
  StagedApp staged(false);
  testing::TempFolder elsewhere;
  ASSERT_TRUE(CopyFileW((staged.Root() / L"ml_data" / L"fx1.bmp").c_str(),
                        Widen(elsewhere.Path("here.bmp")).c_str(), FALSE));
  BoxRecorder boxes;
  Application app({false, staged.Folder()});
  SetCurrentDirectoryW(Widen(elsewhere.Path("")).c_str());
  app.Form1().Show();
  Pump();
  EXPECT_EQ(GalleryCaptions(app.Form1().ListViewHandle()), std::vector<std::wstring>{L"here.bmp"});
  EXPECT_EQ(fs::current_path(), staged.Root());
  // The settings step still ran: its warning, and the file it creates.
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, L"警告");
  EXPECT_TRUE(testing::FileExists(staged.Folder() + "config.ini"));
}

}  // namespace
}  // namespace coiffure
