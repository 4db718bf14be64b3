#include "settings/settings.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace coiffure {
namespace {

// An INI section in memory: keys keep their order of first write, as the platform appends them.
class FakeProfile : public ProfilePort {
 public:
  bool exists = true;
  std::vector<std::pair<std::string, std::string>> lines;
  std::vector<std::string> log;
  std::string refuse_key;  // a write of this key is refused

  bool Exists() override { return exists; }
  int32_t ReadInt(std::string_view key, int32_t def) override {
    log.push_back("read " + std::string(key));
    for (auto& [k, v] : lines)
      if (k == key) return ParseProfileInt(v).value_or(def);
    return def;
  }
  void WriteInt(std::string_view key, int32_t value) override {
    log.push_back("write " + std::string(key));
    if (key == refuse_key) throw SettingsError(UnableToWriteMessage("C:\\app\\config.ini"));
    exists = true;
    for (auto& [k, v] : lines)
      if (k == key) {
        v = std::to_string(value);
        return;
      }
    lines.emplace_back(std::string(key), std::to_string(value));
  }
  std::string Value(const std::string& key) const {
    for (auto& [k, v] : lines)
      if (k == key) return v;
    return "<missing>";
  }
  std::vector<std::string> Keys() const {
    std::vector<std::string> keys;
    for (auto& line : lines) keys.push_back(line.first);
    return keys;
  }
};

// The dialog's controls as they behave on screen: ranges, change events and the check box click.
class FakeControls : public SettingsControls {
 public:
  int32_t spin1 = 300, spin2 = 5;
  int radio1 = 0, radio2 = 0, track = 1;
  bool checked = true;
  bool panels[3] = {true, true, true};  // all visible until the rule first runs
  bool trigger_controls_enabled = true;
  int track_changes = 0, check_clicks = 0;

  int32_t SpinEdit1Value() override { return spin1; }
  void SetSpinEdit1Value(int32_t v) override { spin1 = SpinClamp(v, 300, 3000); }
  int RadioGroup1Index() override { return radio1; }
  void SetRadioGroup1Index(int i) override { radio1 = i; }
  int RadioGroup2Index() override { return radio2; }
  void SetRadioGroup2Index(int i) override { radio2 = i; }
  int TrackBar1Position() override { return track; }
  void SetTrackBar1Position(int32_t p) override {
    const int clamped = std::clamp<int32_t>(p, 1, 100);
    if (clamped == track) return;
    track = clamped;
    ++track_changes;
    ShowSensitivityPanel(SensitivityPanel(track));
  }
  void ShowSensitivityPanel(int panel) override {
    for (int i = 0; i < 3; ++i) panels[i] = (i + 1 == panel);
  }
  bool CheckBox1Checked() override { return checked; }
  void SetCheckBox1Checked(bool c) override {
    if (c == checked) return;
    checked = c;
    ++check_clicks;
    trigger_controls_enabled = checked;
  }
  int32_t SpinEdit2Value() override { return spin2; }
  void SetSpinEdit2Value(int32_t v) override { spin2 = SpinClamp(v, 0, 0); }

