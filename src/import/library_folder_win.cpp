#include "import/library_folder_win.h"

#include <windows.h>

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
    throw ImportError(kMsgFolderNotWritable);
}

bool Win32LibraryFolder::Exists(const std::string& name) {
  return GetFileAttributesW(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Win32LibraryFolder::Write(const std::string& name, std::span<const uint8_t> bytes) {
  const std::wstring path = PathOf(name);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw ImportError(kMsgFolderNotWritable);
  size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
    done += written;
  }
  ok = CloseHandle(file) && ok;
  if (!ok) {
    DeleteFileW(path.c_str());  // a full disk must not leave a short file behind
    throw ImportError(kMsgFolderNotWritable);
  }
}

bool Win32LibraryFolder::MoveNoReplace(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING the platform refuses when the target exists.
  return MoveFileExW(PathOf(from).c_str(), PathOf(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

void Win32LibraryFolder::Remove(const std::string& name) {
  DeleteFileW(PathOf(name).c_str());
}

}  // namespace coiffure
