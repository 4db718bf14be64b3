#include "wine/wine_helpers.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "toolkit/text_win.h"

namespace coiffure::testing {

namespace {

std::vector<SeenBox>* g_seen = nullptr;

BOOL CALLBACK AnswerBox(HWND hwnd, LPARAM) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
  SeenBox box;
  box.caption = WindowText(hwnd);
  box.text = WindowText(GetDlgItem(hwnd, 0xFFFF));
  box.owner = GetWindow(hwnd, GW_OWNER);
  box.icon = reinterpret_cast<HICON>(SendDlgItemMessageW(hwnd, 0x440, STM_GETICON, 0, 0));
  box.ok_only = GetDlgItem(hwnd, IDOK) && !GetDlgItem(hwnd, IDCANCEL) && !GetDlgItem(hwnd, IDYES);
  g_seen->push_back(box);
  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDOK)));
  return TRUE;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_seen) EnumThreadWindows(GetCurrentThreadId(), AnswerBox, 0);
}

}  // namespace

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  path_ = Narrow(base) + "coiffure-test-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter);
  CreateDirectoryW(Widen(path_).c_str(), nullptr);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(Widen(path_), ec))
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(Widen(path_), ec);
}

std::string TempFolder::Path(const std::string& name) const {
  return path_ + "\\" + name;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(Widen(path)), std::ios::binary);
  out << bytes;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Widen(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names.push_back(Narrow(found.cFileName));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<SeenBox> AnswerMessageBoxes(const std::function<void()>& f) {
  std::vector<SeenBox> seen;
  g_seen = &seen;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, OnTimer);
  f();
  KillTimer(nullptr, timer);
  g_seen = nullptr;
  return seen;
}

HGLOBAL MakeDrop(const std::vector<std::string>& files) {
  std::wstring list;
  for (const std::string& f : files) list += Widen(f) + L'\0';
  list += L'\0';
  HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(drop + 1));
  GlobalUnlock(mem);
  return mem;
}

std::string WindowText(HWND hwnd) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), static_cast<int>(s.size()))));
  return Narrow(s);
}

}  // namespace coiffure::testing
