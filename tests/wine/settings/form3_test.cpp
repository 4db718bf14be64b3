// The settings dialog's controls, driven with the messages a user's actions produce.
#include <windows.h>

#include <gtest/gtest.h>
// The common controls' messages need windows.h first.
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "settings/form3_win.h"
#include "wine/wine_helpers.h"

namespace coiffure {
namespace {

using testing::TempFolder;
using testing::WindowText;

bool Shown(HWND hwnd) {
  return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

RECT OuterRect(HWND hwnd) {
  RECT rc;
  GetWindowRect(hwnd, &rc);
  return rc;
}

HWND ArrowsOf(HWND edit) {
  return FindWindowExW(GetParent(edit), nullptr, UPDOWN_CLASSW, nullptr);
}

// The arrows' pixels as they are on the screen.
std::vector<COLORREF> ScreenPixels(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  HDC dc = GetDC(hwnd);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < rc.bottom; ++y)
    for (int x = 0; x < rc.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(hwnd, dc);
  return pixels;
}

void Type(HWND edit, wchar_t ch) {
  SendMessageW(edit, WM_CHAR, ch, 1);
}

void Key(HWND hwnd, WPARAM vk) {
  SendMessageW(hwnd, WM_KEYDOWN, vk, 1);
  SendMessageW(hwnd, WM_KEYUP, vk, 0xC0000001);
}

class Form3Test : public ::testing::Test {
 protected:
  SettingsValues values;
  TForm3 dialog{GetModuleHandleW(nullptr), &values};
  HWND Item(TForm3::Id id) { return dialog.Item(id); }
  void Click(TForm3::Id id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
  void TearDown() override { ShowWindow(dialog.Handle(), SW_HIDE); }
};

TEST_F(Form3Test, CreatedHiddenWithItsWindowProperties) {
  HWND hwnd = dialog.Handle();
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(WindowText(hwnd), "系统参数设置");
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 492);
  EXPECT_EQ(client.bottom, 274);
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(dialog.LogShown());
  // All three panels stand until the rule first runs, Panel3 on top.
  EXPECT_TRUE(Shown(Item(TForm3::kPanel1)) && Shown(Item(TForm3::kPanel2)) &&
              Shown(Item(TForm3::kPanel3)));
  HWND top_panel = GetWindow(Item(TForm3::kTrackBar1), GW_HWNDNEXT);
  EXPECT_EQ(top_panel, Item(TForm3::kPanel3));
  EXPECT_EQ(WindowText(Item(TForm3::kSpinEdit1)), "300");
  EXPECT_EQ(WindowText(Item(TForm3::kSpinEdit2)), "5");
  EXPECT_EQ(dialog.TrackBar1Position(), 1);
  EXPECT_TRUE(dialog.CheckBox1Checked());
}

TEST_F(Form3Test, ControlsSitWhereTheLayoutPutsThem) {
  struct Place {
    TForm3::Id id;
    RECT rc;  // left, top, right, bottom in the parent's client area
  };
  const std::vector<Place> places = {
      {TForm3::kGroupBox1, {16, 104, 313, 249}},  {TForm3::kTrackBar1, {8, 16, 33, 134}},
      {TForm3::kPanel2, {48, 24, 289, 129}},      {TForm3::kGroupBox2, {16, 24, 137, 97}},
      {TForm3::kRadioGroup1, {144, 24, 225, 97}}, {TForm3::kRadioGroup2, {232, 24, 313, 97}},
      {TForm3::kBitBtn1, {360, 156, 465, 181}},   {TForm3::kBitBtn2, {360, 122, 465, 147}},
      {TForm3::kBitBtn3, {360, 226, 465, 251}},   {TForm3::kBitBtn4, {360, 191, 465, 216}},
      {TForm3::kListView1, {8, 280, 481, 425}},   {TForm3::kGroupBox5, {328, 8, 481, 97}},
      {TForm3::kCheckBox1, {8, 24, 105, 41}},     {TForm3::kLabel3, {8, 56, 56, 69}},
      {TForm3::kGroupBox3, {8, 8, 321, 265}},     {TForm3::kGroupBox4, {328, 104, 481, 265}},
  };
  for (const Place& p : places) {
    HWND hwnd = Item(p.id);
    ASSERT_TRUE(hwnd) << p.id;
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, p.rc.left) << p.id;
    EXPECT_EQ(rc.top, p.rc.top) << p.id;
    EXPECT_EQ(rc.right, p.rc.right) << p.id;
    EXPECT_EQ(rc.bottom, p.rc.bottom) << p.id;
  }
  // The spin fields take their places; inside, the text ends where the arrows begin.
  for (auto [id, want] : {std::pair{TForm3::kSpinEdit1, RECT{24, 48, 89, 70}},
                          {TForm3::kSpinEdit2, RECT{72, 48, 113, 70}}}) {
    HWND edit = Item(id);
    HWND field = GetParent(edit);
    RECT place = OuterRect(field);
    MapWindowPoints(nullptr, GetParent(field), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_TRUE(EqualRect(&place, &want)) << id << ": " << place.left << "," << place.top << ","
                                          << place.right << "," << place.bottom;
    RECT inside, text = OuterRect(edit), arrows = OuterRect(ArrowsOf(edit));
    GetClientRect(field, &inside);
    MapWindowPoints(nullptr, field, reinterpret_cast<POINT*>(&text), 2);
    MapWindowPoints(nullptr, field, reinterpret_cast<POINT*>(&arrows), 2);
    EXPECT_EQ((std::vector<LONG>{text.left, text.right, arrows.left, arrows.right}),
              (std::vector<LONG>{0, inside.right - 11, inside.right - 11, inside.right}))
        << id;
  }
  EXPECT_EQ(WindowText(Item(TForm3::kGroupBox1)), "监控灵敏度设置：");
  EXPECT_EQ(WindowText(Item(TForm3::kBitBtn4)), "保存设置[&S]");
  EXPECT_EQ(WindowText(Item(TForm3::kLabel2)), "[秒]");
}

TEST_F(Form3Test, TabOrderFollowsTheLayout) {
  dialog.Show();
  const std::vector<HWND> expected = {
      Item(TForm3::kTrackBar1), Item(TForm3::kSpinEdit1), Item(TForm3::kRadio1On),
      Item(TForm3::kRadio2On),  Item(TForm3::kBitBtn1),   Item(TForm3::kBitBtn2),
      Item(TForm3::kBitBtn3),   Item(TForm3::kListView1), Item(TForm3::kCheckBox1),
      Item(TForm3::kSpinEdit2), Item(TForm3::kBitBtn4),   Item(TForm3::kTrackBar1)};
  HWND at = expected[0];
  for (size_t i = 1; i < expected.size(); ++i) {
    at = GetNextDlgTabItem(dialog.Handle(), at, FALSE);
    EXPECT_EQ(at, expected[i]) << "stop " << i << ": " << WindowText(at);
  }
}

TEST_F(Form3Test, TrackBarShowsOnePanelByPosition) {
  const std::pair<int, TForm3::Id> cases[] = {{29, TForm3::kPanel3},  {61, TForm3::kPanel1},
                                              {60, TForm3::kPanel2},  {30, TForm3::kPanel2},
                                              {100, TForm3::kPanel1}, {1, TForm3::kPanel3}};
  for (auto [position, panel] : cases) {
    dialog.SetTrackBar1Position(position);
    for (TForm3::Id id : {TForm3::kPanel1, TForm3::kPanel2, TForm3::kPanel3})
      EXPECT_EQ(Shown(Item(id)), id == panel) << "position " << position;
  }
  // The keyboard on the track bar itself reaches the rule through the frame around it.
  dialog.SetTrackBar1Position(29);
  Key(Item(TForm3::kTrackBar1), VK_DOWN);
  EXPECT_EQ(dialog.TrackBar1Position(), 30);
  EXPECT_TRUE(Shown(Item(TForm3::kPanel2)));
  EXPECT_FALSE(Shown(Item(TForm3::kPanel3)));
  // Positions outside 1..100 are brought into range.
  dialog.SetTrackBar1Position(-5);
  EXPECT_EQ(dialog.TrackBar1Position(), 1);
}

TEST_F(Form3Test, LogButtonTogglesHeightAndCaption) {
  dialog.Show();
  const RECT before = OuterRect(dialog.Handle());
  Click(TForm3::kBitBtn1);
  RECT rc = OuterRect(dialog.Handle());
  EXPECT_TRUE(dialog.LogShown());
  EXPECT_EQ(rc.bottom - rc.top, 471);
  EXPECT_EQ(rc.left, before.left);
  EXPECT_EQ(rc.top, before.top);
  EXPECT_EQ(rc.right - rc.left, before.right - before.left);
  EXPECT_EQ(WindowText(Item(TForm3::kBitBtn1)), "关闭日志[&Q]");
  Click(TForm3::kBitBtn1);
  rc = OuterRect(dialog.Handle());
  EXPECT_FALSE(dialog.LogShown());
  EXPECT_EQ(rc.bottom - rc.top, 308);
  EXPECT_EQ(WindowText(Item(TForm3::kBitBtn1)), "查看日志[&Q]");
  // The log list: report view, two columns, no items.
  HWND list = Item(TForm3::kListView1);
  EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), 120);
  EXPECT_EQ(ListView_GetColumnWidth(list, 1), 300);
  EXPECT_EQ(ListView_GetItemCount(list), 0);
}

TEST_F(Form3Test, CheckBoxEnablesTheTriggerTime) {
  dialog.SetSpinEdit2Value(42);
  Click(TForm3::kCheckBox1);
  EXPECT_FALSE(dialog.CheckBox1Checked());
  for (TForm3::Id id : {TForm3::kLabel3, TForm3::kLabel2, TForm3::kSpinEdit2})
    EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
  Click(TForm3::kCheckBox1);
  EXPECT_TRUE(dialog.CheckBox1Checked());
  for (TForm3::Id id : {TForm3::kLabel3, TForm3::kLabel2, TForm3::kSpinEdit2})
    EXPECT_TRUE(IsWindowEnabled(Item(id))) << id;
  EXPECT_EQ(dialog.SpinEdit2Value(), 42);
}

TEST_F(Form3Test, SpinFieldsKeepTheirRangesAndFilterTyping) {
  dialog.Show();
  HWND spin1 = Item(TForm3::kSpinEdit1);
  dialog.SetSpinEdit1Value(3000);
  Key(spin1, VK_UP);
  EXPECT_EQ(WindowText(spin1), "3000");
  Key(spin1, VK_DOWN);
  EXPECT_EQ(WindowText(spin1), "2900");

  // Typing 5000 and leaving the field gives 3000.
  SetFocus(spin1);
  SetWindowTextW(spin1, L"");
  for (wchar_t c : {L'5', L'x', L'0', L'\r', L'0', L'0'}) Type(spin1, c);
  EXPECT_EQ(WindowText(spin1), "5000");
  SetFocus(Item(TForm3::kBitBtn1));
  EXPECT_EQ(WindowText(spin1), "3000");

  SetWindowTextW(spin1, L"12.5");
  EXPECT_EQ(dialog.SpinEdit1Value(), 300);

  // SpinEdit2 has no limits and steps by 1, negative values included.
  HWND spin2 = Item(TForm3::kSpinEdit2);
  dialog.SetSpinEdit2Value(-99999);
  EXPECT_EQ(WindowText(spin2), "-99999");
  Key(spin2, VK_DOWN);
  EXPECT_EQ(dialog.SpinEdit2Value(), -100000);
  Key(spin2, VK_UP);
  Key(spin2, VK_UP);
  EXPECT_EQ(dialog.SpinEdit2Value(), -99998);
}

TEST_F(Form3Test, ArrowButtonsStepTheField) {
  dialog.Show();
  dialog.SetSpinEdit1Value(1000);
  HWND edit = Item(TForm3::kSpinEdit1);
  HWND arrows = ArrowsOf(edit);
  ASSERT_TRUE(arrows);
  RECT rc;
  GetClientRect(arrows, &rc);
  SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right / 2, 2));
  SendMessageW(arrows, WM_LBUTTONUP, 0, MAKELPARAM(rc.right / 2, 2));
  EXPECT_EQ(WindowText(edit), "1100");
  SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right / 2, rc.bottom - 2));
  SendMessageW(arrows, WM_LBUTTONUP, 0, MAKELPARAM(rc.right / 2, rc.bottom - 2));
  EXPECT_EQ(WindowText(edit), "1000");
}

