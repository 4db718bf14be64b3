// The customer's own hair in a shade by the real program: its command lines, the photo as it
// was kept once and put back, a new photo letting it go, and a read-only or busy photo refused
// with nothing lost.
#include <windows.h>

#include <wincodec.h>

#include <gtest/gtest.h>

#include "desk/own_hair/own_hair.h"
#include "import/customer_photo.h"
#include "wine/desk/desk_support.h"
#include "wine/picture_files.h"

namespace coiffure {
namespace {

using namespace testing;

const std::string kDone = "：已换上发色 ", kKeptAt = "，原照片保存在 ml_data\\原照片.bmp\r\n";

// The shipped photo's hair (a short cut over a light wall) as an operator marks it: a box
// around the head, a stroke along the hair and one across the face.
RgbaImage MarksOfShippedPhoto(int w, int h) {
  RgbaImage m = Plain(w, h, {0, 0, 0, 255});
  for (int y = 5; y < 150; ++y)
    for (int x = 140; x < 312; ++x) {
      uint8_t* p = m.Pixel(x, y);
      const bool hair = y >= 30 && y < 42 && x >= 190 && x < 270;
      const bool face = y >= 110 && y < 135 && x >= 200 && x < 250;
      p[0] = face ? 255 : hair ? 0 : 128, p[1] = face || hair ? 0 : 128, p[2] = hair ? 255 : 128;
    }
  return m;
}

class OwnShade : public ::testing::Test {
 protected:
  void SetUp() override {
    exe = StageImportProgram(folder.Path(""));
    original = ReadBytes(photo);
    Picture p;
    p.LoadFromFile(photo);
    WriteWithWic(marks, GUID_ContainerFormatPng, MarksOfShippedPhoto(p.Width(), p.Height()));
  }
  DWORD Run(const std::string& args) {
    return RunImportProgram(exe, L"/quiet " + Widen(args), folder.Path("out.txt"), &output);
  }
  DWORD Shade(const std::string& shade) {
    return Run("/own-shade " + shade + " \"" + marks + "\"");
  }
  Bgr At(const std::string& file, int x, int y) {
    Picture p;
    p.LoadFromFile(file);
    return p.PixelBgr(x, y);
  }

  TempFolder folder;
  ScopedCom com;
  std::string exe, output, original;
  const std::string photo = folder.Path("ml_data\\test.bmp");
  const std::string kept = folder.Path("ml_data\\原照片.bmp"), marks = folder.Path("marks.png");
};

TEST_F(OwnShade, KeptOnceRestoredInOneStepAndLetGoForANewCustomer) {
  ASSERT_EQ(Shade("浅金"), 0u) << output;
  EXPECT_EQ(output, "ml_data\\test.bmp 浅金" + kDone + "浅金" + kKeptAt);
  EXPECT_EQ(ReadBytes(kept), original);
  EXPECT_EQ(At(photo, 5, 500), At(kept, 5, 500));  // the flag, far off the hair
  EXPECT_NE(At(photo, 230, 36), At(kept, 230, 36));
  ASSERT_EQ(Shade("#3A2A20"), 0u) << output;
  EXPECT_EQ(output, "ml_data\\test.bmp #3A2A20" + kDone + "自选3A2A20" + kKeptAt);
  EXPECT_EQ(ReadBytes(kept), original) << "a recoloured photo was kept";

  ASSERT_EQ(Run("/own-shade-undo"), 0u) << output;
  EXPECT_EQ(output, "ml_data\\test.bmp：已恢复原照片\r\n");
  EXPECT_EQ(ReadBytes(photo), original);
  EXPECT_FALSE(FileExists(kept));
  EXPECT_EQ(Run("/own-shade-undo"), 1u);
  EXPECT_EQ(output, "ml_data\\test.bmp：未恢复原照片：没有保存的原照片\r\n");

  ASSERT_EQ(Shade("酒红"), 0u) << output;
  WriteWithWic(folder.Path("next.png"), GUID_ContainerFormatPng,
               Plain(300, 400, {90, 120, 160, 255}));
  ASSERT_EQ(Run("/photo \"" + folder.Path("next.png") + "\""), 0u) << output;
  EXPECT_FALSE(FileExists(kept));
  EXPECT_FALSE(FileExists(folder.Path("ml_data\\.coiffure-recoloured")));
  EXPECT_EQ(Run("/own-shade-undo"), 1u);
  EXPECT_EQ(At(photo, 150, 200), (Bgr{90, 120, 160}));
}

// Another program holding test.bmp, or the file made read-only: the line says why, test.bmp is
// as it was and what is kept is the photo as it was.
TEST_F(OwnShade, AReadOnlyOrBusyPhotoIsRefusedWithNothingLost) {
  struct Case {
    const char* how;
    DWORD share;  // a handle held open with this sharing; ~0u: none, the file read-only
    const char* reason;
  };
  const Case cases[] = {
      {"read-only", ~0u, kMsgPhotoNotReplaced},
      {"busy", 0, "无法读取顾客照片 ml_data\\test.bmp（文件正被别的程序占用）"},
      {"being read", FILE_SHARE_READ, kMsgPhotoNotReplaced},
  };
  for (const bool second : {false, true})
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.how) + (second ? " second" : " first"));
      if (second) {
        ASSERT_EQ(Shade("浅金"), 0u) << output;
      }
      const std::string before = ReadBytes(photo);
      HANDLE held = INVALID_HANDLE_VALUE;
      if (c.share == ~0u)
        SetFileAttributesW(Widen(photo).c_str(), FILE_ATTRIBUTE_READONLY);
      else
        held = CreateFileW(Widen(photo).c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING, 0,
                           nullptr);
      EXPECT_EQ(Shade("酒红"), 1u);
      EXPECT_EQ(output, "ml_data\\test.bmp 酒红：未换发色：" + std::string(c.reason) + "\r\n");
      if (second) {
        EXPECT_EQ(Run("/own-shade-undo"), 1u) << output;
        EXPECT_EQ(ReadBytes(kept), original);
      }
      if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
      SetFileAttributesW(Widen(photo).c_str(), FILE_ATTRIBUTE_NORMAL);
      EXPECT_EQ(ReadBytes(photo), before);
      if (FileExists(kept)) {
        EXPECT_EQ(ReadBytes(kept), original);
      }
      ASSERT_EQ(Run("/own-shade-undo"), second ? 0u : 1u) << output;
      EXPECT_EQ(ReadBytes(photo), original);
    }
}

// The drop box's new photo is a new customer's, as /photo's is.
TEST_F(DeskFixture, APhotoDroppedLetsTheLastCustomersKeptOriginalGo) {
  PhotoFolder place{photos, [&](const std::string& name) {
                      return ReadWholeFile(folder.Path("ml_data\\") + name);
                    }};
  PutRecolouredPhoto(place, ReadOriginalPhoto(place),
                     Picture::Create24(529, 444, {1, 2, 3}).EncodeBmp24());
  ASSERT_TRUE(FileExists(folder.Path("ml_data\\原照片.bmp")));
  WriteWithWic(folder.Path("next.png"), GUID_ContainerFormatPng, Plain(30, 40, {9, 9, 9, 255}));
  SendMessageW(window.PhotoDrop(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({folder.Path("next.png")})), 0);
  WaitForWork(window);
  EXPECT_EQ(window.Rows().back().result, "已换为顾客照片（30 × 40）");
  EXPECT_EQ(FilesIn(folder.Path("ml_data")), std::vector<std::string>{"test.bmp"});
}

}  // namespace
}  // namespace coiffure
