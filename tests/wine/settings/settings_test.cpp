// The settings sequence on real INI files, and the settings dialog's real controls.
#include <windows.h>

#include <gtest/gtest.h>
// The common controls' messages need windows.h first.
#include <commctrl.h>

#include "settings/form3_win.h"
#include "settings/settings_win.h"
#include "toolkit/text_win.h"
#include "wine/wine_helpers.h"

namespace coiffure {
namespace {

using testing::AnswerMessageBoxes;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WindowText;
using testing::WriteBytes;

class RecordingWarning : public WarningPort {
 public:
  int count = 0;
  void Warn(const std::string&, const std::string&) override { ++count; }
};

bool Shown(HWND hwnd) {
  return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string ini = folder.Path("config.ini");
  SettingsValues values;
  TForm3 dialog{GetModuleHandleW(nullptr), &values};
  RecordingWarning warning;

  void Load() {
    IniProfileFile file(ini, ini);
    LoadSettings(file, dialog, warning, values);
  }
  int VisiblePanel() {
    int which = 0, count = 0;
    for (auto [id, n] : {std::pair{TForm3::kPanel1, 1}, {TForm3::kPanel2, 2}, {TForm3::kPanel3, 3}})
      if (Shown(dialog.Item(id))) which = n, ++count;
    return count == 1 ? which : -count;
  }
};

TEST_F(SettingsFileTest, MissingFileIsCreatedByTheLoadAndCompletedByTheSaveInKeyOrder) {
  Load();
  EXPECT_EQ(warning.count, 1);
  EXPECT_EQ(ReadBytes(ini), "[MIRALOOKCFG]\r\nbjs=0\r\n");
  EXPECT_EQ(WindowText(dialog.Item(TForm3::kSpinEdit1)), "1000");
  EXPECT_EQ(dialog.RadioGroup1Index(), 0);
  EXPECT_EQ(dialog.RadioGroup2Index(), 0);
  EXPECT_EQ(dialog.TrackBar1Position(), 10);
  EXPECT_EQ(VisiblePanel(), 3);
  EXPECT_TRUE(dialog.CheckBox1Checked());
  EXPECT_EQ(WindowText(dialog.Item(TForm3::kSpinEdit2)), "1000");

  dialog.SetProfilePath(ini);
  SendMessageW(dialog.Item(TForm3::kBitBtn4), BM_CLICK, 0, 0);
  EXPECT_EQ(ReadBytes(ini),
            "[MIRALOOKCFG]\r\nbjs=0\r\ndsq=1000\r\nyckz=0\r\njklmd=10\r\ncfkg=1\r\ncfsj=1000\r\n");
  EXPECT_EQ(values.TimerInterval, 1000);
  EXPECT_EQ(values.TriggerTime, 1000);
}

TEST_F(SettingsFileTest, ValuesOutOfRangeHexadecimalAndNotIntegers) {
  WriteBytes(ini,
             "; kept\r\n[MIRALOOKCFG]\r\ndsq=5000\r\nbjs=1\r\nyckz=-1\r\njklmd=250\r\ncfkg=2\r\n"
             "cfsj=0x1E\r\n");
  Load();
  EXPECT_EQ(warning.count, 0);
  EXPECT_EQ(values.TimerInterval, 5000);
  EXPECT_EQ(WindowText(dialog.Item(TForm3::kSpinEdit1)), "3000");
  EXPECT_EQ(values.AlarmSound, 0);
  EXPECT_EQ(dialog.RadioGroup1Index(), 0);
  EXPECT_EQ(values.RemoteControl, -1);
  EXPECT_EQ(dialog.RadioGroup2Index(), 1);
  EXPECT_EQ(values.Sensitivity, 250);
  EXPECT_EQ(dialog.TrackBar1Position(), 100);
  EXPECT_EQ(VisiblePanel(), 1);
  EXPECT_EQ(values.TriggerSwitch, 2);
  EXPECT_FALSE(dialog.CheckBox1Checked());
  EXPECT_FALSE(IsWindowEnabled(dialog.Item(TForm3::kLabel3)));
  EXPECT_FALSE(IsWindowEnabled(dialog.Item(TForm3::kLabel2)));
  EXPECT_FALSE(IsWindowEnabled(dialog.Item(TForm3::kSpinEdit2)));
  EXPECT_EQ(values.TriggerTime, 30);
  // bjs is rewritten in place; every other line stays.
  EXPECT_EQ(ReadBytes(ini),
            "; kept\r\n[MIRALOOKCFG]\r\ndsq=5000\r\nbjs=0\r\nyckz=-1\r\njklmd=250\r\ncfkg=2\r\n"
            "cfsj=0x1E\r\n");
}

TEST_F(SettingsFileTest, TextsThatAreNotIntegersGiveTheDefaults) {
  // The platform's own integer reading would take 12abc as 12 and abc as 0.
  WriteBytes(ini, "[MIRALOOKCFG]\r\ndsq=abc\r\njklmd=12abc\r\ncfsj=\r\ncfkg=0\r\n");
  Load();
  EXPECT_EQ(values.TimerInterval, 1000);
  EXPECT_EQ(values.Sensitivity, 10);
  EXPECT_EQ(values.TriggerTime, 1000);
  EXPECT_EQ(values.TriggerSwitch, 0);
}

TEST_F(SettingsFileTest, StartPositionStillGetsItsPanel) {
  WriteBytes(ini, "[MIRALOOKCFG]\r\njklmd=1\r\n");
  Load();
  EXPECT_EQ(dialog.TrackBar1Position(), 1);
  EXPECT_EQ(VisiblePanel(), 3);
}

TEST_F(SettingsFileTest, RefusedWritesRaiseUnableToWrite) {
  // A file in a folder that does not exist cannot be written.
  const std::string nowhere = folder.Path("missing\\config.ini");
  {
    IniProfileFile file(nowhere, nowhere);
    dialog.SetSpinEdit2Value(77);
    try {
      LoadSettings(file, dialog, warning, values);
      ADD_FAILURE() << "the load went through";
    } catch (const SettingsError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + nowhere);
    }
  }
  EXPECT_EQ(values.TimerInterval, 1000);
  EXPECT_EQ(WindowText(dialog.Item(TForm3::kSpinEdit1)), "1000");
  EXPECT_EQ(dialog.TrackBar1Position(), 1);
  EXPECT_EQ(WindowText(dialog.Item(TForm3::kSpinEdit2)), "77");

