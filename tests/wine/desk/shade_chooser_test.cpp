// The desk's chooser of colour variants on the platform: a style and a shade chosen with the
// window's own messages, the preview read back from the screen, the variant made into the
// library and listed; and both windows laid out without overlaps at their smallest.
#include <windows.h>

#include <algorithm>
#include <gtest/gtest.h>

#include "desk/desk_window_win.h"
#include "desk/library_folder_win.h"
#include "pictures/wic_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"
#include "wine/wine_helpers.h"
#include "wine/wine_support.h"

namespace coiffure {
namespace {

using namespace testing;
using Names = std::vector<std::string>;

// A window's client area as the screen shows it, in the core's frame layout.
Frame OnScreen(HWND hwnd, int width, int height) {
  const WindowDC screen(hwnd);
  const MemoryDC memory(screen.Get());
  const BITMAPINFO bi = TopDownBgr24Info(width, height);
  void* bits = nullptr;
  const Bitmap bitmap(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    const ScopedSelect select(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  Frame frame;
  frame.Resize(width, height);
  const size_t stride = PaddedRowBytes(static_cast<size_t>(width), 24);
  for (int y = 0; y < height; ++y)
    std::copy_n(static_cast<const uint8_t*>(bits) + stride * y, 3u * width, frame.Row(y));
  return frame;
}

size_t PixelsThatDiffer(const Frame& a, const Frame& b) {
  if (a.width != b.width || a.height != b.height) return SIZE_MAX;
  size_t n = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) n += a.At(x, y) != b.At(x, y);
  return n;
}

// A style whose hair has strands of many lightnesses, in an oval its mask marks.
void WriteStyle(const std::string& colour_path, const std::string& mask_path, int w, int h) {
  Picture colour = Picture::Create24(w, h), mask = Picture::Create24(w, h, {255, 255, 255});
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double dx = (x - w / 2.0) / (w * 0.45), dy = (y - h / 2.0) / (h * 0.45);
      if (dx * dx + dy * dy > 1) continue;
      std::fill_n(mask.Row(y) + 3 * x, 3, uint8_t{0});
      const uint8_t level = static_cast<uint8_t>(25 + (x * 13 + y * 3) % 90);
      uint8_t* p = colour.Row(y) + 3 * x;
      p[0] = level, p[1] = static_cast<uint8_t>(level + 8), p[2] = static_cast<uint8_t>(level + 20);
    }
  colour.SaveBmp24(colour_path);
  mask.SaveBmp24(mask_path);
}

Picture Load(const std::string& path) {
  Picture p;
  p.LoadFromFile(path);
  return p;
}

class ShadeWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(Widen(folder.Path("ml_data")).c_str(), nullptr);
    CreateDirectoryW(Widen(folder.Path("ml_fx")).c_str(), nullptr);
    Picture photo = Picture::Create24(529, 444);
    for (int y = 0; y < 444; ++y)
      for (int x = 0; x < 529; ++x)
        std::copy_n(std::array<uint8_t, 3>{uint8_t(x), uint8_t(y), uint8_t(x ^ y)}.data(), 3,
                    photo.Row(y) + 3 * x);
    photo.SaveBmp24(photo_path);
    WriteStyle(library + "hair_black.bmp", library + "hair_blackmask.bmp", 240, 300);
    WriteStyle(library + "bob.bmp", library + "bobmask.bmp", 260, 220);
    ASSERT_TRUE(window.Create());
    ShowWindow(window.Handle(), SW_SHOW);
    UpdateWindow(window.Handle());
  }

  ShadeChooser& ShownChooser() {
    ShadeChooser& chooser = window.OpenShadeChooser();
    ShowWindow(chooser.Handle(), SW_SHOW);
    UpdateWindow(chooser.Handle());
    testing_support::Pump();
    return chooser;
  }

  TempFolder folder;
  ScopedCom com;
  WicPictureSource wic;
  const std::string library = folder.Path("ml_fx") + "\\";
  const std::string photo_path = folder.Path("ml_data\\test.bmp");
  Win32LibraryFolder lib{library}, photos{folder.Path("ml_data") + "\\"};
  DeskWindow window{wic, {lib, library, photos, photo_path}, false};
};

