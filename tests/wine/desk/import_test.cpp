// The import program on the platform: pictures written and read through the imaging component,
// imports into a scratch library that the real scan lists and the real selection loads, the
// window fed by a real drop, the command line, and both programs' version resources.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wincodec.h>

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

#include "colour/variants.h"
#include "desk/desk_window_win.h"
#include "desk/library_folder_win.h"
#include "gallery/gallery_win.h"
#include "pictures/wic_win.h"
#include "toolkit/text_win.h"
#include "wine/desk/desk_support.h"
#include "wine/picture_files.h"
#include "wine/wine_helpers.h"
#include "wine/wine_support.h"

namespace coiffure {
namespace {

using testing::RunImportProgram;
using testing::TempFolder;
using testing::WriteWithWic;

// A soft-edged disc of warm colours on transparency, as a salon's PNG cut-out has it.
RgbaImage Disc(int side) {
  RgbaImage img = RgbaImage::Create(side, side);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      uint8_t* p = img.Pixel(x, y);
      const double d = std::hypot(x - side / 2.0, y - side / 2.0) / (side / 2.0);
      p[0] = static_cast<uint8_t>(20 + x % 50);
      p[1] = static_cast<uint8_t>(60 + y % 60);
      p[2] = 150;
      p[3] = static_cast<uint8_t>(std::lround(255 * std::clamp((0.9 - d) / 0.3, 0.0, 1.0)));
    }
  }
  return img;
}

class Import : public ::testing::Test {
 protected:
  void SetUp() override {
    library = folder.Path("ml_fx") + "\\";
    // The temporary folder's name can repeat after a crashed run: start from an empty library.
    std::error_code ignored;
    std::filesystem::remove_all(Widen(library), ignored);
    WriteWithWic(folder.Path("disc.png"), GUID_ContainerFormatPng, Disc(320));
    WriteWithWic(folder.Path("盘发.jpg"), GUID_ContainerFormatJpeg, Disc(320));
    testing::WriteBytes(folder.Path("notes.png"), "not a picture");
  }
  TempFolder folder;
  std::string library;
  ScopedCom com;
  WicPictureSource wic;
};

TEST_F(Import, ThePlatformDecodesWhatItEncodedAndRefusesTheRest) {
  const RgbaImage want = Disc(320);
  const RgbaImage png = wic.Decode(folder.Path("disc.png"));
  ASSERT_EQ(png.width, 320);
  ASSERT_EQ(png.height, 320);
  EXPECT_TRUE(png.bgra == want.bgra);  // lossless, alpha included
  const RgbaImage jpeg = wic.Decode(folder.Path("盘发.jpg"));
  ASSERT_EQ(jpeg.bgra.size(), want.bgra.size());
  double error = 0;
  for (size_t i = 0; i < want.bgra.size(); i += 4) {
    EXPECT_EQ(jpeg.bgra[i + 3], 255);
    for (int c = 0; c < 3; ++c) error += std::abs(jpeg.bgra[i + c] - want.bgra[i + c]);
  }
  EXPECT_LT(error / (320.0 * 320 * 3), 4.0);  // lossy, but close
  struct Case {
    std::string path;
    const char* message;
  };
  for (const Case& c : {Case{folder.Path("notes.png"), kMsgNotAPicture},
                        Case{folder.Path("missing.png"), kMsgCannotOpenPicture},
                        Case{folder.Path(""), kMsgFolderWithoutPictures}}) {
    try {
      wic.Decode(c.path);
      ADD_FAILURE() << c.path;
    } catch (const ImportError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.path;
    }
  }
}

