// The program's arguments on the platform: folders and wildcards expanded as the platform lists
// and matches names (FindFirstFileW) and sorted as Explorer sorts them (StrCmpLogicalW); and
// the quiet command lines, a line for every file and every missing argument.
#include <windows.h>

#include <shlwapi.h>
#include <wincodec.h>

#include <algorithm>
#include <gtest/gtest.h>

#include "desk/library_folder_win.h"
#include "desk/picture_paths.h"
#include "toolkit/text_win.h"
#include "wine/picture_files.h"
#include "wine/wine_helpers.h"

namespace coiffure {
namespace {

using namespace testing;

// The files (not folders) the platform finds for a pattern, in Explorer's order, with the
// pattern's folder in front.
std::vector<std::string> PlatformListing(const std::string& folder, const std::string& pattern,
                                         bool pictures_only) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE h = FindFirstFileW(Widen(folder + pattern).c_str(), &found);
  for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &found))
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        (!pictures_only || HasPictureExtension(Narrow(found.cFileName))))
      names.push_back(found.cFileName);
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
  std::sort(names.begin(), names.end(),
            [](const auto& a, const auto& b) { return StrCmpLogicalW(a.c_str(), b.c_str()) < 0; });
  std::vector<std::string> paths;
  for (const std::wstring& n : names) paths.push_back(folder + Narrow(n));
  return paths;
}

// A small picture with a transparent corner, so that its import keeps the rest.
void WriteStyle(const std::string& path) {
  RgbaImage img = Plain(40, 30, {0, 0, 255, 255});
  img.Pixel(0, 0)[3] = 0;
  WriteWithWic(path, GUID_ContainerFormatPng, img);
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    pics = folder.Path("pics") + "\\";
    CreateDirectoryW(Widen(pics).c_str(), nullptr);
    CreateDirectoryW(Widen(pics + "sub").c_str(), nullptr);
    CreateDirectoryW(Widen(pics + "folder.png").c_str(), nullptr);
    for (const char* name : {"IMG_10.png", "IMG_2.png", "img_1.PNG", "B.jpg", "a.png", "发型10.png",
                             "发型2.png", "sub\\deep.png"})
      WriteStyle(pics + name);
    WriteBytes(pics + "notes.txt", "not a picture");
  }
  TempFolder folder;
  std::string pics;
};

TEST_F(CommandLine, FoldersAndWildcardsGiveWhatThePlatformListsInExplorersOrder) {
  Win32PathLister paths;
  EXPECT_EQ(PictureFiles({folder.Path("pics")}, paths), PlatformListing(pics, "*", true));
  EXPECT_EQ(PictureFiles({pics + "*.png"}, paths), PlatformListing(pics, "*.png", false));
  EXPECT_EQ(PictureFiles({pics + "IMG_?.png"}, paths), PlatformListing(pics, "IMG_?.png", false));
  EXPECT_EQ(PictureFiles({pics + "*"}, paths), PlatformListing(pics, "*", false));
  EXPECT_EQ(PictureFiles({pics + "*.gif"}, paths), std::vector<std::string>{pics + "*.gif"});
  EXPECT_EQ(PlatformListing(pics, "*", true).size(), 7u);  // not sub\deep.png, not folder.png
}

// The real program: each photo, each file a wildcard or a folder gives, each argument left as
// written gets its line, and the exit code counts every one not done.
TEST_F(CommandLine, AQuietRunWritesALineForEveryFileAndCountsWhatWasNotDone) {
  const std::string exe = StageImportProgram(folder.Path(""));
  const std::string a = pics + "a.png", b = pics + "B.jpg", empty = folder.Path("empty");
  CreateDirectoryW(Widen(empty).c_str(), nullptr);
  std::string output;
  const std::wstring args = L"/quiet /photo \"" + Widen(a) + L"\" /photo \"" + Widen(b) + L"\" \"" +
                            Widen(pics) + L"IMG_*.png\" \"" + Widen(pics) + L"*.gif\" \"" +
                            Widen(empty) + L"\"";
  EXPECT_EQ(RunImportProgram(exe, args, folder.Path("out.txt"), &output), 3u);
  EXPECT_EQ(output,
            a + "：已换为顾客照片（40 × 30）\r\n" + b + "：未使用：一次只能换一张顾客照片\r\n" +
                pics + "img_1.PNG：已导入为 img_1.bmp\r\n" + pics +
                "IMG_2.png：已导入为 IMG_2.bmp\r\n" + pics + "IMG_10.png：已导入为 IMG_10.bmp\r\n" +
                pics + "*.gif：未导入：无法打开这个文件\r\n" + empty +
                "：未导入：这个文件夹里没有可以导入的图片\r\n");
}

}  // namespace
}  // namespace coiffure
