#include "settings/settings.h"

#include <algorithm>
#include <limits>

namespace coiffure {

namespace {

// The keys of the settings section: the pinyin initials of each setting's Chinese name.
constexpr std::string_view kKeyTimerInterval = "dsq";   // 定时器
constexpr std::string_view kKeyAlarmSound = "bjs";      // 报警声
constexpr std::string_view kKeyRemoteControl = "yckz";  // 远程控制
constexpr std::string_view kKeySensitivity = "jklmd";   // 监控灵敏度
constexpr std::string_view kKeyTriggerSwitch = "cfkg";  // 触发开关
constexpr std::string_view kKeyTriggerTime = "cfsj";    // 触发时间

std::optional<int32_t> ParseDecimal(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
    // One past the largest value still fits the negative side.
    if (v > int64_t{std::numeric_limits<int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(v);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<int32_t> ParseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t v = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  return static_cast<int32_t>(v);
}

}  // namespace

std::string UnableToWriteMessage(std::string_view path) {
  return "Unable to write to " + std::string(path);
}

std::optional<int32_t> ParseProfileInt(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return ParseHex(text.substr(2));
  return ParseDecimal(text);
}

int SensitivityPanel(int position) {
  if (position > 60) return 1;
  if (position >= 30) return 2;
  return 3;
}

void LoadSettings(ProfilePort& file, SettingsControls& controls, WarningPort& warning,
                  SettingsValues& values) {
  if (!file.Exists()) warning.Warn(kMissingSettingsCaption, kMissingSettingsText);

  values.TimerInterval = file.ReadInt(kKeyTimerInterval, 1000);
  controls.SetSpinEdit1Value(values.TimerInterval);

  // The alarm always starts switched on: the stored choice is reset before it is read.
  file.WriteInt(kKeyAlarmSound, 0);
  values.AlarmSound = file.ReadInt(kKeyAlarmSound, 0);
  controls.SetRadioGroup1Index(values.AlarmSound != 0 ? 1 : 0);

  values.RemoteControl = file.ReadInt(kKeyRemoteControl, 0);
  controls.SetRadioGroup2Index(values.RemoteControl != 0 ? 1 : 0);

  values.Sensitivity = file.ReadInt(kKeySensitivity, 10);
  controls.SetTrackBar1Position(values.Sensitivity);
  // The track bar only runs the rule on a change; at its start position it would not.
  controls.ShowSensitivityPanel(SensitivityPanel(controls.TrackBar1Position()));

  values.TriggerSwitch = file.ReadInt(kKeyTriggerSwitch, 1);
  controls.SetCheckBox1Checked(values.TriggerSwitch == 1);

  values.TriggerTime = file.ReadInt(kKeyTriggerTime, 1000);
  controls.SetSpinEdit2Value(values.TriggerTime);
}

void SaveSettings(ProfilePort& file, SettingsControls& controls, SettingsValues& values) {
  const int32_t timer = controls.SpinEdit1Value();
  file.WriteInt(kKeyTimerInterval, timer);
  values.TimerInterval = timer;

  const int32_t alarm = controls.RadioGroup1Index();
  file.WriteInt(kKeyAlarmSound, alarm);
  values.AlarmSound = alarm;

  const int32_t remote = controls.RadioGroup2Index();
  file.WriteInt(kKeyRemoteControl, remote);
  values.RemoteControl = remote;

  const int32_t sensitivity = controls.TrackBar1Position();
  file.WriteInt(kKeySensitivity, sensitivity);
  values.Sensitivity = sensitivity;

  values.TriggerSwitch = controls.CheckBox1Checked() ? 1 : 0;
  file.WriteInt(kKeyTriggerSwitch, values.TriggerSwitch);

  const int32_t time = controls.SpinEdit2Value();
  file.WriteInt(kKeyTriggerTime, time);
  values.TriggerTime = time;
}

int32_t SpinClamp(int32_t value, int32_t min, int32_t max) {
  if (min == max) return value;
  return std::clamp(value, std::min(min, max), std::max(min, max));
}

int32_t SpinValueFromText(std::string_view text, int32_t min) {
  return ParseDecimal(text).value_or(min);
}

std::optional<int32_t> SpinValueOnLeave(std::string_view text, int32_t min, int32_t max) {
  const auto v = ParseDecimal(text);
  if (!v || SpinClamp(*v, min, max) == *v) return std::nullopt;
  return SpinClamp(*v, min, max);
}

int32_t SpinStep(std::string_view text, int32_t min, int32_t max, int32_t step, int direction) {
  const int64_t next = int64_t{SpinValueFromText(text, min)} + int64_t{step} * direction;
  const int64_t saturated = std::clamp<int64_t>(next, std::numeric_limits<int32_t>::min(),
                                                std::numeric_limits<int32_t>::max());
  return SpinClamp(static_cast<int32_t>(saturated), min, max);
}

bool SpinAcceptsChar(char32_t ch, char32_t decimal_separator) {
  if (ch >= U'0' && ch <= U'9') return true;
  if (ch == U'+' || ch == U'-' || ch == decimal_separator) return true;
  return ch < 0x20 && ch != U'\r';
}

}  // namespace coiffure
