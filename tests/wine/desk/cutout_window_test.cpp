// The cut-out window on the platform, on the shipped photo of a person: the photo prepared and
// each matte worked out off the window's thread, the drags of both buttons and the window's
// keys as the platform delivers them, what the screen shows, and the import's row in the desk.
#include <windows.h>

#include <gtest/gtest.h>

#include "colour/palette.h"
#include "desk/cutout/style_purpose_win.h"
#include "desk/own_hair/own_hair_purpose_win.h"
#include "import/kept_photo.h"
#include "wine/desk/desk_support.h"
#include "wine/wine_support.h"

namespace coiffure {
namespace {

using namespace testing;

class CutoutWindowTest : public DeskFixture {
 protected:
  // The astronaut of the shipped ml_data\test.bmp, 512 x 512.
  const std::string photo = testing_support::CurrentFolder() + "ml_data\\test.bmp";

  CutoutWindow& Open(const std::string& path) {
    CutoutWindow& cut = window.OpenCutout(path);
    ShowWindow(cut.Handle(), SW_SHOW);
    Until([&] { return cut.Ready() || !cut.Working(); });
    return cut;
  }
  // Runs the messages until it holds (a minute at most).
  static void Until(const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 60000) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      testing_support::Pump();
    }
    testing_support::Pump();
  }
  // A drag on the canvas from one photo pixel to another, as the platform sends it.
  static void Drag(CutoutWindow& cut, bool left, POINT from, POINT to) {
    const ViewMap& map = cut.Editor()->Map();
    const auto at = [&](POINT p) {
      return MAKELPARAM(map.Rect().left + int(p.x * map.Scale()),
                        map.Rect().top + int(p.y * map.Scale()));
    };
    const HWND canvas = cut.Canvas();
    SendMessageW(canvas, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0, at(from));
    SendMessageW(canvas, WM_MOUSEMOVE, 0, at({(from.x + to.x) / 2, (from.y + to.y) / 2}));
    SendMessageW(canvas, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at(to));
  }
  static void Key(CutoutWindow& cut, WPARAM key, bool ctrl) {
    BYTE state[256]{};
    GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    MSG msg{cut.Canvas(), WM_KEYDOWN, key, 0};
    EXPECT_TRUE(cut.PreTranslate(msg));
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
  }
  // The box around her head, a hair stroke on its top, not hair on her face and the wall.
  static void MarkHead(CutoutWindow& cut) {
    Drag(cut, true, {130, 5}, {320, 200});
    Drag(cut, true, {200, 35}, {260, 35});
    Drag(cut, false, {205, 130}, {245, 130});
    Drag(cut, false, {140, 15}, {140, 60});
  }
};

TEST_F(CutoutWindowTest, EachStrokesMatteComesFromTheWorkerAndTheScreenShowsIt) {
  CutoutWindow& cut = Open(photo);
  ASSERT_TRUE(cut.Ready());
  MarkHead(cut);
  EXPECT_FALSE(cut.MatteShown()) << "worked out off the window's thread, not in the release";
  Until([&] { return cut.MatteShown(); });
  ASSERT_TRUE(cut.MatteShown());
  EXPECT_EQ(cut.Editor()->History().Sketch().strokes.size(), 3u);
  UpdateWindow(cut.Canvas());
  RECT client;
  GetClientRect(cut.Canvas(), &client);
  const Frame screen = testing::OnScreen(cut.Canvas(), client.right, client.bottom);
  // All of it but the brush circle under the last release.
  EXPECT_LT(testing::PixelsThatDiffer(screen, cut.Shown()), 400u);
  const ViewMap& map = cut.Editor()->Map();
  const auto shown = [&](int x, int y) {
    return cut.Shown().At(map.Rect().left + int(x * map.Scale()),
                          map.Rect().top + int(y * map.Scale()));
  };
  const Bgr hair = shown(230, 60), face = shown(225, 150), chest = shown(250, 400);
  EXPECT_GT(hair.r + hair.g + hair.b, 3 * 100) << "her hair as it is";
  EXPECT_LT(chest.r, 120) << "her orange suit outside the box, dimmed";
  EXPECT_LT(face.r + face.g + face.b, 3 * 120) << "her face, not hair, dimmed";
}

