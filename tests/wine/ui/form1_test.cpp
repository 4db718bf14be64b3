// The real main window, driven with real messages under Wine.
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "app/splash_win.h"
#include "wine/wine_support.h"
#include "workspace/composite.h"

namespace coiffure {
namespace {

using enum EditModeValue;

using namespace testing_support;

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    boxes_ = new BoxRecorder(IDNO);
    form_ = new TForm1(TForm1::Options{nullptr, CurrentFolder()});
    form_->Show();
    Pump();
  }
  static void TearDownTestSuite() {
    delete form_;
    delete boxes_;
  }
  void SetUp() override {
    Workspace& ws = form_->Work();
    ws.SetHairRect({0, 0, 200, 200});
    ws.HairSelected = ws.MoveDrag = ws.ResizeDrag = false;
    ws.ActiveHandle = 0;
    ws.EditMode = emMove;
    EnableWindow(form_->ListViewHandle(), TRUE);
    SetControl(false);
    boxes_->boxes.clear();
    boxes_->Answer(IDNO);
    trace_.clear();
    form_->SetTraceForTests(&trace_);
  }
  void TearDown() override {
    form_->SetTraceForTests(nullptr);
    SetControl(false);
  }
  static void SetControl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = down ? 0x80 : 0;
    keys[VK_SHIFT] = keys[VK_MENU] = 0;
    SetKeyboardState(keys);
  }
  static void Mouse(UINT msg, int x, int y) {
    const WPARAM buttons = msg == WM_LBUTTONDOWN   ? MK_LBUTTON
                           : msg == WM_RBUTTONDOWN ? MK_RBUTTON
                                                   : 0;
    SendMessageW(form_->PaintBoxHandle(), msg, buttons, MAKELPARAM(x, y));
  }
  static RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, form_->Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  static inline TForm1* form_ = nullptr;
  static inline BoxRecorder* boxes_ = nullptr;
  std::vector<std::string> trace_;
};

TEST_F(MainWindowTest, StartsWithTheLayoutAndTheWorkspaceStartValues) {
  RECT client;
  GetClientRect(form_->Handle(), &client);
  EXPECT_EQ(client.right, 764);
  EXPECT_EQ(client.bottom, 486);
  const LONG style = GetWindowLongW(form_->Handle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);

  // Every control where the form's layout puts it: left, top, width, height in its parent.
  struct Placed {
    const char* name;
    HWND wnd;
    RECT want;
  } const controls[] = {
      {"PaintBox1", form_->PaintBoxHandle(), {0, 23, 529, 444}},
      {"Image3", form_->Image3Handle(), {0, 321, 160, 146}},
      {"Splitter1", form_->SplitterHandle(), {529, 23, 4, 444}},
      {"StatusBar1", form_->StatusBarHandle(), {0, 467, 764, 19}},
      {"Panel1", form_->Panel1Handle(), {533, 23, 231, 444}},
      {"ListView1", form_->ListViewHandle(), {1, 1, 229, 442}},
      {"CoolBar1", form_->CoolBarHandle(), {0, 0, 764, 23}},
      {"ToolBar1", form_->ToolBar1Handle(), {9, 0, 226, 24}},
      {"ToolBar2", form_->ToolBar2Handle(), {248, 0, 512, 24}},
  };
  for (const Placed& c : controls) {
    RECT r;
    GetWindowRect(c.wnd, &r);
    MapWindowPoints(nullptr, GetParent(c.wnd), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
              (std::vector<LONG>{c.want.left, c.want.top, c.want.right, c.want.bottom}))
        << c.name;
  }
  EXPECT_EQ(GetParent(form_->ListViewHandle()), form_->Panel1Handle());
  EXPECT_EQ(GetParent(form_->ToolBar1Handle()), form_->CoolBarHandle());
  int edges[4] = {};
  EXPECT_EQ(SendMessageW(form_->StatusBarHandle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)),
            3);
  EXPECT_EQ((std::vector<int>(edges, edges + 3)), (std::vector<int>{550, 610, 660}));

  const Workspace& ws = form_->Work();
  EXPECT_EQ(ws.Photo.Width(), 512);
  EXPECT_FALSE(ws.HairMask.Empty());
  EXPECT_FALSE(ws.HairImage.Empty());
}

