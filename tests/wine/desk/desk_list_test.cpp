// The desk window's parts as the platform draws and drives them: refusals readable in every
// state of their row, long names told apart and given whole in the row's tooltip, the layout
// after resizing, the keyboard's access and focus.
#include <windows.h>

#include <commctrl.h>
#include <wincodec.h>

#include <gtest/gtest.h>
#include <set>

#include "wine/desk/desk_support.h"
#include "wine/picture_files.h"

namespace coiffure {
namespace {

using namespace testing;

// Runs messages for a while, as the message loop would between the user's moves.
void PumpFor(DWORD ms) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    testing_support::Pump();
  }
}

// A cut-out: hair on transparency.
RgbaImage Hair(int w, int h) {
  RgbaImage hair = Plain(w, h, {20, 60, 150, 255});
  for (int x = 0; x < w; ++x) hair.Pixel(x, 0)[3] = 0;
  return hair;
}

class DeskParts : public DeskFixture {
 protected:
  void DropAndWait(const std::vector<std::string>& files) {
    Drop(files);
    WaitForWork(window);
    UpdateWindow(window.Handle());
  }

  // The pixels of a row's result cell that read as a refusal's red, and as white ink.
  std::pair<int, int> RedAndWhiteIn(int row) {
    HWND list = window.ListView();
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT cell;
    ListView_GetSubItemRect(list, row, 1, LVIR_BOUNDS, &cell);
    const Frame f = OnScreen(list, cell);
    int red = 0, white = 0;
    for (int y = 0; y < f.height; ++y)
      for (int x = 0; x < f.width; ++x) {
        const Bgr p = f.At(x, y);
        red += p.r >= 150 && p.g <= 90 && p.b <= 90;
        white += p.r >= 230 && p.g >= 230 && p.b >= 230;
      }
    return {red, white};
  }
};

TEST_F(DeskParts, ARefusalStaysRedWhetherItsRowIsSelectedFocusedOrNot) {
  WriteWithWic(folder.Path("hair.png"), GUID_ContainerFormatPng, Hair(240, 260));
  DropAndWait({folder.Path("hair.png"), folder.Path("missing.png")});
  ASSERT_EQ(window.Rows().size(), 2u);
  ASSERT_EQ(ListView_GetNextItem(window.ListView(), -1, LVNI_SELECTED), 1) << "the newest row";
  SetFocus(window.ListView());
  const auto [bar, ink_on_bar] = RedAndWhiteIn(1);
  EXPECT_GT(bar, 500) << "selected in the focused list: a red bar";
  EXPECT_GT(ink_on_bar, 40) << "with its text in white on it";
  SetFocus(window.AddButton());
  EXPECT_GT(RedAndWhiteIn(1).first, 15) << "selected, the list without the focus: red text";
  window.SelectRow(0);
  EXPECT_GT(RedAndWhiteIn(1).first, 15) << "not selected: red text";
  EXPECT_EQ(RedAndWhiteIn(0).first, 0) << "an imported row is not red";
}

// Two long names that differ only near their end, as a camera's or a shop's numbering makes them.
TEST_F(DeskParts, LongNamesStayApartInTheListAndTheTooltipGivesTheWholePath) {
  const std::string stem = folder.Path("长发波浪卷发型_秋冬新款样片_店内拍摄_第");
  DropAndWait({stem + "1号.png", stem + "2号.png"});
  HWND list = window.ListView();
  wchar_t shown[2][260] = {};
  for (int row = 0; row < 2; ++row) ListView_GetItemText(list, row, 0, shown[row], 260);
  EXPECT_NE(std::wstring(shown[0]), std::wstring(shown[1]));
  EXPECT_NE(std::wstring(shown[0]).find(L"1号.png"), std::wstring::npos) << Narrow(shown[0]);

  // The pointer over each row in turn, as the platform's tooltip sees it, and its delay.
  for (int row : {0, 1}) {
    RECT r;
    ListView_GetItemRect(list, row, &r, LVIR_BOUNDS);
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    ClientToScreen(list, &at);
    SetCursorPos(at.x, at.y);
    PumpFor(1200);
    EXPECT_TRUE(IsWindowVisible(window.RowTip())) << row;
    EXPECT_EQ(WindowText(window.RowTip()), stem + std::to_string(row + 1) + "号.png");
  }
}

// After any resize the window shows what a full redraw shows, each text has the height its
// wrapping needs, and the list's columns fit inside its vertical scroll bar.
TEST_F(DeskParts, AfterAResizeTheWindowEqualsAFullRedrawAndNoHintIsCut) {
  std::vector<std::string> gone;
  for (int i = 0; i < 40; ++i) gone.push_back(folder.Path("gone_" + std::to_string(i) + ".png"));
  DropAndWait(gone);
  const auto scroll_bars = [&] { return GetWindowLongW(window.ListView(), GWL_STYLE); };
  EXPECT_TRUE((scroll_bars() & WS_VSCROLL) && !(scroll_bars() & WS_HSCROLL));
  MINMAXINFO limits{};
  SendMessageW(window.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  RECT frame;
  GetWindowRect(window.Handle(), &frame);
  const int start = frame.right - frame.left;
  for (int width : {start + 300, start + 240, static_cast<int>(limits.ptMinTrackSize.x), start}) {
    SetWindowPos(window.Handle(), nullptr, 0, 0, width, limits.ptMinTrackSize.y,
                 SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(window.Handle());
    EXPECT_TRUE((scroll_bars() & WS_VSCROLL) && !(scroll_bars() & WS_HSCROLL)) << width;
    RECT client;
    GetClientRect(window.Handle(), &client);
    const Frame after_resize = OnScreen(window.Handle(), client);
    RedrawWindow(window.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const Frame redrawn = OnScreen(window.Handle(), client);
    EXPECT_EQ(PixelsThatDiffer(after_resize, redrawn), 0u) << width;
    for (HWND c = GetWindow(window.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      wchar_t cls[32];
      GetClassNameW(c, cls, 32);
      if (std::wstring(cls) != L"Static" && std::wstring(cls) != L"STATIC") continue;
      RECT r;
      GetClientRect(c, &r);
      const std::wstring text = Widen(WindowText(c));
      const WindowDC dc(c);
      const ScopedSelect font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
      RECT need{0, 0, r.right, 0};
      DrawTextW(dc.Get(), text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
      EXPECT_LE(need.bottom, r.bottom) << width << " " << WindowText(c);
    }
  }
}

// The buttons' access keys, each its own; the keyboard's focus on the first button at start
// and back on the control that had it once a dialog has closed.
TEST_F(DeskParts, EveryButtonHasItsOwnAccessKeyAndTheFocusComesBackAfterADialog) {
  std::set<wchar_t> keys;
  int buttons = 0;
  for (HWND c = GetWindow(window.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!(SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) continue;
    const std::wstring text = Widen(WindowText(c));
    const size_t amp = text.find(L'&');
    ASSERT_NE(amp, std::wstring::npos) << WindowText(c);
    EXPECT_TRUE(keys.insert(towupper(text[amp + 1])).second) << WindowText(c);
    ++buttons;
  }
  EXPECT_EQ(buttons, 6);
  EXPECT_EQ(GetFocus(), window.AddButton());

  SetFocus(window.ListView());
  // The chooser, shown modally, closed by the Esc key once it is up.
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND chooser = FindWindowW(L"CoiffureShadeChooser", nullptr))
      PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
  });
  window.ShadeButtonClick();
  testing_support::Pump();
  EXPECT_EQ(GetFocus(), window.ListView());
}

}  // namespace
}  // namespace coiffure
