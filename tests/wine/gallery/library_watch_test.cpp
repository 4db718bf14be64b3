// The platform's change reports as the library watch takes them, under Wine as on Windows: each
// kind of change a salon makes, at the top of the library and in folders that were there before
// the watch began, by this process and by another one; and what did not change stays trusted.
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gallery/library_watch_win.h"
#include "toolkit/text_win.h"
#include "wine/wine_helpers.h"

namespace coiffure {
namespace {

namespace fs = std::filesystem;

// Copies a file over another with the platform's shell, which keeps the source's write time.
void ShellCopy(const fs::path& from, const fs::path& to) {
  // Full paths and no current folder there, so that nothing of the shell holds the library.
  std::wstring line =
      L"cmd.exe /c copy /y \"" + from.wstring() + L"\" \"" + to.wstring() + L"\" >nul";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                             nullptr, nullptr, &si, &pi));
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

void Write(const fs::path& file, const std::string& bytes) {
  testing::WriteBytes(Narrow(file.wstring()), bytes);
}

// Keeps the write time a file had before f, as a copy of an older file leaves it.
void KeepingTime(const fs::path& file, const std::function<void()>& f) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
  f();
  HANDLE h = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  SetFileTime(h, nullptr, nullptr, &data.ftLastWriteTime);
  CloseHandle(h);
}

TEST(LibraryWatch, ReportsEveryKindOfChangeAndOnlyThose) {
  const std::vector<std::string> pictures = {"a.bmp", "b.bmp", "sub.bmp\\c.bmp", "sub.bmp\\d.bmp",
                                             "sub.bmp\\in.bmp\\e.bmp"};
  struct Case {
    const char* what;
    std::function<void(const fs::path&)> change;
    std::vector<const char*> changed;  // of the pictures above; the rest must stay trusted
  };
  const Case cases[] = {
      {"nothing", [](const fs::path&) {}, {}},
      {"same size, same time",
       [](const fs::path& l) { KeepingTime(l / "a.bmp", [&] { Write(l / "a.bmp", "BBBB"); }); },
       {"a.bmp"}},
      {"same size, same time, in a folder",
       [](const fs::path& l) {
         KeepingTime(l / "sub.bmp/d.bmp", [&] { Write(l / "sub.bmp/d.bmp", "XXXX"); });
       },
       {"sub.bmp\\d.bmp"}},
      {"two levels down",
       [](const fs::path& l) { Write(l / "sub.bmp/in.bmp/e.bmp", "EEEE"); },
       {"sub.bmp\\in.bmp\\e.bmp"}},
      {"copied over by another process",
       [](const fs::path& l) { ShellCopy(l / "b.bmp", l / "a.bmp"); },
       {"a.bmp"}},
      {"copied over in a folder by another process",
       [](const fs::path& l) { ShellCopy(l / "sub.bmp\\c.bmp", l / "sub.bmp\\d.bmp"); },
       {"sub.bmp\\d.bmp"}},
      {"removed", [](const fs::path& l) { fs::remove(l / "b.bmp"); }, {"b.bmp"}},
      {"renamed in its place",
       [](const fs::path& l) {
         fs::rename(l / "a.bmp", l / "old.bmp");
         fs::rename(l / "b.bmp", l / "a.bmp");
       },
       {"a.bmp", "b.bmp"}},
      {"made hidden",
       [](const fs::path& l) {
         SetFileAttributesW((l / "sub.bmp/c.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
       },
       {"sub.bmp\\c.bmp"}},
      {"a folder renamed and another put in its place",
       [](const fs::path& l) {
         fs::rename(l / "sub.bmp", l / "gone.bmp");
         fs::create_directories(l / "sub.bmp");
         Write(l / "sub.bmp/c.bmp", "CCCC");
       },
       {"sub.bmp\\c.bmp", "sub.bmp\\d.bmp", "sub.bmp\\in.bmp\\e.bmp"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    testing::TempFolder temp;
    const fs::path lib = Widen(temp.Path(""));
    fs::create_directories(lib / "sub.bmp/in.bmp");
    for (const std::string& p : pictures) Write(lib / Widen(p), "AAAA");
    // Watched as the preparation watches them, each folder before it is listed.
    LibraryWatch watch(Narrow(lib.wstring()));
    for (const char* folder : {"", "sub.bmp\\", "sub.bmp\\in.bmp\\"}) watch.Watch(folder);
    watch.Collect();
    EXPECT_FALSE(watch.Changes().Everything());
    k.change(lib);
    const LibraryChanges& seen = watch.Finish();
    EXPECT_FALSE(seen.Everything());
    for (const std::string& p : pictures) {
      const bool changed = std::find(k.changed.begin(), k.changed.end(), p) != k.changed.end();
      EXPECT_EQ(seen.Touches(p), changed) << p;
    }
  }
}

TEST(LibraryWatch, AFolderThatCannotBeWatchedCountsAsChanged) {
  testing::TempFolder temp;
  LibraryWatch watch(temp.Path(""));
  watch.Watch("");
  watch.Watch("missing.bmp\\");
  const LibraryChanges& seen = watch.Finish();
  EXPECT_TRUE(seen.Touches("missing.bmp\\a.bmp"));
  EXPECT_FALSE(seen.Touches("a.bmp"));
  LibraryWatch nowhere("Z:\\no such library\\");
  nowhere.Watch("");
  EXPECT_TRUE(nowhere.Finish().Everything());
}

}  // namespace
}  // namespace coiffure
