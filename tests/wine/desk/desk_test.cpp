// The picture desk on the platform: the customer photo made by the real program, two programs
// importing side by side, and the window's preview read back from the screen.
#include <windows.h>

#include <wincodec.h>

#include <gtest/gtest.h>

#include "desk/desk_window_win.h"
#include "desk/library_folder_win.h"
#include "import/customer_photo.h"
#include "native/exif_builder.h"
#include "pictures/wic_win.h"
#include "resource.h"
#include "toolkit/text_win.h"
#include "wine/desk/desk_support.h"
#include "wine/picture_files.h"
#include "wine/wine_helpers.h"
#include "wine/wine_support.h"

namespace coiffure {
namespace {

using namespace testing;

std::wstring Quoted(const std::string& path) {
  return L" \"" + Widen(path) + L"\"";
}

// An upright portrait: the top third red, below it the left quarter green and the rest blue.
Bgr PortraitAt(int x, int y, int w, int h) {
  if (y < h / 3) return {0, 0, 255};
  return x < w / 4 ? Bgr{0, 255, 0} : Bgr{255, 0, 0};
}

// The portrait as a phone held upright stores it with orientation 6: a quarter turn
// anticlockwise, the upright picture's right side along the stored top row.
RgbaImage StoredSideways(int w, int h) {
  RgbaImage stored = RgbaImage::Create(h, w);
  for (int r = 0; r < w; ++r)
    for (int c = 0; c < h; ++c) {
      const Bgr p = PortraitAt(w - 1 - r, c, w, h);
      uint8_t* d = stored.Pixel(c, r);
      d[0] = p.b, d[1] = p.g, d[2] = p.r, d[3] = 255;
    }
  return stored;
}

void ExpectNear(Bgr got, Bgr want, const std::string& where) {
  EXPECT_NEAR(got.b, want.b, 24) << where;
  EXPECT_NEAR(got.g, want.g, 24) << where;
  EXPECT_NEAR(got.r, want.r, 24) << where;
}

TEST(DeskPhoto, APhoneJpegLyingSidewaysBecomesAnUprightFittedPhotoAndARefusalKeepsTheOld) {
  TempFolder folder;
  const std::string exe = StageImportProgram(folder.Path(""));
  const std::string phone = folder.Path("phone.jpg"), photo = folder.Path("ml_data\\test.bmp");
  WriteWithWic(phone, GUID_ContainerFormatJpeg, StoredSideways(3024, 4032));
  AddJpegOrientation(phone, 6);
  WriteBytes(folder.Path("notes.png"), "not a picture");

  PROCESS_INFORMATION pi = Launch(L"\"" + Widen(exe) + L"\" /quiet /photo" + Quoted(phone));
  ASSERT_EQ(WaitForExit(pi), 0u);
  Picture p;
  p.LoadFromFile(photo);
  EXPECT_EQ(p.BitsPerPixel(), 24);
  ASSERT_EQ(p.Width(), 333);
  ASSERT_EQ(p.Height(), 444);
  for (auto [x, y] : {std::pair{166, 40}, {300, 100}, {20, 300}, {60, 430}, {200, 300}, {320, 430}})
    ExpectNear(p.PixelBgr(x, y), PortraitAt(x, y, 333, 444),
               std::to_string(x) + "," + std::to_string(y));

  const std::string before = ReadBytes(photo);
  for (const std::string& bad : {folder.Path("notes.png"), folder.Path("missing.jpg")}) {
    pi = Launch(L"\"" + Widen(exe) + L"\" /quiet /photo" + Quoted(bad));
    EXPECT_EQ(WaitForExit(pi), 1u) << bad;
    EXPECT_EQ(ReadBytes(photo), before) << bad;
    EXPECT_EQ(FilesIn(folder.Path("ml_data")), std::vector<std::string>{"test.bmp"}) << bad;
  }
}

// Each pair's mask and colour belong together (hair exactly where the mask is black) and come
// from one program: its colour alone. Returns that colour's red.
int PairColourRed(const std::string& colour_path, const std::string& mask_path) {
  Picture colour, mask;
  colour.LoadFromFile(colour_path);
  mask.LoadFromFile(mask_path);
  EXPECT_EQ(colour.Width(), mask.Width());
  int red = -1;
  for (int y = 0; y < colour.Height(); ++y)
    for (int x = 0; x < colour.Width(); ++x) {
      const Bgr c = colour.PixelBgr(x, y), m = mask.PixelBgr(x, y);
      const bool hair = m == Bgr{0, 0, 0};
      EXPECT_TRUE(hair || m == (Bgr{255, 255, 255}));
      if (!hair) {
        if (c != Bgr{}) return -2;
        continue;
      }
      if (red == -1) red = c.r;
      if (c.r != red || c.g != 0 || c.b != 255 - red) return -3;
    }
  return red;
}

TEST(DeskSideBySide, TwoProgramsOnOneLibraryLoseNothingAndLeaveNoTemporaries) {
  TempFolder folder;
  const std::string exe = StageImportProgram(folder.Path(""));
  constexpr int kEach = 20;
  std::vector<PROCESS_INFORMATION> running;
  for (const char* side : {"a", "b"}) {
    const std::string dir = folder.Path(side);
    CreateDirectoryW(Widen(dir).c_str(), nullptr);
    // Same file name, different colour and shape: a mixed-up pair shows.
    const bool a = side[0] == 'a';
    RgbaImage hair =
        Plain(a ? 240 : 260, a ? 300 : 220, {uint8_t(a ? 0 : 255), 0, uint8_t(a ? 255 : 0), 255});
    for (int x = 0; x < 40; ++x) hair.Pixel(x, 0)[3] = 0;  // transparency: no backdrop guessing
    WriteWithWic(dir + "\\hair.png", GUID_ContainerFormatPng, hair);
    WriteWithWic(dir + "\\photo.png", GUID_ContainerFormatPng,
                 Plain(600, 500, {uint8_t(a ? 10 : 200), 90, 30, 255}));
    std::wstring command = L"\"" + Widen(exe) + L"\" /quiet /photo" + Quoted(dir + "\\photo.png");
    for (int i = 0; i < kEach; ++i) command += Quoted(dir + "\\hair.png");
    running.push_back(Launch(command, true));
  }
  for (auto& pi : running) ResumeThread(pi.hThread);  // both start at once
  for (auto& pi : running) EXPECT_EQ(WaitForExit(pi), 0u);

  std::vector<std::string> want;
  int reds = 0;
  for (int n = 1; n <= 2 * kEach; ++n) {
    const std::string stem = n == 1 ? "hair" : "hair_" + std::to_string(n);
    want.push_back(stem + ".bmp");
    want.push_back(stem + "mask.bmp");
    const int red = PairColourRed(folder.Path("ml_fx\\" + stem + ".bmp"),
                                  folder.Path("ml_fx\\" + stem + "mask.bmp"));
    EXPECT_TRUE(red == 0 || red == 255) << stem << " " << red;
    reds += red == 255;
  }
  EXPECT_EQ(reds, kEach);
  std::sort(want.begin(), want.end());
  EXPECT_EQ(FilesIn(folder.Path("ml_fx")), want);
  EXPECT_EQ(FilesIn(folder.Path("ml_data")), std::vector<std::string>{"test.bmp"});
  Picture photo;
  photo.LoadFromFile(folder.Path("ml_data\\test.bmp"));  // one of the two, whole
  EXPECT_EQ(photo.Width(), 529);
  EXPECT_TRUE(photo.PixelBgr(0, 0).b == 10 || photo.PixelBgr(0, 0).b == 200);
}

Bgr OnScreen(HWND hwnd, int x, int y) {
  const COLORREF c = testing_support::PixelAt(hwnd, x, y);
  return {GetBValue(c), GetGValue(c), GetRValue(c)};
}

Bgr Composite(Bgr photo, Bgr mask, Bgr colour) {
  return {uint8_t((photo.b & mask.b) | colour.b), uint8_t((photo.g & mask.g) | colour.g),
          uint8_t((photo.r & mask.r) | colour.r)};
}

// The pair's pixel that a point of its preview rectangle shows: the composite stretches by
// repeating and dropping pixels, cell i of n sampling source i * w / n.
Bgr PairAt(const Picture& colour, const Picture& mask, Bgr photo, int x, int y) {
  const Rect r = PairPreviewRect(colour.Width(), colour.Height());
  if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) return photo;
  const int sx = (x - r.left) * colour.Width() / (r.right - r.left);
  const int sy = (y - r.top) * colour.Height() / (r.bottom - r.top);
  return Composite(photo, mask.PixelBgr(sx, sy), colour.PixelBgr(sx, sy));
}

void Drop(const coiffure::DeskWindow& window, HWND target, const std::vector<std::string>& files) {
  SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
  WaitForWork(window);
  UpdateWindow(window.Handle());
}

// The desk's window over a scratch library and photo: a style with a border and a hole the
// photo must show through, and a customer photo to drop on the photo's own box.
class DeskWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(Widen(folder.Path("ml_data")).c_str(), nullptr);
    Picture::Create24(529, 444, kOldPhoto).SaveBmp24(photo);
    RgbaImage hair = Plain(200, 260, {20, 60, 150, 255});
    for (int y = 0; y < 260; ++y)
      for (int x = 0; x < 200; ++x)
        if (x < 20 || y < 20 || x >= 180 || (x - 100) * (x - 100) + (y - 200) * (y - 200) < 900)
          hair.Pixel(x, y)[3] = 0;
    WriteWithWic(folder.Path("hair.png"), GUID_ContainerFormatPng, hair);
    WriteWithWic(folder.Path("customer.png"), GUID_ContainerFormatPng,
                 Plain(600, 800, {kNewPhoto.b, kNewPhoto.g, kNewPhoto.r, 255}));
    ASSERT_TRUE(window.Create());
    ShowWindow(window.Handle(), SW_SHOW);
  }

  // Imports the style and loads its pair as written.
  void ImportStyle() {
    Drop(window, window.Handle(), {folder.Path("hair.png")});
    colour.LoadFromFile(library + "hair.bmp");
    mask.LoadFromFile(library + "hairmask.bmp");
  }

  // The preview on screen where the pair's middle, its hole, its border and beyond it land.
  void ExpectPairOver(Bgr photo_colour) {
    const Rect r = PairPreviewRect(colour.Width(), colour.Height());
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    for (auto [x, y] : {std::pair{cx, cy}, {cx, r.bottom - 30}, {r.left + 2, cy}, {r.left - 2, cy}})
      EXPECT_EQ(OnScreen(preview(), x, y), PairAt(colour, mask, photo_colour, x, y))
          << x << "," << y;
  }

  HWND preview() const { return window.Preview().Handle(); }

  static constexpr Bgr kOldPhoto{40, 160, 220}, kNewPhoto{200, 30, 90};
  TempFolder folder;
  ScopedCom com;
  WicPictureSource wic;
  const std::string library = folder.Path("ml_fx") + "\\", photo = folder.Path("ml_data\\test.bmp");
  Win32LibraryFolder lib{library}, photos{folder.Path("ml_data") + "\\"};
  coiffure::DeskWindow window{wic, {lib, library, photos, photo}, false};
  Picture colour, mask;
};

