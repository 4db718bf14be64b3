// A click on a spin field's arrows, with real mouse input, against the platform's own arrows
// paired with an edit (UPDOWN_CLASS with a buddy): where the keyboard focus and the caret end up.
#include <windows.h>

#include <gtest/gtest.h>
// The common controls' messages need windows.h first.
#include <commctrl.h>

#include <string>

#include "settings/form3_win.h"
#include "wine/wine_helpers.h"

namespace coiffure {
namespace {

using testing::WindowText;

// Runs the queue for a while: real input reaches the windows through the server, not at once.
void Settle(DWORD ms = 60) {
  const DWORD end = GetTickCount() + ms;
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(1);
  } while (GetTickCount() < end);
}

void Send(INPUT in) {
  SendInput(1, &in, sizeof in);
  Settle();
}

// A press and a release at the middle of an arrow's half, in screen coordinates.
void ClickArrow(HWND arrows, bool up) {
  RECT rc;
  GetWindowRect(arrows, &rc);
  const int y = up ? rc.top + 3 : rc.bottom - 4;
  SetCursorPos((rc.left + rc.right) / 2, y);
  Settle(20);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  Send(in);
  in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  Send(in);
}

void PressKey(WORD vk) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  Send(in);
  in.ki.dwFlags = KEYEVENTF_KEYUP;
  Send(in);
}

struct Seen {
  bool focus_in_edit = false;
  DWORD start = 0, end = 0;
  friend bool operator==(const Seen&, const Seen&) = default;
};

Seen Look(HWND edit) {
  Seen s;
  s.focus_in_edit = GetFocus() == edit;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s.start),
               reinterpret_cast<LPARAM>(&s.end));
  return s;
}

// The platform's pair in a window of its own, with SpinEdit1's range and step, and a button to
// hold the focus elsewhere.
class PlatformPair {
 public:
  PlatformPair() {
    top_ =
        CreateWindowExW(WS_EX_TOPMOST, L"#32770", L"reference", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                        20, 20, 200, 120, nullptr, nullptr, nullptr, nullptr);
    other_ = CreateWindowExW(0, L"BUTTON", L"other", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 60,
                             24, top_, nullptr, nullptr, nullptr);
    edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                            10, 50, 65, 22, top_, nullptr, nullptr, nullptr);
    arrows_ = CreateWindowExW(
        0, UPDOWN_CLASSW, L"",
        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
        0, 0, 0, 0, top_, nullptr, nullptr, nullptr);
    SendMessageW(arrows_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_), 0);
    SendMessageW(arrows_, UDM_SETRANGE32, 300, 3000);
    UDACCEL step{0, 100};
    SendMessageW(arrows_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
  }
  ~PlatformPair() { DestroyWindow(top_); }
  HWND top_, other_, edit_, arrows_;
};

TEST(SpinArrows, AClickPutsFocusAndCaretInTheFieldAsThePlatformsArrowsDo) {
  SettingsValues values;
  TForm3 dialog(GetModuleHandleW(nullptr), &values);
  dialog.Show();
  PlatformPair ref;
  HWND edit = dialog.Item(TForm3::kSpinEdit1);
  HWND arrows = FindWindowExW(GetParent(edit), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_TRUE(arrows);
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
      {TForm3::kSpinEdit1, 4, 4, false, 300, 300, 300},
  };
  for (const Row& r : rows) {
    const bool in_field = r.start == TForm3::kSpinEdit1;
    SCOPED_TRACE(::testing::Message()
                 << "value " << r.value << (r.up ? " up" : " down") << " from control " << r.start);
    dialog.SetSpinEdit2Value(5);
    // The same start in both, each in its own active window.
    dialog.SetSpinEdit1Value(r.value);
    SetForegroundWindow(dialog.Handle());
    SetFocus(dialog.Item(r.start));
    SendMessageW(edit, EM_SETSEL, r.sel_start, r.sel_end);
    Settle();
    ClickArrow(arrows, r.up);
    const Seen ours = Look(edit);
    EXPECT_EQ(dialog.SpinEdit1Value(), r.after);
    // The keys now reach the field clicked, and nothing else: Down steps it, Space is refused.
    PressKey(VK_DOWN);
    PressKey(VK_SPACE);
    EXPECT_EQ(dialog.SpinEdit1Value(), r.after_down);
    EXPECT_EQ(dialog.SpinEdit2Value(), 5);
    EXPECT_TRUE(dialog.CheckBox1Checked());

    SendMessageW(ref.arrows_, UDM_SETPOS32, 0, r.value);
    SetForegroundWindow(ref.top_);
    SetFocus(in_field ? ref.edit_ : ref.other_);
    SendMessageW(ref.edit_, EM_SETSEL, r.sel_start, r.sel_end);
    Settle();
    ClickArrow(ref.arrows_, r.up);
    const Seen platform = Look(ref.edit_);
    EXPECT_TRUE(platform.focus_in_edit);  // the oracle itself, as the platform gives it
    EXPECT_EQ(WindowText(ref.edit_), std::to_string(r.after));
    EXPECT_EQ(ours, platform) << "ours: " << ours.focus_in_edit << " " << ours.start << ".."
                              << ours.end << ", platform: " << platform.focus_in_edit << " "
                              << platform.start << ".." << platform.end;
  }
  ShowWindow(dialog.Handle(), SW_HIDE);
}

}  // namespace
}  // namespace coiffure
