#include "desk/library_folder_win.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string_view>

#include "import/naming.h"
#include "toolkit/text_win.h"

namespace coiffure {

std::wstring Win32LibraryFolder::PathOf(const std::string& name) const {
  return Widen(folder_ + name);
}

void Win32LibraryFolder::Prepare() {
  const std::wstring folder = Widen(folder_);
  if (CreateDirectoryW(folder.c_str(), nullptr)) return;
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw ImportError(not_writable_);
}

bool Win32LibraryFolder::Exists(const std::string& name) {
  return GetFileAttributesW(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

bool WriteAll(HANDLE file, std::span<const uint8_t> bytes) {
  size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
    done += written;
  }
  return CloseHandle(file) && ok;
}

}  // namespace

std::string Win32LibraryFolder::WriteTemporary(const std::string& role,
                                               std::span<const uint8_t> bytes) {
  // Process-wide, so that no two temporaries of this process ever try the same name.
  static std::atomic<uint32_t> serial{0};
  for (int attempt = 0; attempt < 64; ++attempt) {
    const std::string name = TemporaryName(GetCurrentProcessId(), serial++, role);
    const std::wstring path = PathOf(name);
    // CREATE_NEW: the file is ours alone, even if another process has picked the same name.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      throw ImportError(not_writable_);
    }
    if (WriteAll(file, bytes)) return name;
    DeleteFileW(path.c_str());  // a full disk must not leave a short file behind
    throw ImportError(not_writable_);
  }
  throw ImportError(not_writable_);
}

bool Win32LibraryFolder::MoveNoReplace(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING the platform refuses when the target exists.
  return MoveFileExW(PathOf(from).c_str(), PathOf(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32LibraryFolder::MoveReplacing(const std::string& from, const std::string& to) {
  const std::wstring source = PathOf(from), target = PathOf(to);
  // A file made read-only is one its owner protected: Windows refuses to replace it, and so
  // does this, under Wine too (whose move replaces it).
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  // Coiffure reading the photo at that moment holds it open for a few milliseconds.
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (MoveFileExW(source.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    const DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) return false;
    Sleep(25);
  }
  return false;
}

void Win32LibraryFolder::Remove(const std::string& name) {
  DeleteFileW(PathOf(name).c_str());
}

bool Win32PathLister::IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<PathLister::Entry> Win32PathLister::Find(const std::string& pattern) {
  std::vector<Entry> entries;
  WIN32_FIND_DATAW found;
  struct Search {
    HANDLE h;
    ~Search() {
      if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }
  } const search{FindFirstFileW(Widen(pattern).c_str(), &found)};
  if (search.h == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring_view name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({Narrow(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search.h, &found));
  return entries;
}

}  // namespace coiffure
