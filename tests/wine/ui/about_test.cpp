// The about box and the help command, with the shell replaced by a recorder.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "toolkit/text_win.h"
#include "ui/about/form2_win.h"
#include "ui/about/help_win.h"
#include "wine/wine_helpers.h"

namespace coiffure {
namespace {

struct ShellCall {
  int count = 0;
  HWND owner = nullptr;
  std::string operation = "<null>", file, parameters = "<null>", folder = "<null>";
  INT show = -1;
};
ShellCall g_call;

std::string OrNull(LPCSTR s) {
  return s ? std::string(s) : "<null>";
}

HINSTANCE WINAPI RecordShell(HWND owner, LPCSTR op, LPCSTR file, LPCSTR params, LPCSTR dir,
                             INT show) {
  g_call = {g_call.count + 1, owner, OrNull(op), OrNull(file), OrNull(params), OrNull(dir), show};
  return reinterpret_cast<HINSTANCE>(42);
}

LPARAM At(int x, int y) {
  return MAKELPARAM(x, y);
}

class AboutTest : public ::testing::Test {
 protected:
  TForm2 about{GetModuleHandleW(nullptr)};
  void SetUp() override {
    g_call = {};
    about.SetShell(RecordShell);
  }
  void Move(int x, int y) { SendMessageW(about.Handle(), WM_MOUSEMOVE, 0, At(x, y)); }
  void ClickAt(int x, int y) {
    SendMessageW(about.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageW(about.Handle(), WM_LBUTTONUP, 0, At(x, y));
  }
};

TEST_F(AboutTest, CreatedHiddenBorderlessAndSized) {
  HWND hwnd = about.Handle();
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(testing::WindowText(hwnd), "关于我们");
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
  RECT rc;
  GetClientRect(hwnd, &rc);
  EXPECT_EQ(rc.right, 327);
  EXPECT_EQ(rc.bottom, 410);
  EXPECT_EQ(about.LinkColor(), RGB(0, 0, 255));
  EXPECT_FALSE(about.LinkUnderlined());
}

TEST_F(AboutTest, LinkTurnsRedAndUnderlinedThenBlueWithTheUnderlineKept) {
  Move(100, 334);  // over the link
  EXPECT_EQ(about.LinkColor(), RGB(255, 0, 0));
  EXPECT_TRUE(about.LinkUnderlined());
  Move(100, 100);  // over the picture, which is a control of its own: no change
  EXPECT_EQ(about.LinkColor(), RGB(255, 0, 0));
  Move(100, 357);  // over the e-mail label: no handler
  EXPECT_EQ(about.LinkColor(), RGB(255, 0, 0));
  Move(10, 300);  // the window's own surface
  EXPECT_EQ(about.LinkColor(), RGB(0, 0, 255));
  EXPECT_TRUE(about.LinkUnderlined());
}

TEST_F(AboutTest, LinkClickOpensTheWebAddressThroughTheShell) {
  ClickAt(90, 333);
  ASSERT_EQ(g_call.count, 1);
  EXPECT_EQ(g_call.owner, about.Handle());
  EXPECT_EQ(g_call.operation, "<null>");
  EXPECT_EQ(g_call.file, kWebAddress);
  EXPECT_EQ(g_call.parameters, "<null>");
  EXPECT_EQ(g_call.folder, "<null>");
  EXPECT_EQ(g_call.show, SW_SHOWNORMAL);
  // A press that is released elsewhere is no click.
  SendMessageW(about.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(90, 333));
  SendMessageW(about.Handle(), WM_LBUTTONUP, 0, At(10, 300));
  EXPECT_EQ(g_call.count, 1);
}

struct ModalProbe {
  TForm2* about = nullptr;
  HWND owner = nullptr;
  bool visible = false, owner_enabled = true;
  RECT rect{};
  int ticks = 0;
  UINT close_message = WM_CHAR;
};
ModalProbe g_probe;

void CALLBACK ProbeAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND box = g_probe.about->Handle();
  g_probe.visible = IsWindowVisible(box);
  g_probe.owner_enabled = IsWindowEnabled(g_probe.owner);
  GetWindowRect(box, &g_probe.rect);
  ++g_probe.ticks;
  if (g_probe.close_message == WM_CHAR) {
    PostMessageW(box, WM_CHAR, L'c', 1);
  } else {
    PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(160, 387));
    PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(160, 387));
  }
}

TEST_F(AboutTest, ShowModalDisablesTheOwnerUntilClosed) {
  HWND owner = CreateWindowW(L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                             nullptr, nullptr, nullptr);
  g_probe = {&about, owner};
  for (UINT close : {WM_CHAR, WM_LBUTTONUP}) {
    g_probe.close_message = close;
    SetTimer(nullptr, 0, 200, ProbeAndClose);
    about.ShowModal(owner);
    EXPECT_TRUE(g_probe.visible);
    EXPECT_FALSE(g_probe.owner_enabled);
    EXPECT_FALSE(IsWindowVisible(about.Handle()));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(about.Modal());
  }
  EXPECT_EQ(g_probe.ticks, 2);
  // Centred on the desktop.
  EXPECT_EQ(g_probe.rect.left, (GetSystemMetrics(SM_CXSCREEN) - 327) / 2);
  EXPECT_EQ(g_probe.rect.top, (GetSystemMetrics(SM_CYSCREEN) - 410) / 2);
  DestroyWindow(owner);
}

TEST(Help, OpensTheHelpFileBesideTheProgram) {
  g_call = {};
  HWND owner = reinterpret_cast<HWND>(0x1234);
  OpenHelpFile(owner, RecordShell);
  ASSERT_EQ(g_call.count, 1);
  EXPECT_EQ(g_call.owner, owner);
  EXPECT_EQ(g_call.operation, "open");
  EXPECT_EQ(g_call.file, ToAnsi(AppFolder() + "\\ml_help\\help.chm"));
  EXPECT_NE(g_call.file.find("\\\\ml_help\\help.chm"), std::string::npos);
  EXPECT_EQ(g_call.parameters, "");
  EXPECT_EQ(g_call.folder, "");
  EXPECT_EQ(g_call.show, SW_SHOW);
}

TEST(Help, ShippedHelpFileIsStaged) {
  // The tests run in the staged release folder.
  EXPECT_TRUE(testing::FileExists("ml_help\\help.chm"));
}

}  // namespace
}  // namespace coiffure