TEST_F(MainWindowTest, FontsHaveACharacterHeightOf11AndTheToolBarsARaisedEdge) {
  // The character height, as the platform's metrics give it: cell height less internal leading.
  const auto char_height = [](HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight - tm.tmInternalLeading;
  };
  for (HWND w : {form_->ListViewHandle(), form_->StatusBarHandle()})
    EXPECT_EQ(char_height(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0))), 11);
  Tcsh splash(10);
  EXPECT_EQ(char_height(splash.LabelFont()), 11);

  // The edge takes the toolbars' top row, outside the buttons' client area.
  for (HWND tb : {form_->ToolBar1Handle(), form_->ToolBar2Handle()}) {
    RECT c;
    GetClientRect(tb, &c);
    EXPECT_EQ(c.bottom, 23);
    HDC dc = GetWindowDC(tb);
    EXPECT_EQ(GetPixel(dc, 40, 0), GetSysColor(COLOR_3DLIGHT));
    ReleaseDC(tb, dc);
  }
}

TEST_F(MainWindowTest, SplitterShowsTheSplitPointer) {
  const HCURSOR cursor =
      reinterpret_cast<HCURSOR>(GetClassLongPtrW(form_->SplitterHandle(), GCLP_HCURSOR));
  ASSERT_NE(cursor, nullptr);
  EXPECT_NE(cursor, LoadCursorW(nullptr, IDC_SIZEWE));
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 15u);
  EXPECT_EQ(info.yHotspot, 16u);
  BITMAP bm{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 32);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
}

TEST_F(MainWindowTest, PaintShowsTheCompositeAndThePosition) {
  form_->Work().SetHairRect({-20, -5, 180, 195});
  InvalidateRect(form_->PaintBoxHandle(), nullptr, FALSE);
  UpdateWindow(form_->PaintBoxHandle());
  EXPECT_EQ(StatusText(form_->StatusBarHandle(), 2), L"x:-20  y:-5");
  // The screen must hold exactly the frame the core composes: orientation and byte order.
  Frame expected;
  expected.Resize(529, 444);
  ComposeWorkspace(form_->Work(), expected);
  for (const POINT p : {POINT{1, 1}, POINT{50, 60}, POINT{170, 10}, POINT{300, 200},
                        POINT{520, 100}, POINT{250, 290}, POINT{528, 297}}) {
    const Bgr want = expected.At(p.x, p.y);
    EXPECT_EQ(PixelAt(form_->PaintBoxHandle(), p.x, p.y), RGB(want.r, want.g, want.b))
        << p.x << "," << p.y;
  }
  // The 512 x 512 photo is centred at (8, -34): column 7 shows the teal background.
  EXPECT_EQ(PixelAt(form_->PaintBoxHandle(), 7, 250), RGB(0, 128, 128));
}

TEST_F(MainWindowTest, EveryDispatchingMenuEntryClicksItsButton) {
  std::map<CommandId, std::string> button_handler;
  for (const auto* bar : {&ToolBar1Buttons(), &ToolBar2Buttons()})
    for (const ToolButtonInfo& b : *bar) button_handler[b.id] = std::string(b.name) + "Click";
  int checked = 0;
  std::function<void(const std::vector<MenuEntry>&)> walk = [&](const auto& entries) {
    for (const MenuEntry& e : entries) {
      walk(e.children);
      if (e.forwards_to == kCmdNone) continue;
      trace_.clear();
      SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(e.id, 0), 0);
      const std::vector<std::string> want{std::string(e.name) + "Click",
                                          button_handler[e.forwards_to]};
      EXPECT_EQ(trace_, want) << e.name;
      ++checked;
      // The button alone runs the same handler.
      trace_.clear();
      SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(e.forwards_to, BN_CLICKED),
                   reinterpret_cast<LPARAM>(form_->ToolBar1Handle()));
      EXPECT_EQ(trace_, std::vector<std::string>{button_handler[e.forwards_to]}) << e.name;
    }
  };
  walk(MainMenu());
  EXPECT_EQ(checked, 14);
}

