// TForm3, the settings dialog "系统参数设置": created hidden, filled from config.ini at the main
// window's first show, and able to write its controls back.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/widgets_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"

namespace coiffure {

class TForm3 : public BaseWindow<TForm3>, public SettingsControls {
 public:
  // Control identifiers; BitBtn2 is the cancel button, so Esc presses it.
  enum Id : int {
    kGroupBox1 = 101,
    kGroupBox2,
    kGroupBox3,
    kGroupBox4,
    kGroupBox5,
    kPanel1,
    kPanel2,
    kPanel3,
    kTrackBar1,
    kLabel1,
    kLabel2,
    kLabel3,
    kSpinEdit1,
    kSpinEdit2,
    kRadioGroup1,
    kRadioGroup2,
    kRadio1On,
    kRadio1Off,
    kRadio2On,
    kRadio2Off,
    kCheckBox1,
    kListView1,
    kBitBtn1,
    kBitBtn3,
    kBitBtn4,
    kBitBtn2 = IDCANCEL,
  };

  // values: the main window's fields that a save updates.
  TForm3(HINSTANCE inst, SettingsValues* values);

  // Any control by identifier (for SpinEdit1/2 the edit field).
  HWND Item(Id id) const;
  // Shows the dialog, not modal, centred on the screen.
  void Show();
  // Shows the dialog modally over owner until it is closed.
  void ShowModal(HWND owner);
  // The dialog keys (Tab, Esc, access keys) for a message loop that also serves this window;
  // true when the message was used.
  bool PreTranslateMessage(MSG* msg);
  bool LogShown() const { return log_shown_; }
  // The file a save writes; the application folder's config.ini unless changed.
  void SetProfilePath(std::string path) { profile_path_ = std::move(path); }

  void FormCreate();
  void TrackBar1Change();
  void BitBtn1Click();
  void CheckBox1Click();
  void BitBtn4Click();
  void BitBtn2Click();

  int32_t SpinEdit1Value() override { return spin1_.Value(); }
  void SetSpinEdit1Value(int32_t v) override { spin1_.SetValue(v); }
  int RadioGroup1Index() override;
  void SetRadioGroup1Index(int i) override;
  int RadioGroup2Index() override;
  void SetRadioGroup2Index(int i) override;
  int TrackBar1Position() override;
  void SetTrackBar1Position(int32_t p) override;
  void ShowSensitivityPanel(int panel) override;
  bool CheckBox1Checked() override;
  void SetCheckBox1Checked(bool checked) override;
  int32_t SpinEdit2Value() override { return spin2_.Value(); }
  void SetSpinEdit2Value(int32_t v) override { spin2_.SetValue(v); }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  HWND Frame(HWND parent, FrameKind kind, const wchar_t* caption, int id, int x, int y, int w,
             int h);
  void CreateRadioGroup(const wchar_t* caption, int id, int on_id, int off_id, int x);
  void CreateControls();
  void CreateSettingsSide();
  void CreateTriggerAndButtons();
  void OnCommand(int id, int code);
  void OnDrawItem(const DRAWITEMSTRUCT* item);

  SettingsValues* values_;
  Font font_;
  std::vector<std::unique_ptr<FrameBox>> frames_;
  SpinField spin1_, spin2_;
  Glyph glyph1_, glyph2_, glyph3_, glyph4_;
  int track_position_ = 1;
  bool log_shown_ = false;
  std::string profile_path_;
};

}  // namespace coiffure