TEST_F(Form3Test, ArrowsStayDrawnAndFourDigitsStayReadableAfterAClickIntoTheField) {
  dialog.Show();
  dialog.SetSpinEdit1Value(1000);
  dialog.SetSpinEdit2Value(1000);
  RedrawWindow(dialog.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  // Paints only what the controls themselves ask for.
  auto pump = [] {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  };
  pump();
  for (TForm3::Id id : {TForm3::kSpinEdit1, TForm3::kSpinEdit2}) {
    HWND edit = Item(id);
    HWND arrows = ArrowsOf(edit);
    const std::vector<COLORREF> before = ScreenPixels(arrows);
    // The arrow glyphs are there to be lost: the arrows are not one flat colour.
    const auto sum = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    const auto [dark, light] = std::minmax_element(
        before.begin(), before.end(), [&](COLORREF a, COLORREF b) { return sum(a) < sum(b); });
    EXPECT_GT(sum(*light) - sum(*dark), 150) << id;
    const RECT r = OuterRect(edit);
    const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(edit, WM_LBUTTONUP, 0, at);
    Key(edit, VK_END);
    pump();
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(ScreenPixels(arrows), before) << id;
    // With the caret at the end the first digit is still in view, not scrolled under the arrows.
    EXPECT_GE(static_cast<short>(LOWORD(SendMessageW(edit, EM_POSFROMCHAR, 0, 0))), 0) << id;
    EXPECT_EQ(WindowText(edit), "1000");
  }
}

TEST_F(Form3Test, CloseEscAndCloseButtonHideWithoutSaving) {
  TempFolder folder;
  const std::string ini = folder.Path("config.ini");
  dialog.SetProfilePath(ini);
  dialog.SetSpinEdit1Value(2000);

  dialog.Show();
  SendMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));

  dialog.Show();
  MSG esc{Item(TForm3::kSpinEdit1), WM_KEYDOWN, VK_ESCAPE, 1};
  EXPECT_TRUE(dialog.PreTranslateMessage(&esc));
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));

  dialog.Show();
  Click(TForm3::kBitBtn2);
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));

  // The help button does nothing.
  dialog.Show();
  Click(TForm3::kBitBtn3);
  EXPECT_TRUE(IsWindowVisible(dialog.Handle()));

  EXPECT_FALSE(testing::FileExists(ini));
  EXPECT_EQ(values.TimerInterval, 0);
  EXPECT_EQ(dialog.SpinEdit1Value(), 2000);
}