TEST_F(CutoutWindowTest, TheWindowsKeysUndoRedoResizeAndCloseAndTheMarksAreKeptForThePhoto) {
  CutoutWindow& cut = Open(photo);
  ASSERT_TRUE(cut.Ready());
  MarkHead(cut);
  Key(cut, 'Z', true);
  EXPECT_EQ(cut.Editor()->History().Sketch().strokes.size(), 2u);
  Key(cut, 'Y', true);
  EXPECT_EQ(cut.Editor()->History().Sketch().strokes.size(), 3u);
  Key(cut, VK_OEM_4, false);
  EXPECT_LT(cut.Editor()->BrushRadius(), CutoutEditor::kStartBrush);
  Key(cut, VK_OEM_6, false);
  Key(cut, VK_OEM_6, false);
  EXPECT_GT(cut.Editor()->BrushRadius(), CutoutEditor::kStartBrush);
  MSG esc{cut.Canvas(), WM_KEYDOWN, VK_ESCAPE, 0};
  cut.PreTranslate(esc);
  testing_support::Pump();
  EXPECT_TRUE(cut.Done());
  // The same photo again: its marks as they were, every one a step to undo.
  CutoutWindow& again = Open(photo);
  ASSERT_TRUE(again.Ready());
  EXPECT_EQ(again.Editor()->History().Sketch().strokes.size(), 3u);
  EXPECT_EQ(again.Editor()->CurrentTool(), CutoutEditor::Tool::kBrush);
  Until([&] { return again.MatteShown(); });
  EXPECT_TRUE(again.MatteShown());
}

