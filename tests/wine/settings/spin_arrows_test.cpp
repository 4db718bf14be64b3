// A click on a spin field's arrows, with real input, against the platform's own arrows paired with
// an edit (UPDOWN_CLASS with a buddy): where the keyboard focus and the caret end up.
#include <windows.h>

#include <gtest/gtest.h>
// The common controls' messages need windows.h first.
#include <commctrl.h>

#include <tuple>

#include "settings/form3_win.h"

namespace coiffure {
namespace {

// Real input reaches the windows through the server, not at once: it is given time to arrive.
void Input(INPUT in) {
  SendInput(1, &in, sizeof in);
  const DWORD end = GetTickCount() + 60;
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(1);
  } while (GetTickCount() < end);
}

void ClickArrow(HWND arrows, bool up) {
  RECT rc;
  GetWindowRect(arrows, &rc);
  SetCursorPos((rc.left + rc.right) / 2, up ? rc.top + 3 : rc.bottom - 4);
  INPUT in{INPUT_MOUSE};
  for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    in.mi.dwFlags = flags;
    Input(in);
  }
}

void PressKey(WORD vk) {
  INPUT in{INPUT_KEYBOARD};
  in.ki.wVk = vk;
  for (DWORD flags : {0, KEYEVENTF_KEYUP}) {
    in.ki.dwFlags = flags;
    Input(in);
  }
}

// Whether the edit has the focus, and its selection.
std::tuple<bool, DWORD, DWORD> Seen(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {GetFocus() == edit, start, end};
}

TEST(SpinArrows, AClickPutsFocusAndCaretInTheFieldAsThePlatformsArrowsDo) {
  SettingsValues values;
  TForm3 dialog(GetModuleHandleW(nullptr), &values);
  dialog.Show();
  HWND edit = dialog.Item(TForm3::kSpinEdit1);
  HWND arrows = FindWindowExW(GetParent(edit), nullptr, UPDOWN_CLASSW, nullptr);
  // The platform's pair, with SpinEdit1's range and step, and a button to hold the focus.
  HWND top = CreateWindowExW(WS_EX_TOPMOST, L"#32770", L"", WS_POPUP | WS_CAPTION | WS_VISIBLE, 20,
                             20, 200, 120, nullptr, nullptr, nullptr, nullptr);
  HWND ref_other = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 10, 10, 60, 24, top,
                                   nullptr, nullptr, nullptr);
  HWND ref_edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 50, 65,
                                  22, top, nullptr, nullptr, nullptr);
  HWND ref_arrows = CreateWindowExW(
      0, UPDOWN_CLASSW, L"",
      WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0,
      0, 0, 0, top, nullptr, nullptr, nullptr);
  SendMessageW(ref_arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(ref_edit), 0);
  SendMessageW(ref_arrows, UDM_SETRANGE32, 300, 3000);
  UDACCEL step{0, 100};
  SendMessageW(ref_arrows, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
  struct Row {
    TForm3::Id start;        // where the keyboard is before the click
    int sel_start, sel_end;  // the caret in the field before the click
    bool up;
    int value, after, after_down;  // the value before, after the click, after a Down key then
  };
  const Row rows[] = {
      {TForm3::kSpinEdit2, 0, 0, true, 1000, 1100, 1000},
      {TForm3::kCheckBox1, 0, 0, false, 1000, 900, 800},
      {TForm3::kSpinEdit1, 1, 1, true, 1000, 1100, 1000},
      {TForm3::kSpinEdit1, 1, 3, false, 1000, 900, 800},
      {TForm3::kSpinEdit2, 0, 0, true, 3000, 3000, 2900},
      {TForm3::kCheckBox1, 0, 0, false, 300, 300, 300},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message()
                 << r.value << (r.up ? " up from " : " down from ") << r.start);
    dialog.SetSpinEdit2Value(5);
    dialog.SetSpinEdit1Value(r.value);
    SetForegroundWindow(dialog.Handle());
    SetFocus(dialog.Item(r.start));
    SendMessageW(edit, EM_SETSEL, r.sel_start, r.sel_end);
    ClickArrow(arrows, r.up);
    const auto ours = Seen(edit);
    EXPECT_EQ(dialog.SpinEdit1Value(), r.after);
    // The keys now reach the field clicked, and nothing else: Down steps it, Space is refused.
    PressKey(VK_DOWN);
    PressKey(VK_SPACE);
    EXPECT_EQ(dialog.SpinEdit1Value(), r.after_down);
    EXPECT_EQ(dialog.SpinEdit2Value(), 5);
    EXPECT_TRUE(dialog.CheckBox1Checked());

    SendMessageW(ref_arrows, UDM_SETPOS32, 0, r.value);
    SetForegroundWindow(top);
    SetFocus(r.start == TForm3::kSpinEdit1 ? ref_edit : ref_other);
    SendMessageW(ref_edit, EM_SETSEL, r.sel_start, r.sel_end);
    ClickArrow(ref_arrows, r.up);
    EXPECT_TRUE(std::get<0>(Seen(ref_edit)));  // the oracle as the platform gives it
    EXPECT_EQ(ours, Seen(ref_edit));
  }
  DestroyWindow(top);
  ShowWindow(dialog.Handle(), SW_HIDE);
}

}  // namespace
}  // namespace coiffure