  int VisiblePanel() const {
    int shown = 0, which = 0;
    for (int i = 0; i < 3; ++i)
      if (panels[i]) ++shown, which = i + 1;
    return shown == 1 ? which : -shown;
  }
};

class RecordingWarning : public WarningPort {
 public:
  std::vector<std::pair<std::string, std::string>> shown;
  std::vector<std::string>* log = nullptr;
  void Warn(const std::string& caption, const std::string& text) override {
    shown.emplace_back(caption, text);
    if (log) log->push_back("warn");
  }
};

struct Fixture {
  FakeProfile file;
  FakeControls controls;
  RecordingWarning warning;
  SettingsValues values;
  void Load() { LoadSettings(file, controls, warning, values); }
  void Save() { SaveSettings(file, controls, values); }
};

TEST(SettingsLoad, MissingFileWarnsOnceThenUsesDefaultsAndCreatesOnlyBjs) {
  Fixture f;
  f.file.exists = false;
  f.warning.log = &f.file.log;
  f.Load();
  ASSERT_EQ(f.warning.shown.size(), 1u);
  EXPECT_EQ(f.warning.shown[0].first, "警告");
  EXPECT_EQ(f.warning.shown[0].second,
            "配置文件损坏或丢失！，请回到系统参数设置选项进行设置。保存后退出，重新启动本软件。");
  // The warning comes first, bjs is written before it is read, then the keys in file order.
  EXPECT_EQ(f.file.log,
            (std::vector<std::string>{"warn", "read dsq", "write bjs", "read bjs", "read yckz",
                                      "read jklmd", "read cfkg", "read cfsj"}));
  EXPECT_EQ(f.file.Keys(), std::vector<std::string>{"bjs"});
  EXPECT_EQ(f.controls.spin1, 1000);
  EXPECT_EQ(f.controls.radio1, 0);
  EXPECT_EQ(f.controls.radio2, 0);
  EXPECT_EQ(f.controls.track, 10);
  EXPECT_EQ(f.controls.VisiblePanel(), 3);
  EXPECT_TRUE(f.controls.checked);
  EXPECT_EQ(f.controls.spin2, 1000);
  EXPECT_EQ(f.values.TimerInterval, 1000);
  EXPECT_EQ(f.values.Sensitivity, 10);
  EXPECT_EQ(f.values.TriggerSwitch, 1);
  EXPECT_EQ(f.values.TriggerTime, 1000);
}

TEST(SettingsLoad, PresentFileDoesNotWarnAndAlarmIsAlwaysResetToOn) {
  Fixture f;
  f.file.lines = {{"bjs", "1"}, {"yckz", "-1"}};
  f.Load();
  EXPECT_TRUE(f.warning.shown.empty());
  EXPECT_EQ(f.file.Value("bjs"), "0");
  EXPECT_EQ(f.values.AlarmSound, 0);
  EXPECT_EQ(f.controls.radio1, 0);
  // Any non-zero value, negative included, means off.
  EXPECT_EQ(f.values.RemoteControl, -1);
  EXPECT_EQ(f.controls.radio2, 1);
}

TEST(SettingsLoad, FieldsKeepTheValueAsReadWhileControlsClampIt) {
  Fixture f;
  f.file.lines = {{"dsq", "5000"}, {"jklmd", "250"}, {"cfsj", "-7"}};
  f.Load();
  EXPECT_EQ(f.values.TimerInterval, 5000);
  EXPECT_EQ(f.controls.spin1, 3000);
  EXPECT_EQ(f.values.Sensitivity, 250);
  EXPECT_EQ(f.controls.track, 100);
  EXPECT_EQ(f.controls.VisiblePanel(), 1);
  // SpinEdit2 has no range.
  EXPECT_EQ(f.controls.spin2, -7);

  Fixture low;
  low.file.lines = {{"dsq", "50"}, {"jklmd", "-3"}};
  low.Load();
  EXPECT_EQ(low.values.TimerInterval, 50);
  EXPECT_EQ(low.controls.spin1, 300);
  EXPECT_EQ(low.values.Sensitivity, -3);
  EXPECT_EQ(low.controls.track, 1);
  EXPECT_EQ(low.controls.VisiblePanel(), 3);
}

TEST(SettingsLoad, PanelRuleRunsEvenWhenThePositionDoesNotChange) {
  Fixture f;
  f.file.lines = {{"jklmd", "1"}};
  f.Load();
  EXPECT_EQ(f.controls.track_changes, 0);
  EXPECT_EQ(f.controls.VisiblePanel(), 3);
}

TEST(SettingsLoad, PanelBoundariesThroughTheLoad) {
  for (auto [stored, panel] : {std::pair{"61", 1}, {"60", 2}, {"30", 2}, {"29", 3}, {"0", 3}}) {
    Fixture f;
    f.file.lines = {{"jklmd", stored}};
    f.Load();
    EXPECT_EQ(f.controls.VisiblePanel(), panel) << "jklmd=" << stored;
  }
}

TEST(SettingsLoad, TriggerSwitchIsOnOnlyForExactlyOne) {
  Fixture f;
  f.file.lines = {{"cfkg", "2"}};
  f.Load();
  EXPECT_EQ(f.values.TriggerSwitch, 2);
  EXPECT_FALSE(f.controls.checked);
  EXPECT_EQ(f.controls.check_clicks, 1);
  EXPECT_FALSE(f.controls.trigger_controls_enabled);

  Fixture on;
  on.file.lines = {{"cfkg", "1"}};
  on.Load();
  EXPECT_TRUE(on.controls.checked);
  EXPECT_EQ(on.controls.check_clicks, 0);
}

TEST(SettingsLoad, HexadecimalAndNonIntegerValues) {
  Fixture f;
  f.file.lines = {{"cfsj", "0x1E"}, {"dsq", "abc"}, {"yckz", "0X1"}, {"jklmd", "12abc"}};
  f.Load();
  EXPECT_EQ(f.values.TriggerTime, 30);
  EXPECT_EQ(f.values.TimerInterval, 1000);
  EXPECT_EQ(f.values.RemoteControl, 1);
  EXPECT_EQ(f.values.Sensitivity, 10);
}

TEST(SettingsLoad, RefusedWriteStopsAfterTheTimerWasSet) {
  Fixture f;
  f.file.lines = {{"dsq", "700"}, {"yckz", "1"}, {"jklmd", "80"}, {"cfkg", "0"}, {"cfsj", "9"}};
  f.file.refuse_key = "bjs";
  f.values.RemoteControl = 42;
  f.controls.radio1 = 1;
  f.controls.spin2 = 5;
  EXPECT_THROW(
      {
        try {
          f.Load();
        } catch (const std::runtime_error& e) {
          EXPECT_STREQ(e.what(), "Unable to write to C:\\app\\config.ini");
          throw;
        }
      },
      SettingsError);
  EXPECT_EQ(f.values.TimerInterval, 700);
  EXPECT_EQ(f.controls.spin1, 700);
  EXPECT_EQ(f.values.AlarmSound, 0);
  EXPECT_EQ(f.values.RemoteControl, 42);
  EXPECT_EQ(f.controls.radio1, 1);
  EXPECT_EQ(f.controls.radio2, 0);
  EXPECT_EQ(f.controls.track, 1);
  EXPECT_EQ(f.controls.VisiblePanel(), -3);
  EXPECT_TRUE(f.controls.checked);
  EXPECT_EQ(f.controls.spin2, 5);
}

TEST(SettingsSave, WritesEveryKeyInOrderAndCompletesACreatedFile) {
  Fixture f;
  f.file.exists = false;
  f.Load();
  f.controls.spin1 = 2500;
  f.controls.radio1 = 1;
  f.controls.radio2 = 1;
  f.controls.SetTrackBar1Position(45);
  f.controls.SetCheckBox1Checked(false);
  f.controls.spin2 = -12;
  f.file.log.clear();
  f.Save();
  EXPECT_EQ(f.file.log, (std::vector<std::string>{"write dsq", "write bjs", "write yckz",
                                                  "write jklmd", "write cfkg", "write cfsj"}));
  EXPECT_EQ(f.file.Keys(),
            (std::vector<std::string>{"bjs", "dsq", "yckz", "jklmd", "cfkg", "cfsj"}));
  EXPECT_EQ(f.file.Value("dsq"), "2500");
  EXPECT_EQ(f.file.Value("bjs"), "1");
  EXPECT_EQ(f.file.Value("jklmd"), "45");
  EXPECT_EQ(f.file.Value("cfkg"), "0");
  EXPECT_EQ(f.file.Value("cfsj"), "-12");
  EXPECT_EQ(f.values.TimerInterval, 2500);
  EXPECT_EQ(f.values.AlarmSound, 1);
  EXPECT_EQ(f.values.RemoteControl, 1);
  EXPECT_EQ(f.values.Sensitivity, 45);
  EXPECT_EQ(f.values.TriggerSwitch, 0);
  EXPECT_EQ(f.values.TriggerTime, -12);

  // A new start reads everything back except the alarm, which the load resets.
  Fixture next;
  next.file.lines = f.file.lines;
  next.Load();
  EXPECT_EQ(next.controls.spin1, 2500);
  EXPECT_EQ(next.controls.radio1, 0);
  EXPECT_EQ(next.controls.radio2, 1);
  EXPECT_EQ(next.controls.track, 45);
  EXPECT_EQ(next.controls.VisiblePanel(), 2);
  EXPECT_FALSE(next.controls.checked);
  EXPECT_EQ(next.controls.spin2, -12);
}

TEST(SettingsSave, RefusedWriteKeepsEarlierFieldsAndSkipsTheRest) {
  Fixture f;
  f.values = {1, 1, 1, 1, 1, 1};
  f.controls.spin1 = 900;
  f.controls.radio1 = 1;
  f.controls.radio2 = 1;
  f.controls.track = 70;
  f.controls.checked = false;
  f.controls.spin2 = 3;
  f.file.refuse_key = "yckz";
  EXPECT_THROW(f.Save(), SettingsError);
  EXPECT_EQ(f.values.TimerInterval, 900);
  EXPECT_EQ(f.values.AlarmSound, 1);
  EXPECT_EQ(f.values.RemoteControl, 1);  // not updated: its write failed
  EXPECT_EQ(f.values.Sensitivity, 1);
  EXPECT_EQ(f.values.TriggerSwitch, 1);
  EXPECT_EQ(f.values.TriggerTime, 1);
  EXPECT_EQ(f.file.log.back(), "write yckz");

  // A refused cfkg write has already set TriggerSwitch, which comes before its write.
  Fixture g;
  g.controls.checked = false;
  g.values.TriggerSwitch = 7;
  g.file.refuse_key = "cfkg";
  EXPECT_THROW(g.Save(), SettingsError);
  EXPECT_EQ(g.values.TriggerSwitch, 0);
  EXPECT_EQ(g.values.TriggerTime, 0);
}

TEST(ProfileInt, DecimalAndHexadecimalForms) {
  EXPECT_EQ(ParseProfileInt("1000"), 1000);
  EXPECT_EQ(ParseProfileInt("-1"), -1);
  EXPECT_EQ(ParseProfileInt("+5"), 5);
  EXPECT_EQ(ParseProfileInt("0x1E"), 30);
  EXPECT_EQ(ParseProfileInt("0X1e"), 30);
  EXPECT_EQ(ParseProfileInt("0xFFFFFFFF"), -1);
  EXPECT_EQ(ParseProfileInt("2147483647"), 2147483647);
  EXPECT_EQ(ParseProfileInt("-2147483648"), INT32_MIN);
  for (const char* bad : {"", "-", "abc", "12abc", "0x", "0xG", "0x123456789", "1 2", " 5",
                          "2147483648", "-2147483649", "1.5", "$1E", "-0x5"})
    EXPECT_FALSE(ParseProfileInt(bad).has_value()) << bad;
}

TEST(SensitivityPanel, Boundaries) {
  EXPECT_EQ(SensitivityPanel(1), 3);
  EXPECT_EQ(SensitivityPanel(29), 3);
  EXPECT_EQ(SensitivityPanel(30), 2);
  EXPECT_EQ(SensitivityPanel(60), 2);
  EXPECT_EQ(SensitivityPanel(61), 1);
  EXPECT_EQ(SensitivityPanel(100), 1);
}

TEST(SpinField, RangeAppliesOnlyWhenMinimumAndMaximumDiffer) {
  EXPECT_EQ(SpinClamp(5000, 300, 3000), 3000);
  EXPECT_EQ(SpinClamp(50, 300, 3000), 300);
  EXPECT_EQ(SpinClamp(1200, 300, 3000), 1200);
  EXPECT_EQ(SpinClamp(-99999, 0, 0), -99999);
  EXPECT_EQ(SpinClamp(99999, 0, 0), 99999);
}

TEST(SpinField, TextThatIsNotAnIntegerReadsAsTheMinimum) {
  EXPECT_EQ(SpinValueFromText("1500", 300), 1500);
  EXPECT_EQ(SpinValueFromText("", 300), 300);
  EXPECT_EQ(SpinValueFromText("12.5", 300), 300);
  EXPECT_EQ(SpinValueFromText("--3", 0), 0);
  EXPECT_EQ(SpinValueFromText("-42", 0), -42);
  EXPECT_EQ(SpinValueFromText("99999999999", 0), 0);
}

TEST(SpinField, LeavingTheFieldBringsOnlyIntegersIntoRange) {
  EXPECT_EQ(SpinValueOnLeave("5000", 300, 3000), 3000);
  EXPECT_EQ(SpinValueOnLeave("-5", 300, 3000), 300);
  EXPECT_EQ(SpinValueOnLeave("1200", 300, 3000), std::nullopt);
  EXPECT_EQ(SpinValueOnLeave("abc", 300, 3000), std::nullopt);
  EXPECT_EQ(SpinValueOnLeave("-5000", 0, 0), std::nullopt);
}

TEST(SpinField, StepsStayInRangeAndSaturateWithout) {
  EXPECT_EQ(SpinStep("3000", 300, 3000, 100, +1), 3000);
  EXPECT_EQ(SpinStep("2950", 300, 3000, 100, +1), 3000);
  EXPECT_EQ(SpinStep("300", 300, 3000, 100, -1), 300);
  EXPECT_EQ(SpinStep("1000", 300, 3000, 100, -1), 900);
  EXPECT_EQ(SpinStep("abc", 300, 3000, 100, +1), 400);
  EXPECT_EQ(SpinStep("0", 0, 0, 1, -1), -1);
  EXPECT_EQ(SpinStep("2147483647", 0, 0, 1, +1), 2147483647);
}

TEST(SpinField, TypedCharacterFilter) {
  for (char32_t ok : {U'0', U'9', U'+', U'-', U'.', U'\b', U'\x03', U'\x16', U'\x1b'})
    EXPECT_TRUE(SpinAcceptsChar(ok, U'.')) << static_cast<int>(ok);
  for (char32_t bad : {U'\r', U'a', U'x', U' ', U',', U'０', U'中'})
    EXPECT_FALSE(SpinAcceptsChar(bad, U'.')) << static_cast<int>(bad);
  EXPECT_TRUE(SpinAcceptsChar(U',', U','));
  EXPECT_FALSE(SpinAcceptsChar(U'.', U','));
}

}  // namespace
}  // namespace coiffure
