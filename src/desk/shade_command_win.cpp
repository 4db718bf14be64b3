#include "desk/shade_command_win.h"

#include <windows.h>

#include "desk/command_run.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

std::string FullPath(const std::string& file) {
  const std::wstring wide = Widen(file);
  const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return file;
  std::wstring full(n, L'\0');
  const DWORD got = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  if (got == 0 || got >= n) return file;
  full.resize(got);
  return Narrow(full);
}

}  // namespace

void ReportLine(const std::string& text) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  const std::string line = text + "\r\n";
  DWORD written = 0;
  WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

int RunShadeCommand(const ImportCommand& command, PictureSource& source,
                    Win32LibraryFolder& folder) {
  const std::string& library = folder.Folder();
  const ShadeLibrary place{folder, library, FullPath,
                           [&](const std::string& name) { return ReadWholeFile(library + name); }};
  return RunShades(command, source, place, ReportLine);
}

}  // namespace coiffure