// The real scan lists what the import wrote, and the real selection loads it as a pair that
// composites to exactly the hair over any photo.
TEST_F(Import, TheLibraryScanListsImportedStylesAndTheSelectionLoadsThem) {
  Win32LibraryFolder lib(library);
  EXPECT_EQ(ResultText(ImportPicture(folder.Path("disc.png"), wic, lib)), "已导入为 disc.bmp");
  EXPECT_EQ(ResultText(ImportPicture(folder.Path("disc.png"), wic, lib)), "已导入为 disc_2.bmp");
  EXPECT_EQ(ResultText(ImportPicture(folder.Path("盘发.jpg"), wic, lib)), "已导入为 盘发.bmp");
  EXPECT_EQ(ResultText(ImportPicture(folder.Path("notes.png"), wic, lib)),
            std::string("未导入：") + kMsgNotAPicture);
  EXPECT_EQ(testing::FilesIn(library),
            (std::vector<std::string>{"disc.bmp", "disc_2.bmp", "disc_2mask.bmp", "discmask.bmp",
                                      "盘发.bmp", "盘发mask.bmp"}));  // no temporary file left

  HWND lv = CreateWindowExW(0, WC_LISTVIEWW, L"", LVS_ICON | LVS_SINGLESEL, 0, 0, 229, 442, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  const std::string cwd = testing_support::CurrentFolder();
  SetCurrentDirectoryW(Widen(library).c_str());
  ScanHairLibraryInto(lv);
  SetCurrentDirectoryW(Widen(cwd).c_str());
  std::vector<std::string> captions;
  ListViewSelection selection(lv);
  for (int i = 0; i < selection.EntryCount(); ++i) captions.push_back(selection.Caption(i));
  std::sort(captions.begin(), captions.end());
  EXPECT_EQ(captions, (std::vector<std::string>{"disc.bmp", "disc_2.bmp", "盘发.bmp"}));

  for (int i = 0; i < selection.EntryCount(); ++i)
    if (selection.Caption(i) == "disc.bmp")
      ListView_SetItemState(lv, i, LVIS_SELECTED, LVIS_SELECTED);
  Workspace ws;
  ws.Reset();
  bool repainted = false;
  LoadSelectedHairstyle(selection, folder.Path(""), ws, [&] { repainted = true; });
  ASSERT_TRUE(repainted);
  ASSERT_EQ(ws.HairImage.Width(), ws.HairMask.Width());
  ASSERT_EQ(ws.HairImage.Height(), ws.HairMask.Height());
  // (photo AND mask) OR colour: at the disc's centre the hair's own colour, in the corner the
  // photo untouched.
  const Bgr photo{90, 200, 30};
  auto composite = [&](int x, int y) {
    const Bgr m = ws.HairMask.PixelBgr(x, y), c = ws.HairImage.PixelBgr(x, y);
    return Bgr{static_cast<uint8_t>((photo.b & m.b) | c.b),
               static_cast<uint8_t>((photo.g & m.g) | c.g),
               static_cast<uint8_t>((photo.r & m.r) | c.r)};
  };
  const int cx = ws.HairImage.Width() / 2, cy = ws.HairImage.Height() / 2;
  const RgbaImage disc = Disc(320);
  const uint8_t* centre = disc.Pixel(160, 160);
  EXPECT_EQ(composite(cx, cy), (Bgr{centre[0], centre[1], centre[2]}));
  EXPECT_EQ(composite(0, 0), photo);
  DestroyWindow(lv);
}

TEST_F(Import, AFolderThatCannotBeMadeIsRefusedCleanly) {
  testing::WriteBytes(folder.Path("blocked"), "a file where the folder should be");
  Win32LibraryFolder lib(folder.Path("blocked") + "\\ml_fx\\");
  const ImportResult r = ImportPicture(folder.Path("disc.png"), wic, lib);
  EXPECT_FALSE(r.imported);
  EXPECT_EQ(r.message, kMsgFolderNotWritable);
}

std::string ItemText(HWND lv, int row, int column) {
  wchar_t buf[512] = {};
  ListView_GetItemText(lv, row, column, buf, 512);
  return Narrow(buf);
}

TEST_F(Import, TheWindowListsWhatBecameOfEachDroppedFile) {
  Win32LibraryFolder lib(library), photos(folder.Path("ml_data") + "\\");
  DeskWindow window(wic, {lib, library, photos, folder.Path("ml_data\\test.bmp")}, false);
  ASSERT_TRUE(window.Create());
  EXPECT_EQ(testing::WindowText(window.AddButton()), "添加发型图片(&A)...");
  EXPECT_TRUE(GetWindowLongW(window.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  SendMessageW(window.Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(testing::MakeDrop(
                   {folder.Path("disc.png"), folder.Path("notes.png"), folder.Path("盘发.jpg")})),
               0);
  testing::WaitForWork(window);
  const HWND lv = window.ListView();
  ASSERT_EQ(ListView_GetItemCount(lv), 3);
  const std::vector<std::vector<std::string>> want = {
      {"disc.png", "已导入为 disc.bmp"},
      {"notes.png", std::string("未导入：") + kMsgNotAPicture},
      {"盘发.jpg", "已导入为 盘发.bmp"}};
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(ItemText(lv, row, 0), want[row][0]);
    EXPECT_EQ(ItemText(lv, row, 1), want[row][1]);
  }
  EXPECT_TRUE(testing::FileExists(library + "盘发mask.bmp"));

  // A folder dropped: a row for each picture directly in it, in name order.
  const std::string dropped = folder.Path("dropped");
  CreateDirectoryW(Widen(dropped).c_str(), nullptr);
  for (const char* name : {"\\b10.png", "\\b2.png"})
    WriteWithWic(dropped + name, GUID_ContainerFormatPng, Disc(64));
  testing::WriteBytes(dropped + "\\read me.txt", "not a picture");
  SendMessageW(window.Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(testing::MakeDrop({dropped})), 0);
  testing::WaitForWork(window);
  ASSERT_EQ(ListView_GetItemCount(lv), 5);
  EXPECT_EQ(ItemText(lv, 3, 0) + " " + ItemText(lv, 3, 1), "b2.png 已导入为 b2.bmp");
  EXPECT_EQ(ItemText(lv, 4, 0) + " " + ItemText(lv, 4, 1), "b10.png 已导入为 b10.bmp");
}

// The program itself, from a scratch copy so that its ml_fx is a scratch one: the files on its
// command line are imported without a window, and the exit code counts the refusals.
TEST_F(Import, QuietCommandLineExitsWithTheNumberNotImported) {
  const std::string exe = folder.Path("CoiffureImport.exe");
  ASSERT_TRUE(CopyFileW(L"CoiffureImport.exe", Widen(exe).c_str(), FALSE));
  std::wstring command = L"\"" + Widen(exe) + L"\" /quiet \"" + Widen(folder.Path("disc.png")) +
                         L"\" \"" + Widen(folder.Path("notes.png")) + L"\" \"" +
                         Widen(folder.Path("missing.gif")) + L"\"";
  PROCESS_INFORMATION pi = testing::Launch(command);
  const DWORD code = testing::WaitForExit(pi);
  EXPECT_EQ(code, 2u);
  EXPECT_TRUE(testing::FileExists(library + "disc.bmp"));
  EXPECT_TRUE(testing::FileExists(library + "discmask.bmp"));
}

// Colour variants from the command line: a shipped style by its bare name, a style without its
// mask, any other picture imported first; a shade that does not exist is refused with the
// shades there are, and nothing half-written stays in the library.
TEST_F(Import, ShadeCommandLineMakesVariantsAndCountsTheOnesNotMade) {
  const std::string exe = folder.Path("CoiffureImport.exe");
  ASSERT_TRUE(CopyFileW(L"CoiffureImport.exe", Widen(exe).c_str(), FALSE));
  ASSERT_TRUE(CreateDirectoryW(Widen(library).c_str(), nullptr));
  for (const char* name : {"afro_black.bmp", "afro_blackmask.bmp"})
    ASSERT_TRUE(CopyFileW(Widen(std::string("ml_fx\\") + name).c_str(),
                          Widen(library + name).c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(L"ml_fx\\afro_black.bmp", Widen(library + "plain.bmp").c_str(), FALSE));
  const std::wstring files = L" afro_black.bmp \"" + Widen(library + "plain.bmp") + L"\" \"" +
                             Widen(folder.Path("disc.png")) + L"\"";
  std::string output;
  EXPECT_EQ(RunImportProgram(exe, L"/quiet /shade 浅金" + files, folder.Path("out.txt"), &output),
            1u);
  EXPECT_NE(output.find("已生成 afro_浅金.bmp"), std::string::npos) << output;
  EXPECT_NE(output.find(std::string("未生成：") + kMsgNoMask), std::string::npos) << output;
  EXPECT_NE(output.find("已导入为 disc.bmp"), std::string::npos) << output;
  EXPECT_NE(output.find("已生成 disc_浅金.bmp"), std::string::npos) << output;
  EXPECT_EQ(testing::ReadBytes(library + "afro_浅金mask.bmp"),
            testing::ReadBytes(library + "afro_blackmask.bmp"));
  // What the gallery loads of the variant: black off the hair, the shade's light colours on it.
  Picture colour, mask;
  colour.LoadFromFile(library + "afro_浅金.bmp");
  mask.LoadFromFile(library + "afro_浅金mask.bmp");
  ASSERT_EQ(colour.Width(), mask.Width());
  double lit = 0, hair = 0;
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x) {
      const bool off = mask.PixelBgr(x, y) == Bgr{255, 255, 255};
      if (off) {
        ASSERT_EQ(colour.PixelBgr(x, y), (Bgr{0, 0, 0}));
      } else {
        hair += 1, lit += colour.PixelBgr(x, y).g;
      }
    }
  EXPECT_GT(lit / hair, 150);  // 浅金 is a light blonde; the source was black
  const size_t files_before = std::distance(std::filesystem::directory_iterator(Widen(library)),
                                            std::filesystem::directory_iterator());
  EXPECT_EQ(files_before, 9u);  // the two styles, two variant pairs, one import; no temporaries

  EXPECT_EQ(RunImportProgram(exe, L"/quiet /shade 金色" + files, folder.Path("out2.txt"), &output),
            3u);
  EXPECT_NE(output.find(UnknownShadeMessage("金色")), std::string::npos) << output;
  // Nothing to make: what is missing is said, and the exit code is not 0.
  EXPECT_EQ(RunImportProgram(exe, L"/quiet /shade", folder.Path("out3.txt"), &output), 2u);
  EXPECT_EQ(output, "/shade：没有给出发色名称\r\n/shade：没有给出要换发色的发型文件\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Widen(library)),
                          std::filesystem::directory_iterator()),
            static_cast<std::ptrdiff_t>(files_before));
}

std::string FileVersion(const wchar_t* exe, VS_FIXEDFILEINFO* fixed) {
  DWORD ignored = 0;
  std::vector<char> data(GetFileVersionInfoSizeW(exe, &ignored));
  if (data.empty() || !GetFileVersionInfoW(exe, 0, static_cast<DWORD>(data.size()), data.data()))
    return "";
  void* value = nullptr;
  UINT size = 0;
  if (VerQueryValueW(data.data(), L"\\", &value, &size))
    *fixed = *static_cast<VS_FIXEDFILEINFO*>(value);
  if (!VerQueryValueW(data.data(), L"\\StringFileInfo\\080404b0\\FileVersion", &value, &size))
    return "";
  return Narrow(static_cast<wchar_t*>(value));
}

TEST(Release, BothProgramsCarryTheProjectVersion) {
  for (const wchar_t* exe : {L"Coiffure.exe", L"CoiffureImport.exe"}) {
    VS_FIXEDFILEINFO fixed{};
    EXPECT_EQ(FileVersion(exe, &fixed), COIFFURE_VERSION);
    const std::string numbers = std::to_string(HIWORD(fixed.dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed.dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed.dwFileVersionLS));
    EXPECT_EQ(numbers, COIFFURE_VERSION);
  }
}

}  // namespace
}  // namespace coiffure