TEST_F(DeskWindow, AStyleShowsOverThePhotoByCoiffuresComposite) {
  ImportStyle();
  ASSERT_EQ(window.Rows().size(), 1u);
  EXPECT_EQ(window.Preview().Caption().rfind("发型叠在当前的顾客照片上", 0), 0u);
  ExpectPairOver(kOldPhoto);
}

TEST_F(DeskWindow, APhotoShowsAsThePaintBoxWouldAndStylesAreThenShownOverIt) {
  ImportStyle();
  EXPECT_EQ(WindowText(window.PhotoButton()), "选择顾客照片(&P)...");
  EXPECT_TRUE(GetWindowLongW(window.PhotoDrop(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  // On the photo's own box, with a second file that is not used.
  Drop(window, window.PhotoDrop(), {folder.Path("customer.png"), folder.Path("hair.png")});
  ASSERT_EQ(window.Rows().size(), 3u);
  EXPECT_EQ(window.Rows()[1].result, "已换为顾客照片（333 × 444）");
  EXPECT_NE(WindowText(window.PhotoDrop()).find("customer.png：在 Coiffure 中单击“重新引入底片”"),
            std::string::npos);
  EXPECT_FALSE(window.Rows()[2].ok);
  EXPECT_EQ(window.Preview().Caption().rfind("顾客照片在 Coiffure 图片区中的样子", 0), 0u);
  EXPECT_EQ(OnScreen(preview(), 300, 10), kNewPhoto);  // 333 wide, centred: x 98 to 430
  EXPECT_EQ(OnScreen(preview(), 60, 10), (Bgr{128, 128, 0}));
  EXPECT_EQ(OnScreen(preview(), 440, 400), (Bgr{128, 128, 0}));
  // Image3's corner shows the artwork as the platform draws it.
  const Bitmap art(
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_IMAGE3),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  const MemoryDC dc;
  const ScopedSelect select(dc.Get(), art.Get());
  for (auto [x, y] : {std::pair{0, 0}, {80, 70}, {159, 145}, {130, 10}}) {
    const COLORREF c = GetPixel(dc.Get(), x, y);
    EXPECT_EQ(OnScreen(preview(), x, 298 + y), (Bgr{GetBValue(c), GetGValue(c), GetRValue(c)}))
        << x << "," << y;
  }
  window.SelectRow(0);
  UpdateWindow(preview());
  ExpectPairOver(kNewPhoto);
}

TEST_F(DeskWindow, AHundredRowsKeepOneFrameAndEachRowStillShows) {
  ImportStyle();
  const size_t kept = window.Preview().BytesKept();
  Drop(window, window.Handle(), std::vector<std::string>(99, folder.Path("hair.png")));
  ASSERT_EQ(ListView_GetItemCount(window.ListView()), 100);
  EXPECT_EQ(window.Rows().back().result, "已导入为 hair_100.bmp");
  colour.LoadFromFile(library + "hair_50.bmp");
  mask.LoadFromFile(library + "hair_50mask.bmp");
  window.SelectRow(49);
  UpdateWindow(preview());
  ExpectPairOver(kOldPhoto);
  EXPECT_EQ(window.Preview().BytesKept(), kept);
}

}  // namespace
}  // namespace coiffure
