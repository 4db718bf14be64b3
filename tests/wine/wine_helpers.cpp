#include "wine/wine_helpers.h"

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

std::vector<SeenBox> AnswerMessageBoxes(const std::function<void()>& f) {
  std::vector<SeenBox> seen;
  g_seen = &seen;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, OnTimer);
  f();
  KillTimer(nullptr, timer);
  g_seen = nullptr;
  return seen;
}

std::string WindowText(HWND hwnd) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), static_cast<int>(s.size()))));
  return Narrow(s);
}

}  // namespace coiffure::testing