TEST_F(MainWindowTest, ModeCommandsSetTheEditModeAndKeepTheSelection) {
  Workspace& ws = form_->Work();
  ws.HairSelected = true;
  form_->RunMenuEntry(kMenuN6);
  EXPECT_EQ(ws.EditMode, emEnlarge);
  form_->Button(kToolButton11).Click();
  EXPECT_EQ(ws.EditMode, emShrink);
  form_->RunMenuEntry(kMenuN15);
  EXPECT_EQ(ws.EditMode, emMove);
  EXPECT_TRUE(ws.HairSelected);
  EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
}

TEST_F(MainWindowTest, ShortcutsResolveToTheFirstEntryAndSkipDisabledOnes) {
  auto press = [](WPARAM vk) {
    MSG msg{form_->Handle(), WM_KEYDOWN, vk, 0};
    return form_->IsShortCut(msg);
  };
  SetControl(true);
  EXPECT_TRUE(press('R'));
  EXPECT_EQ(trace_, (std::vector<std::string>{"R1Click", "ToolButton1Click"}));
  trace_.clear();
  EXPECT_TRUE(press(VK_F3));
  EXPECT_EQ(trace_, (std::vector<std::string>{"N11Click", "ToolButton7Click"}));
  trace_.clear();
  EXPECT_FALSE(press('S'));
  EXPECT_FALSE(press('P'));
  EXPECT_TRUE(trace_.empty());
  SetControl(false);
  EXPECT_FALSE(press('R'));
  EXPECT_TRUE(trace_.empty());
}

