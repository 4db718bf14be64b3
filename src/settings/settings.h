// The monitoring settings: config.ini's load and save sequences, run against small ports so that
// the sequence is the same whether it drives the real dialog and INI file or test fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace coiffure {

// The main window's copy of the six settings, one field per key of config.ini.
struct SettingsValues {
  int32_t TimerInterval = 0, AlarmSound = 0, RemoteControl = 0, Sensitivity = 0, TriggerSwitch = 0,
          TriggerTime = 0;
};

// A write to the settings file that the platform refused.
class SettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "Unable to write to %s" with the file's full path.
std::string UnableToWriteMessage(std::string_view path);

inline constexpr char kSettingsSection[] = "MIRALOOKCFG";
inline constexpr char kSettingsFileName[] = "config.ini";

// The settings file, opened for one load or one save.
class ProfilePort {
 public:
  virtual ~ProfilePort() = default;
  // Whether config.ini exists in the current folder.
  virtual bool Exists() = 0;
  // The key's value of the settings section, or def when it is missing or not an integer.
  virtual int32_t ReadInt(std::string_view key, int32_t def) = 0;
  // Throws SettingsError when the platform refuses the write.
  virtual void WriteInt(std::string_view key, int32_t value) = 0;
};

// The settings dialog's controls, with the behaviour the sequences rely on.
class SettingsControls {
 public:
  virtual ~SettingsControls() = default;
  // SpinEdit1: setting brings the value into 300..3000.
  virtual int32_t SpinEdit1Value() = 0;
  virtual void SetSpinEdit1Value(int32_t v) = 0;
  virtual int RadioGroup1Index() = 0;
  virtual void SetRadioGroup1Index(int i) = 0;
  virtual int RadioGroup2Index() = 0;
  virtual void SetRadioGroup2Index(int i) = 0;
  // TrackBar1: setting brings the position into 1..100 and, when it changes, runs the panel rule.
  virtual int TrackBar1Position() = 0;
  virtual void SetTrackBar1Position(int32_t p) = 0;
  // Shows panel 1, 2 or 3 and hides the other two.
  virtual void ShowSensitivityPanel(int panel) = 0;
  // CheckBox1: setting a different state runs its click handler.
  virtual bool CheckBox1Checked() = 0;
  virtual void SetCheckBox1Checked(bool checked) = 0;
  virtual int32_t SpinEdit2Value() = 0;
  virtual void SetSpinEdit2Value(int32_t v) = 0;
};

// The modal warning shown when config.ini is missing.
class WarningPort {
 public:
  virtual ~WarningPort() = default;
  virtual void Warn(const std::string& caption, const std::string& text) = 0;
};

inline constexpr char kMissingSettingsCaption[] = "警告";
inline constexpr char kMissingSettingsText[] =
    "配置文件损坏或丢失！，请回到系统参数设置选项进行设置。保存后退出，重新启动本软件。";

// Reads config.ini into the fields and the dialog's controls. A refused write escapes as
// SettingsError with what was done before it left in place.
void LoadSettings(ProfilePort& file, SettingsControls& controls, WarningPort& warning,
                  SettingsValues& values);
// Writes the controls to config.ini key by key and updates each field after its write.
void SaveSettings(ProfilePort& file, SettingsControls& controls, SettingsValues& values);

// The explanation panel (1, 2 or 3) for a track bar position: a smaller position is more sensitive.
int SensitivityPanel(int position);

// A profile value: decimal with an optional sign, or "0x"/"0X" and up to eight hexadecimal digits
// (taken as a 32-bit pattern). Anything else, empty or out of range, is not an integer.
std::optional<int32_t> ParseProfileInt(std::string_view text);

// Integer spin field rules. A field whose minimum equals its maximum has no range.
int32_t SpinClamp(int32_t value, int32_t min, int32_t max);
// The field's integer, or the minimum when the text is not one.
int32_t SpinValueFromText(std::string_view text, int32_t min);
// The value to put back when the field is left holding an integer out of its range; text that is
// not an integer is left as it is.
std::optional<int32_t> SpinValueOnLeave(std::string_view text, int32_t min, int32_t max);
// One step of the arrows or the Up and Down keys from the field's text.
int32_t SpinStep(std::string_view text, int32_t min, int32_t max, int32_t step, int direction);
// Typed characters the field takes: digits, signs, the decimal separator, control keys but Enter.
bool SpinAcceptsChar(char32_t ch, char32_t decimal_separator);

}  // namespace coiffure