TEST_F(ShadeWindow, AStyleInAShadeIsPreviewedAsItWillBeMadeThenMadeAndListed) {
  ShadeChooser& chooser = ShownChooser();
  Names styles = chooser.Styles();
  std::sort(styles.begin(), styles.end());
  ASSERT_EQ(styles, (Names{"bob.bmp", "hair_black.bmp"}));
  EXPECT_EQ(chooser.ThumbnailsMade(), 2);  // both are on screen
  EXPECT_FALSE(IsWindowEnabled(chooser.MakeButton()));

  // The style as the list selects it on a click; the shade by a click on its swatch.
  const auto style = std::find(chooser.Styles().begin(), chooser.Styles().end(), "hair_black.bmp");
  ListView_SetItemState(chooser.StyleList(), int(style - chooser.Styles().begin()),
                        LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  testing_support::Pump();
  const Shade& gold = *FindShade("浅金");
  SendMessageW(chooser.Swatches().Swatch(size_t(&gold - ShadePalette().data())), BM_CLICK, 0, 0);
  UpdateWindow(chooser.Preview().Handle());
  ASSERT_EQ(chooser.Plan().size(), 1u);
  EXPECT_EQ(chooser.Plan()[0].picture, "hair_浅金.bmp");
  EXPECT_EQ(ListView_GetItemCount(chooser.PlanList()), 1);
  EXPECT_EQ(WindowText(chooser.MakeButton()), "生成 1 款新发型(&M)");
  EXPECT_TRUE(IsWindowEnabled(chooser.MakeButton()));

  const Picture colour = Load(library + "hair_black.bmp"),
                mask = Load(library + "hair_blackmask.bmp");
  Frame want;
  ComposePairPreview(Load(photo_path), RecolourHair(colour, mask, gold.mean), mask, want);
  EXPECT_EQ(PixelsThatDiffer(OnScreen(chooser.Preview().Handle(), 529, 444), want), 0u);

  SendMessageW(chooser.MakeButton(), BM_CLICK, 0, 0);
  testing_support::Pump();
  EXPECT_TRUE(chooser.Done());
  EXPECT_EQ(FilesIn(folder.Path("ml_fx")),
            (Names{"bob.bmp", "bobmask.bmp", "hair_black.bmp", "hair_blackmask.bmp",
                   "hair_浅金.bmp", "hair_浅金mask.bmp"}));
  EXPECT_EQ(ReadBytes(library + "hair_浅金mask.bmp"), ReadBytes(library + "hair_blackmask.bmp"));
  const Picture made = Load(library + "hair_浅金.bmp");
  Frame made_alone, shaded_alone;  // the pictures themselves, without the photo
  ComposePairPreview({}, made, mask, made_alone);
  ComposePairPreview({}, RecolourHair(colour, mask, gold.mean), mask, shaded_alone);
  EXPECT_EQ(PixelsThatDiffer(made_alone, shaded_alone), 0u);

  ASSERT_EQ(window.Rows().size(), 1u);
  EXPECT_EQ(window.Rows()[0].file, "hair_black.bmp 浅金");
  EXPECT_EQ(window.Rows()[0].result, "已生成 hair_浅金.bmp");
  EXPECT_EQ(WindowText(window.ShadeNotice()).rfind("已生成 1 款新发型。重新启动 Coiffure", 0), 0u);
  // The row is selected and previewed as any other result.
  UpdateWindow(window.Preview().Handle());
  EXPECT_EQ(PixelsThatDiffer(OnScreen(window.Preview().Handle(), 529, 444), want), 0u);
}

// Every visible control inside the client area and none over another, at the smallest size the
// window lets the operator give it.
void ExpectNoOverlapsAtSmallest(HWND top) {
  MINMAXINFO limits{};
  SendMessageW(top, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  SetWindowPos(top, nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y,
               SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(top, &client);
  std::vector<std::pair<RECT, std::string>> controls;
  for (HWND c = GetWindow(top, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
    const std::string name = WindowText(c);
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
        << name << " " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    for (const auto& [other, other_name] : controls) {
      RECT both;
      EXPECT_FALSE(IntersectRect(&both, &r, &other)) << name << " / " << other_name;
    }
    controls.emplace_back(r, name);
  }
  EXPECT_GE(controls.size(), 8u);
}

TEST_F(ShadeWindow, BothWindowsAreLaidOutWithoutOverlapsAndTheChooserIsReachedByKeys) {
  ExpectNoOverlapsAtSmallest(window.Handle());
  ShadeChooser& chooser = ShownChooser();
  chooser.Swatches().SetCustom({0x3A, 0x6B, 0x2E});  // its swatch shows only once chosen
  ExpectNoOverlapsAtSmallest(chooser.Handle());
  // Tab goes from group to group (the button that makes nothing yet is left out), the arrow
  // keys through the swatches.
  std::vector<HWND> tab{chooser.StyleList()};
  for (HWND at = tab[0]; tab.size() < 20;) {
    at = GetNextDlgTabItem(chooser.Handle(), at, FALSE);
    if (at == tab[0]) break;
    tab.push_back(at);
  }
  const HWND close = GetDlgItem(chooser.Handle(), IDCANCEL);
  EXPECT_EQ(tab, (std::vector<HWND>{chooser.StyleList(), chooser.Swatches().Swatch(0),
                                    chooser.Swatches().OtherButton(), chooser.PlanList(), close}));
  // The keys as the chooser's modal loop hands them on: Right, then the space bar.
  SetFocus(chooser.Swatches().Swatch(0));
  for (auto [msg, key] :
       {std::pair{WM_KEYDOWN, VK_RIGHT}, {WM_KEYDOWN, VK_SPACE}, {WM_KEYUP, VK_SPACE}}) {
    PostMessageW(GetFocus(), msg, key, msg == WM_KEYUP ? 0xC0000001 : 1);
    for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);)
      if (!IsDialogMessageW(chooser.Handle(), &m)) DispatchMessageW(&m);
  }
  EXPECT_EQ(GetFocus(), chooser.Swatches().Swatch(1));
  ASSERT_EQ(chooser.Swatches().Chosen().size(), 2u);
  EXPECT_EQ(chooser.Swatches().Chosen()[0].name, "深棕");
}

}  // namespace
}  // namespace coiffure
