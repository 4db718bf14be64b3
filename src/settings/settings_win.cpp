#include "settings/settings_win.h"

#include <vector>

#include "toolkit/error_box_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {
const std::wstring kSection = Widen(kSettingsSection);
}  // namespace

IniProfileFile::IniProfileFile(std::string full_path, std::string exists_path)
    : full_path_(std::move(full_path)), exists_path_(std::move(exists_path)) {}

IniProfileFile::~IniProfileFile() {
  // Releasing the file: have the platform write out anything it still caches.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, Widen(full_path_).c_str());
}

bool IniProfileFile::Exists() {
  const DWORD attributes = GetFileAttributesW(Widen(exists_path_).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int32_t IniProfileFile::ReadInt(std::string_view key, int32_t def) {
  const std::wstring wkey = Widen(key), path = Widen(full_path_);
  std::vector<wchar_t> buf(64);
  for (;;) {
    const DWORD n = GetPrivateProfileStringW(kSection.c_str(), wkey.c_str(), L"", buf.data(),
                                             static_cast<DWORD>(buf.size()), path.c_str());
    if (n + 1 < buf.size()) return ParseProfileInt(Narrow({buf.data(), n})).value_or(def);
    buf.resize(buf.size() * 4);
  }
}

void IniProfileFile::WriteInt(std::string_view key, int32_t value) {
  if (!WritePrivateProfileStringW(kSection.c_str(), Widen(key).c_str(),
                                  std::to_wstring(value).c_str(), Widen(full_path_).c_str()))
    throw SettingsError(UnableToWriteMessage(full_path_));
}

void MessageBoxWarning::Warn(const std::string& caption, const std::string& text) {
  AppMessageBox(owner_, Widen(text), Widen(caption), MB_ICONWARNING | MB_OK);
}

void LoadSettingsIntoDialog(HWND owner, TForm3& dialog, SettingsValues& values,
                            const std::string& app_folder) {
  Guarded(owner, [&] {
    IniProfileFile file((app_folder.empty() ? AppFolder() : app_folder) + kSettingsFileName);
    MessageBoxWarning warning(owner);
    LoadSettings(file, dialog, warning, values);
  });
}

}  // namespace coiffure