TEST_F(CutoutWindowTest, ImportAsAStyleGivesTheDeskItsRowAndAPhotoThatCannotBeReadSaysWhy) {
  CutoutWindow& cut = Open(photo);
  ASSERT_TRUE(cut.Ready());
  MarkHead(cut);
  Until([&] { return cut.MatteShown(); });
  SendMessageW(cut.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(cut.Done());
  testing::WaitForWork(window);
  ASSERT_EQ(window.Rows().size(), 1u);
  EXPECT_EQ(window.Rows()[0].result, "已导入为 test.bmp");
  EXPECT_TRUE(testing::FileExists(library + "testmask.bmp"));
  EXPECT_EQ(window.Rows()[0].preview.kind, PreviewSubject::Kind::kPair);

  testing::WriteBytes(folder.Path("notes.jpg"), "not a picture");
  CutoutWindow& bad = Open(folder.Path("notes.jpg"));
  EXPECT_FALSE(bad.Ready());
  EXPECT_NE(testing::WindowText(bad.StatusLine()).find(kMsgNotAPicture), std::string::npos)
      << testing::WindowText(bad.StatusLine());
  SendMessageW(bad.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_FALSE(bad.Done()) << "nothing to import";
  EXPECT_EQ(window.Rows().size(), 1u);
}

// A photo of a person dropped on the desk is imported as any picture, and its row offers the
// cut-out: a double-click on it opens the cut-out window on the file.
TEST_F(CutoutWindowTest, ADroppedPhotoOfAPersonOffersTheCutOutOfItsHair) {
  Drop({photo});
  testing::WaitForWork(window);
  ASSERT_EQ(window.Rows().size(), 1u);
  EXPECT_EQ(window.Rows()[0].result, "已导入为 test.bmp（像是人物照片）");
  ASSERT_TRUE(window.Rows()[0].offers_cutout);
  static std::string opened;
  opened.clear();
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND cut = FindWindowW(L"CoiffureCutoutWindow", nullptr)) {
      opened = testing::WindowText(cut);
      PostMessageW(cut, WM_COMMAND, IDCANCEL, 0);
    }
  });
  RECT item{LVIR_BOUNDS};
  SendMessageW(window.ListView(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  const LPARAM at = MAKELPARAM(item.left + 20, (item.top + item.bottom) / 2);
  SendMessageW(window.ListView(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(window.ListView(), WM_LBUTTONUP, 0, at);
  SendMessageW(window.ListView(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(window.ListView(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(opened, "从照片剪出发型 - Coiffure 发型导入");
}

// The customer's own hair: the window on her photo, a shade chosen, the photo used with the
// original kept; a desk opened afterwards finds the marks kept beside the photo, and the kept
// original is put back. Without a photo the desk says so in a row and opens nothing.
TEST_F(CutoutWindowTest, OwnHairInAShadeIsUsedAsThePhotoAndTheKeptOriginalPutBack) {
  const std::string test_bmp = folder.Path("ml_data\\test.bmp");
  const std::string kept = folder.Path("ml_data\\") + kKeptPhotoName;
  DeleteFileW(Widen(test_bmp).c_str());
  EXPECT_EQ(window.OpenOwnHair(), nullptr);
  ASSERT_EQ(window.Rows().size(), 1u);
  EXPECT_FALSE(window.Rows()[0].ok);
  EXPECT_EQ(window.Rows()[0].result, std::string("未换发色：") + kMsgNoCustomerPhoto);

  ASSERT_TRUE(CopyFileW(Widen(photo).c_str(), Widen(test_bmp).c_str(), FALSE));
  const std::string original = testing::ReadBytes(test_bmp);
  const auto open = [&](DeskWindow& desk) -> CutoutWindow& {
    CutoutWindow* cut = desk.OpenOwnHair();
    EXPECT_NE(cut, nullptr);
    ShowWindow(cut->Handle(), SW_SHOW);
    Until([&] { return cut->Ready() || !cut->Working(); });
    return *cut;
  };
  CutoutWindow& cut = open(window);
  ASSERT_TRUE(cut.Ready());
  MarkHead(cut);
  Until([&] { return cut.MatteShown(); });
  const HWND use = GetDlgItem(cut.Handle(), IDOK);
  EXPECT_FALSE(IsWindowEnabled(use)) << "no shade chosen yet";
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(cut.Handle(), OwnHairPurpose::kRestoreId)));
  const std::vector<Shade>& palette = ShadePalette();
  const size_t blonde =
      static_cast<size_t>(std::find_if(palette.begin(), palette.end(),
                                       [](const Shade& s) { return s.name == "浅金"; }) -
                          palette.begin());
  ASSERT_LT(blonde, palette.size());
  SendMessageW(cut.Handle(), WM_COMMAND,
               MAKEWPARAM(ShadeSwatches::kFirstId + static_cast<int>(blonde), BN_CLICKED), 0);
  EXPECT_TRUE(IsWindowEnabled(use));
  EXPECT_EQ(SendMessageW(cut.LookButton(1), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(cut.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(cut.Done());
  testing::WaitForWork(window);
  ASSERT_EQ(window.Rows().size(), 2u);
  EXPECT_EQ(window.Rows()[1].result, "已换上发色 浅金，原照片保存在 ml_data\\原照片.bmp");
  EXPECT_EQ(window.Rows()[1].preview.kind, PreviewSubject::Kind::kPhoto);
  EXPECT_EQ(testing::ReadBytes(kept), original);
  Picture before, after;
  before.LoadFromFile(photo);
  after.LoadFromFile(test_bmp);
  const Bgr hair = after.PixelBgr(230, 40), was = before.PixelBgr(230, 40);
  EXPECT_GT(hair.r + hair.g + hair.b, was.r + was.g + was.b + 60) << "her hair made blonde";
  EXPECT_EQ(after.PixelBgr(250, 400), before.PixelBgr(250, 400)) << "her suit as it was";

  {
    DeskWindow fresh{wic, {lib, library, photos, test_bmp}, false};
    ASSERT_TRUE(fresh.Create());
    CutoutWindow& again = open(fresh);
    ASSERT_TRUE(again.Ready());
    EXPECT_EQ(again.PhotoPath(), kept) << "a second colour starts from the original";
    EXPECT_EQ(again.Editor()->History().Sketch().strokes.size(), 3u) << "the marks kept with it";
    const HWND restore = GetDlgItem(again.Handle(), OwnHairPurpose::kRestoreId);
    ASSERT_TRUE(IsWindowEnabled(restore));
    SendMessageW(again.Handle(), WM_COMMAND, MAKEWPARAM(OwnHairPurpose::kRestoreId, BN_CLICKED), 0);
    EXPECT_TRUE(again.Done());
    testing::WaitForWork(fresh);
    ASSERT_EQ(fresh.Rows().size(), 1u);
    EXPECT_EQ(fresh.Rows()[0].result, "已恢复原照片");
    DestroyWindow(fresh.Handle());
  }
  EXPECT_EQ(testing::ReadBytes(test_bmp), original);
  EXPECT_FALSE(testing::FileExists(kept));
}

}  // namespace
}  // namespace coiffure
