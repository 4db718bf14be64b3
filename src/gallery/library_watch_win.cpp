#include "gallery/library_watch_win.h"

#include <cstddef>
#include <cstring>

#include "toolkit/text_win.h"

namespace coiffure {

namespace {

// Everything that can make a picture differ or an entry appear, go or move.
constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                          FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                          FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION |
                          FILE_NOTIFY_CHANGE_SECURITY;
constexpr size_t kBufferWords = 8192;  // 32 KB; more is refused for folders on the network

}  // namespace

struct LibraryWatch::Folder {
  std::string path;
  HANDLE dir = INVALID_HANDLE_VALUE;
  HANDLE event = nullptr;
  OVERLAPPED overlapped{};
  bool pending = false;
  std::vector<DWORD> buffer = std::vector<DWORD>(kBufferWords);

  ~Folder() {
    // The platform writes into the buffer until the request is over: end it before letting go.
    if (pending && CancelIoEx(dir, &overlapped)) {
      DWORD bytes = 0;
      GetOverlappedResult(dir, &overlapped, &bytes, TRUE);
    }
    if (dir != INVALID_HANDLE_VALUE) CloseHandle(dir);
    if (event) CloseHandle(event);
  }
};

LibraryWatch::LibraryWatch(std::string root) : root_(std::move(root)) {}

LibraryWatch::~LibraryWatch() = default;

void LibraryWatch::Watch(const std::string& folder) {
  if (folders_.size() >= kMaxFolders) {
    changes_.NoteFolder(folder);
    return;
  }
  auto f = std::make_unique<Folder>();
  f->path = folder;
  // Shared every way, so that the watch never stands in the way of a change.
  f->dir = CreateFileW(Widen(root_ + folder).c_str(), FILE_LIST_DIRECTORY,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  f->event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  f->overlapped.hEvent = f->event;
  if (f->dir == INVALID_HANDLE_VALUE || !f->event || !Issue(*f)) {
    changes_.NoteFolder(folder);
    return;
  }
  folders_.push_back(std::move(f));
}

bool LibraryWatch::Issue(Folder& f) {
  ResetEvent(f.event);
  f.pending = ReadDirectoryChangesW(f.dir, f.buffer.data(),
                                    static_cast<DWORD>(f.buffer.size() * sizeof(DWORD)), FALSE,
                                    kFilter, nullptr, &f.overlapped, nullptr) != FALSE;
  return f.pending;
}

void LibraryWatch::Read(Folder& f, DWORD bytes) {
  // No records: more changed than the buffer held, and the platform kept none of them.
  if (bytes == 0 || bytes > f.buffer.size() * sizeof(DWORD)) {
    changes_.NoteFolder(f.path);
    return;
  }
  const auto* base = reinterpret_cast<const unsigned char*>(f.buffer.data());
  constexpr size_t kHead = offsetof(FILE_NOTIFY_INFORMATION, FileName);
  for (size_t at = 0;;) {
    FILE_NOTIFY_INFORMATION record;
    if (bytes - at < kHead) break;
    std::memcpy(&record, base + at, kHead);
    if (record.FileNameLength > bytes - at - kHead) break;
    std::wstring name(record.FileNameLength / sizeof(wchar_t), L'\0');
    std::memcpy(name.data(), base + at + kHead, name.size() * sizeof(wchar_t));
    changes_.Note(f.path, Narrow(name));
    if (record.NextEntryOffset == 0) return;
    if (record.NextEntryOffset > bytes - at) break;
    at += record.NextEntryOffset;
  }
  changes_.NoteFolder(f.path);  // a record that does not fit: trust none of this folder's
}

void LibraryWatch::Poll(Folder& f) {
  while (f.pending) {
    DWORD bytes = 0;
    if (!GetOverlappedResult(f.dir, &f.overlapped, &bytes, FALSE)) {
      if (GetLastError() == ERROR_IO_INCOMPLETE) return;
      // The folder went, or the platform gave up watching it.
      f.pending = false;
      changes_.NoteFolder(f.path);
      return;
    }
    f.pending = false;
    Read(f, bytes);
    if (!Issue(f)) changes_.NoteFolder(f.path);
  }
}

void LibraryWatch::Collect() {
  for (auto& f : folders_) Poll(*f);
}

const LibraryChanges& LibraryWatch::Finish() {
  // A wait, however short, goes through Wine's server, which hands over the reports it holds
  // for this thread before it answers.
  for (auto& f : folders_)
    if (f->pending) WaitForSingleObject(f->event, 0);
  Collect();
  // The watches are closed only with this object: under Wine each close costs 5 - 25 ms (the
  // server lets go of its inotify watch), which the first show need not wait for.
  return changes_;
}

}  // namespace coiffure
