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
#include "wine/desk/desk_support.h"
#include "wine/wine_helpers.h"
#include "wine/wine_support.h"

namespace coiffure {
namespace {

using namespace testing;
using Names = std::vector<std::string>;

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
  WaitForWork(window);
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
  // The keys as the chooser's modal loop hands them on: Right, the space bar, then Down and Up,
  // which keep to the swatch's column.
  SetFocus(chooser.Swatches().Swatch(0));
  const auto keys = [&](std::initializer_list<std::pair<UINT, WPARAM>> pressed) {
    for (auto [msg, key] : pressed) {
      PostMessageW(GetFocus(), msg, key, msg == WM_KEYUP ? 0xC0000001 : 1);
      for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);)
        if (!IsDialogMessageW(chooser.Handle(), &m)) DispatchMessageW(&m);
    }
  };
  keys({{WM_KEYDOWN, VK_RIGHT}, {WM_KEYDOWN, VK_SPACE}, {WM_KEYUP, VK_SPACE}});
  EXPECT_EQ(GetFocus(), chooser.Swatches().Swatch(1));
  ASSERT_EQ(chooser.Swatches().Chosen().size(), 2u);
  EXPECT_EQ(chooser.Swatches().Chosen()[0].name, "深棕");
  keys({{WM_KEYDOWN, VK_DOWN}});
  EXPECT_EQ(GetFocus(), chooser.Swatches().Swatch(ShadeSwatches::kColumns + 1));
  keys({{WM_KEYDOWN, VK_UP}});
  EXPECT_EQ(GetFocus(), chooser.Swatches().Swatch(1));
}

// What the platform's colour dialog shows when it opens, and the colour it hands back.
COLORREF g_dialog_opened_at = CLR_INVALID;
COLORREF g_dialog_answer = CLR_INVALID;

// Reads the colour dialog's own red, green and blue fields, types the answer in and presses OK.
void CALLBACK AnswerColourDialog(HWND, UINT, UINT_PTR id, DWORD) {
  const HWND dialog = FindWindowW(L"#32770", nullptr);
  if (!dialog) return;
  KillTimer(nullptr, id);
  constexpr int kRed = 706, kGreen = 707, kBlue = 708;  // the dialog's fields, as documented
  g_dialog_opened_at = RGB(GetDlgItemInt(dialog, kRed, nullptr, FALSE),
                           GetDlgItemInt(dialog, kGreen, nullptr, FALSE),
                           GetDlgItemInt(dialog, kBlue, nullptr, FALSE));
  SetDlgItemInt(dialog, kRed, GetRValue(g_dialog_answer), FALSE);
  SetDlgItemInt(dialog, kGreen, GetGValue(g_dialog_answer), FALSE);
  SetDlgItemInt(dialog, kBlue, GetBValue(g_dialog_answer), FALSE);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(ShadeWindow, ShiftClickTakesTheRunInListOrderAndTheColourDialogStartsAtTheLastColour) {
  for (int i = 0; i < 6; ++i)
    WriteStyle(library + "style" + std::to_string(i) + ".bmp",
               library + "style" + std::to_string(i) + "mask.bmp", 220, 220);
  ShadeChooser& chooser = ShownChooser();
  const HWND list = chooser.StyleList();
  // The anchor second in the first line, the click first in the third: a rectangle between
  // them would differ from the run.
  int columns = 1;  // items in a line, as the list placed them
  for (POINT first, next; ListView_GetItemPosition(list, 0, &first) &&
                          ListView_GetItemPosition(list, columns, &next) && next.y == first.y;)
    ++columns;
  ASSERT_GE(columns, 2);
  const int clicked = 2 * columns;
  ASSERT_LT(clicked, static_cast<int>(chooser.Styles().size()));
  ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetSelectionMark(list, 1);
  ListView_EnsureVisible(list, clicked, FALSE);
  RECT r;
  ListView_GetItemRect(list, clicked, &r, LVIR_ICON);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at);
  SendMessageW(list, WM_LBUTTONUP, MK_SHIFT, at);
  testing_support::Pump();
  std::vector<int> selected, want;
  for (int i = -1; (i = ListView_GetNextItem(list, i, LVNI_SELECTED)) >= 0;) selected.push_back(i);
  for (int i = 1; i <= clicked; ++i) want.push_back(i);
  EXPECT_EQ(selected, want);

  // 酒红 chosen last: the dialog opens at it; the answer is 浅金's own colour, so 浅金 it is.
  const Shade& wine = *FindShade("酒红");
  const Shade& gold = *FindShade("浅金");
  SendMessageW(chooser.Swatches().Swatch(size_t(&wine - ShadePalette().data())), BM_CLICK, 0, 0);
  g_dialog_answer = RGB(gold.mean.r, gold.mean.g, gold.mean.b);
  SetTimer(nullptr, 0, 200, AnswerColourDialog);
  SendMessageW(chooser.Swatches().OtherButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(g_dialog_opened_at, RGB(wine.mean.r, wine.mean.g, wine.mean.b));
  Names chosen;
  for (const Shade& s : chooser.Swatches().Chosen()) chosen.push_back(s.name);
  EXPECT_EQ(chosen, (Names{"浅金", "酒红"}));
  EXPECT_FALSE(IsWindowVisible(chooser.Swatches().Swatch(ShadePalette().size())));
  EXPECT_EQ(WindowText(chooser.MakeButton()),
            "生成 " + std::to_string(2 * want.size()) + " 款新发型(&M)");
}

}  // namespace
}  // namespace coiffure
