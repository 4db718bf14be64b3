// config.ini through the platform's private-profile functions, and the settings step of the main
// window's first show.
#pragma once

#include <windows.h>

#include <string>

#include "settings/form3_win.h"
#include "settings/settings.h"

namespace coiffure {

// The settings section of one INI file. Values are read as text and parsed here, because
// GetPrivateProfileInt takes "12abc" as 12 and gives 0 rather than the default for "abc".
class IniProfileFile : public ProfilePort {
 public:
  // exists_path: the name tested by Exists(); the load tests config.ini in the current folder.
  explicit IniProfileFile(std::string full_path, std::string exists_path = kSettingsFileName);
  ~IniProfileFile() override;
  bool Exists() override;
  int32_t ReadInt(std::string_view key, int32_t def) override;
  void WriteInt(std::string_view key, int32_t value) override;

 private:
  std::string full_path_;
  std::string exists_path_;
};

// The missing-file warning as a modal message box owned by owner.
class MessageBoxWarning : public WarningPort {
 public:
  explicit MessageBoxWarning(HWND owner) : owner_(owner) {}
  void Warn(const std::string& caption, const std::string& text) override;

 private:
  HWND owner_;
};

// Reads the application folder's config.ini into values and the dialog's controls. A refused
// write is reported in the application's error box, owned by owner.
// app_folder: the folder holding config.ini, ending in a backslash; empty for the exe's folder.
void LoadSettingsIntoDialog(HWND owner, TForm3& dialog, SettingsValues& values,
                            const std::string& app_folder = {});

}  // namespace coiffure