TEST_F(MainWindowTest, DisabledEntriesAndTheRotateButtonDoNothing) {
  EXPECT_TRUE(GetMenuState(form_->MenuHandle(), kMenuN9, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(form_->MenuHandle(), kMenuP1, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(form_->MenuHandle(), kMenuN17, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(SendMessageW(form_->ToolBar2Handle(), TB_ISBUTTONENABLED, kToolButton9, 0));
  form_->Button(kToolButton9).Click();
  SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(kMenuN9, 0), 0);
  EXPECT_TRUE(trace_.empty());
  wchar_t text[64];
  GetMenuStringW(form_->MenuHandle(), kMenuA1, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"关于我们{&A]...");
  GetMenuStringW(form_->MenuHandle(), kMenuN17, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"复原本次底片[&D]\tCtrl+R");
}

TEST_F(MainWindowTest, SplitterLimitsThePaintBoxWidth) {
  auto width = [] {
    RECT r;
    GetClientRect(form_->PaintBoxHandle(), &r);
    return r.right;
  };
  Splitter* s = form_->SplitterControl();
  s->DragTo(900);
  EXPECT_EQ(width(), 730);
  EXPECT_EQ(ChildRect(form_->Panel1Handle()).right - ChildRect(form_->Panel1Handle()).left, 30);
  s->DragTo(31);
  EXPECT_EQ(width(), 31);
  s->DragTo(30);
  EXPECT_EQ(width(), 0);
  // A real drag: press on the splitter, release far to the left.
  s->DragTo(529);
  SendMessageW(form_->SplitterHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
  SendMessageW(form_->SplitterHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-100, 10));
  SendMessageW(form_->SplitterHandle(), WM_LBUTTONUP, 0, MAKELPARAM(-100, 10));
  EXPECT_EQ(width(), 427);
  s->DragTo(529);
  EXPECT_EQ(width(), 529);
  // The photo is centred in the new width.
  Pump();
  EXPECT_EQ(PixelAt(form_->PaintBoxHandle(), 7, 250), RGB(0, 128, 128));
}

TEST_F(MainWindowTest, ClickOnThePaintBoxLeavesMoveModeRightClickDoesNot) {
  Workspace& ws = form_->Work();
  ws.EditMode = emShrink;
  Mouse(WM_RBUTTONDOWN, 300, 300);
  Mouse(WM_RBUTTONUP, 300, 300);
  EXPECT_EQ(ws.EditMode, emShrink);
  Mouse(WM_LBUTTONDOWN, 300, 300);
  Mouse(WM_LBUTTONUP, 300, 300);
  EXPECT_EQ(ws.EditMode, emMove);
  EXPECT_EQ(trace_, (std::vector<std::string>{"PaintBox1Click", "ToolButton3Click"}));
}

TEST_F(MainWindowTest, DragMovesTheHairstyleAndShowsTheHandles) {
  Workspace& ws = form_->Work();
  Mouse(WM_LBUTTONDOWN, 100, 100);
  EXPECT_TRUE(ws.HairSelected);
  EXPECT_FALSE(IsWindowEnabled(form_->ListViewHandle()));
  Mouse(WM_MOUSEMOVE, 120, 95);
  Mouse(WM_LBUTTONUP, 130, 90);
  EXPECT_EQ(ws.HairRect(), (Rect{30, -10, 230, 190}));
  UpdateWindow(form_->PaintBoxHandle());
  // Handle 5 at (230, 190): black ring at 227 and 232, white inside.
  EXPECT_EQ(PixelAt(form_->PaintBoxHandle(), 229, 189), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(form_->PaintBoxHandle(), 227, 190), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(form_->PaintBoxHandle(), 232, 188), RGB(0, 0, 0));
  // Resize from the bottom-right corner.
  Mouse(WM_MOUSEMOVE, 233, 193);
  EXPECT_EQ(ws.ActiveHandle, 5);
  EXPECT_EQ(form_->PaintBoxCursor(), LoadCursorW(nullptr, IDC_SIZENWSE));
  Mouse(WM_LBUTTONDOWN, 233, 193);
  Mouse(WM_LBUTTONUP, 283, 243);
  EXPECT_EQ(ws.HairRect(), (Rect{30, -10, 280, 240}));
  // A press away from the hairstyle and its handles deselects and gives the gallery back.
  Mouse(WM_MOUSEMOVE, 450, 400);
  Mouse(WM_LBUTTONDOWN, 450, 400);
  Mouse(WM_LBUTTONUP, 450, 400);
  EXPECT_FALSE(ws.HairSelected);
  EXPECT_TRUE(IsWindowEnabled(form_->ListViewHandle()));
}

TEST_F(MainWindowTest, ArrowKeysNudgeAndEnterDropsTheSelection) {
  Workspace& ws = form_->Work();
  Mouse(WM_LBUTTONDOWN, 100, 100);
  Mouse(WM_LBUTTONUP, 100, 100);
  EXPECT_EQ(GetFocus(), form_->Handle());
  SendMessageW(form_->Handle(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(ws.HairRect(), (Rect{-1, 0, 199, 200}));
  SetControl(true);
  SendMessageW(form_->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(ws.HairRect(), (Rect{-1, 10, 199, 210}));
  SetControl(false);
  SendMessageW(form_->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(ws.HairSelected);
  EXPECT_FALSE(IsWindowEnabled(form_->ListViewHandle()));
  SendMessageW(form_->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(ws.HairRect(), (Rect{-1, 10, 199, 210}));
}

TEST_F(MainWindowTest, AltWithArrowsAndEnterEditsAndThePlatformKeepsItsAltKeys) {
  Workspace& ws = form_->Work();
  Mouse(WM_LBUTTONDOWN, 100, 100);
  Mouse(WM_LBUTTONUP, 100, 100);
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_MENU] = keys[VK_LMENU] = 0x80;
  SetKeyboardState(keys);
  const LPARAM alt = LPARAM{1} << 29;  // the context code: Alt is held
  auto key = [&](WPARAM vk) {
    PostMessageW(form_->Handle(), WM_SYSKEYDOWN, vk, alt | 1);
    PostMessageW(form_->Handle(), WM_SYSKEYUP, vk, alt | 1 | (LPARAM{3} << 30));
    Pump();
  };
  key(VK_LEFT);
  EXPECT_EQ(ws.HairRect(), (Rect{-1, 0, 199, 200}));  // Alt alone is no Ctrl: one pixel
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
  SetKeyboardState(keys);
  key(VK_DOWN);
  EXPECT_EQ(ws.HairRect(), (Rect{-1, 1, 199, 201}));  // Ctrl with Alt: still one pixel
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
  SetKeyboardState(keys);
  key(VK_RETURN);
  EXPECT_FALSE(ws.HairSelected);
  // What the keys do not use goes on to the platform: Alt+F4 closes, so the question comes.
  EXPECT_TRUE(boxes_->boxes.empty());
  key(VK_F4);
  keys[VK_MENU] = keys[VK_LMENU] = 0;
  SetKeyboardState(keys);
  ASSERT_EQ(boxes_->boxes.size(), 1u);
  EXPECT_EQ(boxes_->boxes[0].text, L"真的要退出吗？");
  EXPECT_TRUE(IsWindow(form_->Handle()));
}

TEST_F(MainWindowTest, ImageCornerTakesTheMouse) {
  // Image3 covers paint-box (0, 298)-(160, 444); the window there is the picture, not the box.
  POINT in_corner{10, 23 + 350};
  POINT beside{200, 23 + 350};
  EXPECT_EQ(ChildWindowFromPointEx(form_->Handle(), in_corner, CWP_SKIPINVISIBLE),
            form_->Image3Handle());
  ClientToScreen(form_->Handle(), &in_corner);
  ClientToScreen(form_->Handle(), &beside);
  EXPECT_EQ(WindowFromPoint(in_corner), form_->Image3Handle());
  EXPECT_EQ(WindowFromPoint(beside), form_->PaintBoxHandle());
}

TEST_F(MainWindowTest, CameraCommandsReportInTheStatusLine) {
  // No capture device under Wine: the start text shows all the same.
  form_->RunMenuEntry(kMenuS1);
  EXPECT_EQ(StatusText(form_->StatusBarHandle(), 0), L"状态：正在监控...");
  EXPECT_EQ(form_->Capture().CaptureWnd, kNoCaptureWindow);
  form_->RunMenuEntry(kMenuT1);
  EXPECT_EQ(StatusText(form_->StatusBarHandle(), 0), L"状态：停止监控.");
  // Ctrl+Z takes a snapshot: without a preview the photo file on disk is read again.
  form_->Work().Photo.Row(0)[0] ^= 0xFF;
  SetControl(true);
  MSG msg{form_->Handle(), WM_KEYDOWN, 'Z', 0};
  EXPECT_TRUE(form_->IsShortCut(msg));
  SetControl(false);
  EXPECT_EQ(StatusText(form_->StatusBarHandle(), 0), L"状态：暂停，拍照完成.");
  Picture file;
  file.LoadFromFile(CurrentFolder() + "ml_data\\test.bmp");
  EXPECT_EQ(form_->Work().Photo.Row(0)[0], file.Row(0)[0]);
}

struct ShellCall {
  HWND owner;
  std::string op, file, params, dir;
  INT show;
};
std::vector<ShellCall> g_shell_calls;
HINSTANCE WINAPI RecordShell(HWND owner, LPCSTR op, LPCSTR file, LPCSTR params, LPCSTR dir,
                             INT show) {
  auto str = [](LPCSTR s) { return s ? std::string(s) : std::string("<null>"); };
  g_shell_calls.push_back({owner, str(op), str(file), str(params), str(dir), show});
  return reinterpret_cast<HINSTANCE>(33);
}

TEST_F(MainWindowTest, HelpButtonMenuAndCtrlHMakeTheSameShellCall) {
  g_shell_calls.clear();
  form_->SetShellForTests(&RecordShell);
  form_->Button(kToolButton14).Click();
  form_->RunMenuEntry(kMenuU2);
  SetControl(true);
  MSG msg{form_->Handle(), WM_KEYDOWN, 'H', 0};
  EXPECT_TRUE(form_->IsShortCut(msg));
  SetControl(false);
  form_->SetShellForTests(ShellExecuteA);
  ASSERT_EQ(g_shell_calls.size(), 3u);
  for (const ShellCall& c : g_shell_calls) {
    EXPECT_EQ(c.owner, form_->Handle());
    EXPECT_EQ(c.op, "open");
    EXPECT_EQ(c.file, ToAnsi(AppFolder()) + "\\ml_help\\help.chm");
    EXPECT_EQ(c.params, "");
    EXPECT_EQ(c.dir, "");
    EXPECT_EQ(c.show, SW_SHOW);
  }
}

TEST_F(MainWindowTest, GalleryListsTheLibraryAndAClickLoadsTheHairstyle) {
  HWND lv = form_->ListViewHandle();
  const int count = ListView_GetItemCount(lv);
  ASSERT_GE(count, 12);
  HIMAGELIST thumbs = ListView_GetImageList(lv, LVSIL_NORMAL);
  EXPECT_EQ(ImageList_GetImageCount(thumbs), count);
  int target = -1;
  for (int i = 0; i < count; ++i) {
    wchar_t text[MAX_PATH] = {};
    ListView_GetItemText(lv, i, 0, text, MAX_PATH);
    EXPECT_EQ(std::wstring(text).find(L"mask"), std::wstring::npos) << i;
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    ListView_GetItem(lv, &item);
    EXPECT_EQ(item.iImage, i);
    if (std::wstring(text) == L"bob_black.bmp") target = i;
  }
  ASSERT_GE(target, 0);
  form_->Work().SetHairRect({40, 30, 250, 260});
  // A real click on the entry.
  ListView_EnsureVisible(lv, target, FALSE);
  RECT r;
  ListView_GetItemRect(lv, target, &r, LVIR_ICON);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageW(lv, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(lv, WM_LBUTTONUP, 0, at);
  Pump();
  EXPECT_EQ(trace_, std::vector<std::string>{"ListView1Click"});
  Picture want;
  want.LoadFromFile(CurrentFolder() + "ml_fx\\bob_black.bmp");
  const Workspace& ws = form_->Work();
  ASSERT_EQ(ws.HairImage.Width(), want.Width());
  EXPECT_EQ(ws.HairImage.PixelBgr(170, 120), want.PixelBgr(170, 120));
  Picture mask;
  mask.LoadFromFile(CurrentFolder() + "ml_fx\\bob_blackmask.bmp");
  EXPECT_EQ(ws.HairMask.PixelBgr(170, 120), mask.PixelBgr(170, 120));
  EXPECT_EQ(ws.HairRect(), (Rect{40, 30, 250, 260}));
}

TEST_F(MainWindowTest, ToneMenuEntriesGiveTheSamePhotoAsTheirButtons) {
  Workspace& ws = form_->Work();
  const Picture original = ws.Photo;
  struct Pair {
    CommandId menu, button;
  } pairs[] = {{kMenuN10, kToolButton5},
               {kMenuN11, kToolButton7},
               {kMenuN13, kToolButton12},
               {kMenuN14, kToolButton6}};
  for (const Pair& p : pairs) {
    ws.Photo = original;
    form_->RunMenuEntry(p.menu);
    form_->RunMenuEntry(p.menu);
    const Picture by_menu = ws.Photo;
    ws.Photo = original;
    form_->Button(p.button).Click();
    form_->Button(p.button).Click();
    ASSERT_EQ(by_menu.Height(), ws.Photo.Height());
    int changed = 0;
    for (int y = 0; y < by_menu.Height(); ++y) {
      ASSERT_EQ(0, memcmp(by_menu.Row(y), ws.Photo.Row(y), by_menu.Stride())) << y;
      changed += memcmp(original.Row(y), ws.Photo.Row(y), by_menu.Stride()) != 0;
    }
    EXPECT_GT(changed, 0);
  }
  // The restore button brings the file back after the tone changes.
  form_->Button(kToolButton15).Click();
  for (int y = 0; y < original.Height(); ++y)
    ASSERT_EQ(0, memcmp(original.Row(y), ws.Photo.Row(y), original.Stride())) << y;
}

TEST_F(MainWindowTest, CloseAsksAndOnlyYesEndsTheProgram) {
  // Under Wine, Esc and the box's close button answer IDCANCEL: that must not end the try-on.
  for (const int answer : {IDNO, IDCANCEL}) {
    boxes_->boxes.clear();
    trace_.clear();
    boxes_->Answer(answer);
    SendMessageW(form_->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes_->boxes.size(), 1u);
    EXPECT_EQ(boxes_->boxes[0].text, L"真的要退出吗？");
    EXPECT_EQ(boxes_->boxes[0].caption, L"提示");
    EXPECT_EQ(boxes_->boxes[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(trace_, std::vector<std::string>{"FormCloseQuery"}) << answer;
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << answer;
  }
  EXPECT_TRUE(IsWindow(form_->Handle()));
}

TEST_F(MainWindowTest, MovesAndReleasesOfAPressThatBeganElsewhereAreNotThePaintBoxs) {
  Workspace& ws = form_->Work();
  Mouse(WM_LBUTTONDOWN, 100, 100);
  Mouse(WM_LBUTTONUP, 100, 100);
  ASSERT_TRUE(ws.HairSelected);
  const HCURSOR arrow = form_->PaintBoxCursor();
  // What the platform delivers when the press is on Image3 (or the status bar, or the disabled
  // gallery) and the pointer is then dragged over the paint box, across handle 6, and let go.
  for (const UINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
    const WPARAM held = button == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON;
    SendMessageW(form_->Image3Handle(), button, held, MAKELPARAM(20, 20));
    SendMessageW(form_->PaintBoxHandle(), WM_MOUSEMOVE, held, MAKELPARAM(205, 100));
    SendMessageW(form_->PaintBoxHandle(), button + 1, 0, MAKELPARAM(150, 120));
    EXPECT_EQ(ws.HairRect(), (Rect{0, 0, 200, 200}));
    EXPECT_EQ(ws.ActiveHandle, 0);
    EXPECT_EQ(form_->PaintBoxCursor(), arrow);
  }
  EXPECT_TRUE(ws.HairSelected);
  // A press of its own is still followed everywhere, with another button held or not.
  Mouse(WM_LBUTTONDOWN, 100, 100);
  SendMessageW(form_->PaintBoxHandle(), WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON,
               MAKELPARAM(205, 100));
  EXPECT_EQ(ws.ActiveHandle, 6);
  Mouse(WM_LBUTTONUP, 110, 90);
  EXPECT_EQ(ws.HairRect(), (Rect{10, -10, 210, 190}));
}

TEST(MainWindowStartup, MissingPhotoIsReportedAndTheWindowStillWorks) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / L"coiffure_empty";
  std::filesystem::create_directories(dir);
  std::string folder = Narrow(dir.wstring());
  if (folder.back() != '\\') folder += '\\';
  BoxRecorder boxes;
  const std::string cwd = CurrentFolder();
  {
    TForm1 form(TForm1::Options{nullptr, folder});
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, Widen("Cannot open file " + folder + "\\ml_data\\test.bmp."));
    EXPECT_EQ(boxes.boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(boxes.boxes[0].caption, L"coiffure_wine_tests");
    EXPECT_EQ(form.Work().HairRect(), (Rect{0, 0, 200, 200}));
    form.Show();
    Pump();
    EXPECT_EQ(StatusText(form.StatusBarHandle(), 2), L"x:0  y:0");
    EXPECT_EQ(PixelAt(form.PaintBoxHandle(), 300, 300), RGB(0, 128, 128));
  }
  EXPECT_EQ(boxes.boxes.size(), 1u);
  Pump();
  SetCurrentDirectoryW(Widen(cwd).c_str());  // the first show moved into the given folder
}

TEST(MainWindowExit, ExitEndsWithoutTheQuestionAndDisconnects) {
  BoxRecorder boxes(IDNO);
  TForm1 form(TForm1::Options{nullptr, CurrentFolder()});
  std::vector<std::string> trace;
  form.SetTraceForTests(&trace);
  form.RunMenuEntry(kMenuE1);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(trace, (std::vector<std::string>{"E1Click", "FormCloseQuery", "FormClose"}));
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the end request
  Pump();
  form.SetTraceForTests(nullptr);
}

TEST(Splash, ClosesItselfWhenTheTimerFires) {
  Tcsh splash(150);
  const DWORD start = GetTickCount();
  splash.ShowModal();
  EXPECT_GE(GetTickCount() - start, 140u);
  EXPECT_FALSE(splash.Visible());
  RECT r;
  GetClientRect(splash.Handle(), &r);
  EXPECT_EQ(r.right, 327);
  EXPECT_EQ(r.bottom, 306);
}

}  // namespace
}  // namespace coiffure