TEST_F(Form3Test, AccessKeysPressTheButtons) {
  dialog.Show();
  MSG alt_q{Item(TForm3::kTrackBar1), WM_SYSCHAR, L'q', 1 << 29};
  EXPECT_TRUE(dialog.PreTranslateMessage(&alt_q));
  EXPECT_TRUE(dialog.LogShown());
  MSG alt_c{Item(TForm3::kTrackBar1), WM_SYSCHAR, L'C', 1 << 29};
  EXPECT_TRUE(dialog.PreTranslateMessage(&alt_c));
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
  // Messages of other windows are left alone.
  MSG other{GetDesktopWindow(), WM_SYSCHAR, L'q', 1 << 29};
  EXPECT_FALSE(dialog.PreTranslateMessage(&other));
}

// Counts the pixels of a button's own drawing that match a colour test.
template <typename F>
int CountPixels(HWND button, F&& match) {
  RECT rc;
  GetClientRect(button, &rc);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  int count = 0;
  for (int y = 0; y < rc.bottom; ++y)
    for (int x = 0; x < rc.right; ++x)
      if (match(GetPixel(dc, x, y))) ++count;
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return count;
}

TEST_F(Form3Test, PictureButtonsDrawTheirGlyphsWithoutTheKeyColour) {
  auto red = [](COLORREF c) {
    return GetRValue(c) > 150 && GetGValue(c) < 60 && GetBValue(c) < 60;
  };
  auto blue = [](COLORREF c) {
    return GetBValue(c) > 120 && GetRValue(c) < 40 && GetGValue(c) < 40;
  };
  auto key = [](COLORREF c) { return c == RGB(0, 128, 128); };
  EXPECT_GT(CountPixels(Item(TForm3::kBitBtn2), red), 15);
  EXPECT_GT(CountPixels(Item(TForm3::kBitBtn3), blue), 15);
  for (TForm3::Id id : {TForm3::kBitBtn1, TForm3::kBitBtn2, TForm3::kBitBtn3, TForm3::kBitBtn4})
    EXPECT_EQ(CountPixels(Item(id), key), 0) << id;
}

}  // namespace
}  // namespace coiffure
