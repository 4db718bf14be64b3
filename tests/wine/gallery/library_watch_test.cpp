// The platform's change reports as the library watch takes them, under Wine as on Windows: a
// salon's changes at the top and in folders that were there before the watch began (which a watch
// of the whole tree misses under Wine), by this process and another; what did not change stays
// trusted.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "gallery/library_watch_win.h"
#include "toolkit/text_win.h"
#include "wine/wine_helpers.h"

namespace coiffure {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& file, const std::string& bytes) {
  testing::WriteBytes(Narrow(file.wstring()), bytes);
}

// Another process copies, as the shell does: the copy keeps the source's write time.
void ShellCopy(const fs::path& from, const fs::path& to) {
  std::wstring line = L"cmd.exe /c copy /y \"" + from.wstring() + L"\" \"" + to.wstring() + L"\"";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                             nullptr, nullptr, &si, &pi));
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

TEST(LibraryWatch, ReportsEveryKindOfChangeAndOnlyThose) {
  const std::vector<std::string> pictures = {"a.bmp", "b.bmp", "sub.bmp\\c.bmp", "sub.bmp\\d.bmp",
                                             "sub.bmp\\in.bmp\\e.bmp"};
  struct Case {
    std::function<void(const fs::path&)> change;
    std::vector<std::string> changed;  // of the pictures above
  };
  const Case cases[] = {
      {[](const fs::path&) {}, {}},
      {[](const fs::path& l) { ShellCopy(l / "b.bmp", l / "a.bmp"); }, {"a.bmp"}},
      {[](const fs::path& l) { ShellCopy(l / "sub.bmp\\c.bmp", l / "sub.bmp\\d.bmp"); },
       {"sub.bmp\\d.bmp"}},
      {[](const fs::path& l) { Write(l / "sub.bmp\\in.bmp\\e.bmp", "EEEE"); },
       {"sub.bmp\\in.bmp\\e.bmp"}},
      {[](const fs::path& l) { SetFileAttributesW((l / "b.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN); },
       {"b.bmp"}},
      {[](const fs::path& l) {
         fs::rename(l / "a.bmp", l / "old.bmp");
         fs::rename(l / "b.bmp", l / "a.bmp");
       },
       {"a.bmp", "b.bmp"}},
      {[](const fs::path& l) {
         fs::rename(l / "sub.bmp", l / "gone.bmp");
         fs::create_directories(l / "sub.bmp");
       },
       {"sub.bmp\\c.bmp", "sub.bmp\\d.bmp", "sub.bmp\\in.bmp\\e.bmp"}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    testing::TempFolder temp;
    const fs::path lib = Widen(temp.Path(""));
    fs::create_directories(lib / "sub.bmp\\in.bmp");
    for (const std::string& p : pictures) Write(lib / Widen(p), "AAAA");
    // Each folder watched before it is listed, as the preparation does.
    LibraryWatch watch(Narrow(lib.wstring()));
    for (const char* folder : {"", "sub.bmp\\", "sub.bmp\\in.bmp\\", "missing.bmp\\"})
      watch.Watch(folder);
    cases[i].change(lib);
    const LibraryChanges& seen = watch.Finish();
    EXPECT_TRUE(seen.Touches("missing.bmp\\x.bmp"));  // a folder not watched is in doubt
    for (const std::string& p : pictures)
      EXPECT_EQ(seen.Touches(p), std::count(cases[i].changed.begin(), cases[i].changed.end(), p))
          << p;
  }
}

}  // namespace
}  // namespace coiffure