  // A file that another program holds open without sharing, saved through the button: the
  // error box reports it and the save stops. (The read-only attribute does not stop Wine when it
  // runs as root, so it cannot stand in here.)
  WriteBytes(ini, "[MIRALOOKCFG]\r\ndsq=400\r\n");
  HANDLE held = CreateFileW(Widen(ini).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  dialog.SetProfilePath(ini);
  values = {};
  const auto boxes =
      AnswerMessageBoxes([&] { SendMessageW(dialog.Item(TForm3::kBitBtn4), BM_CLICK, 0, 0); });
  CloseHandle(held);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Unable to write to " + ini + ".");
  EXPECT_EQ(boxes[0].icon, LoadIconW(nullptr, IDI_HAND));
  EXPECT_EQ(values.TimerInterval, 0);
  EXPECT_EQ(ReadBytes(ini), "[MIRALOOKCFG]\r\ndsq=400\r\n");
}

TEST_F(SettingsFileTest, ShippedFileIsWhatALoadAndASaveWrite) {
  // The tests run in the staged release folder.
  const std::string shipped = ReadBytes("config.ini");
  ASSERT_FALSE(shipped.empty());
  WriteBytes(ini, shipped);
  Load();
  EXPECT_EQ(warning.count, 0);
  dialog.SetProfilePath(ini);
  dialog.BitBtn4Click();
  EXPECT_EQ(ReadBytes(ini), shipped);
  EXPECT_EQ(values.TimerInterval, 1000);
  EXPECT_EQ(values.Sensitivity, 10);
  EXPECT_EQ(values.TriggerSwitch, 1);
  EXPECT_EQ(values.TriggerTime, 1000);

  // Byte for byte the file that a first start without it and a save would leave.
  const std::string fresh = folder.Path("fresh.ini");
  SettingsValues fresh_values;
  TForm3 fresh_dialog(GetModuleHandleW(nullptr), &fresh_values);
  IniProfileFile file(fresh, fresh);
  LoadSettings(file, fresh_dialog, warning, fresh_values);
  SaveSettings(file, fresh_dialog, fresh_values);
  EXPECT_EQ(ReadBytes(fresh), shipped);
}

TEST(SettingsWarning, MissingFileShowsTheWarningBoxThenCreatesTheFile) {
  // The check is on config.ini in the current folder, the file is the application folder's.
  TempFolder folder;
  wchar_t old_dir[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, old_dir);
  SetCurrentDirectoryW(Widen(folder.Path("")).c_str());
  const std::string app_ini = AppFolder() + "config.ini";
  const std::string before = ReadBytes(app_ini);
  DeleteFileW(Widen(app_ini).c_str());

  SettingsValues values;
  TForm3 dialog(GetModuleHandleW(nullptr), &values);
  HWND owner = CreateWindowW(L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                             nullptr);
  const auto boxes = AnswerMessageBoxes([&] { LoadSettingsIntoDialog(owner, dialog, values); });
  const std::string written = ReadBytes(app_ini);

  DeleteFileW(Widen(app_ini).c_str());
  if (!before.empty()) WriteBytes(app_ini, before);
  SetCurrentDirectoryW(old_dir);
  DestroyWindow(owner);

  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "警告");
  EXPECT_EQ(boxes[0].text,
            "配置文件损坏或丢失！，请回到系统参数设置选项进行设置。保存后退出，重新启动本软件。");
  EXPECT_EQ(boxes[0].owner, owner);
  EXPECT_EQ(boxes[0].icon, LoadIconW(nullptr, IDI_WARNING));
  EXPECT_TRUE(boxes[0].ok_only);
  EXPECT_EQ(written, "[MIRALOOKCFG]\r\nbjs=0\r\n");
  EXPECT_EQ(values.TimerInterval, 1000);
}

}  // namespace
}  // namespace coiffure
