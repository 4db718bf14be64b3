#include "settings/form3_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>

#include "resource.h"
#include "settings/settings_win.h"
#include "toolkit/error_box_win.h"
#include "toolkit/modal_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr wchar_t kClassName[] = L"TForm3";
constexpr int kClientWidth = 492, kClientHeight = 274;
constexpr int kLogShownHeight = 471, kLogHiddenHeight = 308;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_CONTROLPARENT;

constexpr DWORD kButton = WS_TABSTOP | BS_OWNERDRAW | WS_CLIPSIBLINGS;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;

bool Checked(HWND button) {
  return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND button, bool on) {
  SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

TForm3::TForm3(HINSTANCE inst, SettingsValues* values)
    : values_(values),
      font_(MakeFont(L"MS Sans Serif", -11)),
      profile_path_(AppFolder() + kSettingsFileName) {
  Register({kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), 0,
            LoadIconW(inst, MAKEINTRESOURCEW(IDI_APP))});
  glyph1_ = {Bitmap(LoadBitmapW(inst, MAKEINTRESOURCEW(IDB_BITBTN1))), 2};
  glyph2_ = {CreateCancelGlyph(), 1};
  glyph3_ = {CreateHelpGlyph(), 1};
  glyph4_ = {Bitmap(LoadBitmapW(inst, MAKEINTRESOURCEW(IDB_BITBTN4))), 1};
  RECT rc{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&rc, kStyle, FALSE, kExStyle);
  CreateWin(kExStyle, kClassName, L"系统参数设置", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
            rc.right - rc.left, rc.bottom - rc.top, nullptr);
  if (!hwnd_) throw std::runtime_error("Error creating window class TForm3");
  CreateControls();
  FormCreate();
}

HWND TForm3::Frame(HWND parent, FrameKind kind, const wchar_t* caption, int id, int x, int y, int w,
                   int h) {
  frames_.push_back(std::make_unique<FrameBox>(parent, kind, caption, id, x, y, w, h, font_.Get()));
  return frames_.back()->Handle();
}

// A radio group: the frame with its two items "打开" and "关闭".
void TForm3::CreateRadioGroup(const wchar_t* caption, int id, int on_id, int off_id, int x) {
  HWND group = Frame(hwnd_, FrameKind::kGroup, caption, id, x, 24, 81, 73);
  CreateChild(group, WC_BUTTONW, L"打开", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, on_id, 10, 22,
              64, 18, font_.Get());
  CreateChild(group, WC_BUTTONW, L"关闭", BS_AUTORADIOBUTTON, off_id, 10, 46, 64, 18, font_.Get());
  SetChecked(GetDlgItem(group, on_id), true);
}

// Children are stacked in creation order, which is also the Tab order; the frames that only
// surround other controls go last so that they lie beneath them.
void TForm3::CreateControls() {
  CreateSettingsSide();
  CreateTriggerAndButtons();
  HWND group2 = Frame(hwnd_, FrameKind::kGroup, L"监控定时器：", kGroupBox2, 16, 24, 121, 73);
  CreateChild(group2, WC_STATICW, L"毫秒", kLabel, kLabel1, 80, 32, 33, 13, font_.Get());
  Frame(hwnd_, FrameKind::kGroup, L"", kGroupBox4, 328, 104, 153, 161);
  Frame(hwnd_, FrameKind::kGroup, L"", kGroupBox3, 8, 8, 313, 257);
}

void TForm3::CreateSettingsSide() {
  HWND group1 = Frame(hwnd_, FrameKind::kGroup, L"监控灵敏度设置：", kGroupBox1, 16, 104, 297, 145);
  HWND track = CreateChild(group1, TRACKBAR_CLASSW, L"",
                           WS_TABSTOP | TBS_VERT | TBS_NOTICKS | TBS_FIXEDLENGTH, kTrackBar1, 8, 16,
                           25, 118, font_.Get());
  SendMessageW(track, TBM_SETRANGEMIN, FALSE, 1);
  SendMessageW(track, TBM_SETRANGEMAX, FALSE, 100);
  SendMessageW(track, TBM_SETPOS, TRUE, 1);
  SendMessageW(track, TBM_SETTHUMBLENGTH, 19, 0);
  // Panel3 lies on top of the other two until the rule first picks one.
  Frame(group1, FrameKind::kPanel, L"灵敏度最高，但出现误报的机率也最大", kPanel3, 48, 24, 241,
        105);
  Frame(group1, FrameKind::kPanel, L"灵敏度最低，可能忽略图像的一些细节", kPanel1, 48, 24, 241,
        105);
  Frame(group1, FrameKind::kPanel, L"灵敏度一般。在周围环境变化快的地方", kPanel2, 48, 24, 241,
        105);

  spin1_.Create(hwnd_, kSpinEdit1, 24, 48, 65, 22, font_.Get(), 300, 3000, 100, 300);
  CreateRadioGroup(L"报警声：", kRadioGroup1, kRadio1On, kRadio1Off, 144);
  CreateRadioGroup(L"远程控制：", kRadioGroup2, kRadio2On, kRadio2Off, 232);
}

void TForm3::CreateTriggerAndButtons() {
  CreateChild(hwnd_, WC_BUTTONW, L"查看日志[&Q]", kButton, kBitBtn1, 360, 156, 105, 25,
              font_.Get());
  CreateChild(hwnd_, WC_BUTTONW, L"关闭[&C]", kButton, kBitBtn2, 360, 122, 105, 25, font_.Get());
  CreateChild(hwnd_, WC_BUTTONW, L"帮助[&H]", kButton, kBitBtn3, 360, 226, 105, 25, font_.Get());

  HWND list = CreateChild(hwnd_, WC_LISTVIEWW, L"", WS_TABSTOP | WS_BORDER | LVS_REPORT, kListView1,
                          8, 280, 473, 145, font_.Get());
  ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES);
  struct Column {
    const wchar_t* title;
    int width;
  };
  int index = 0;
  for (Column c : {Column{L"时间", 120}, Column{L"事件描述", 300}}) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<wchar_t*>(c.title);
    col.cx = c.width;
    ListView_InsertColumn(list, index++, &col);
  }

  HWND group5 = Frame(hwnd_, FrameKind::kGroup, L"自动触发录像功能：", kGroupBox5, 328, 8, 153, 89);
  HWND check = CreateChild(group5, WC_BUTTONW, L"触发开关", WS_TABSTOP | BS_AUTOCHECKBOX,
                           kCheckBox1, 8, 24, 97, 17, font_.Get());
  SetChecked(check, true);
  spin2_.Create(group5, kSpinEdit2, 72, 48, 41, 22, font_.Get(), 0, 0, 1, 5);
  CreateChild(group5, WC_STATICW, L"[秒]", kLabel, kLabel2, 120, 56, 25, 13, font_.Get());
  CreateChild(group5, WC_STATICW, L"触发时间", kLabel, kLabel3, 8, 56, 48, 13, font_.Get());

  CreateChild(hwnd_, WC_BUTTONW, L"保存设置[&S]", kButton, kBitBtn4, 360, 191, 105, 25,
              font_.Get());
}

HWND TForm3::Item(Id id) const {
  if (id == kSpinEdit1) return spin1_.Edit();
  if (id == kSpinEdit2) return spin2_.Edit();
  // Controls may sit inside a frame, one level down.
  if (HWND direct = GetDlgItem(hwnd_, id)) return direct;
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (HWND inner = GetDlgItem(child, id)) return inner;
  return nullptr;
}

void TForm3::Show() {
  CentreOnScreen(hwnd_);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void TForm3::ShowModal(HWND owner) {
  CentreOnScreen(hwnd_);
  // Closing hides the dialog, which ends the modal display.
  coiffure::ShowModal(
      hwnd_, owner, [this] { return !IsWindowVisible(hwnd_); },
      [this](MSG& msg) { return PreTranslateMessage(&msg); });
}

bool TForm3::PreTranslateMessage(MSG* msg) {
  if (!hwnd_ || !(msg->hwnd == hwnd_ || IsChild(hwnd_, msg->hwnd))) return false;
  if (msg->message == WM_SYSCHAR) {
    // The picture buttons draw themselves, so their access keys are matched here.
    const struct {
      wchar_t key;
      Id id;
    } keys[] = {{L'q', kBitBtn1}, {L'c', kBitBtn2}, {L's', kBitBtn4}, {L'h', kBitBtn3}};
    for (auto k : keys)
      if (std::towlower(static_cast<wint_t>(msg->wParam)) == k.key) {
        SendMessageW(Item(k.id), BM_CLICK, 0, 0);
        return true;
      }
  }
  return IsDialogMessageW(hwnd_, msg);
}

void TForm3::FormCreate() {
  log_shown_ = false;
}

void TForm3::TrackBar1Change() {
  ShowSensitivityPanel(SensitivityPanel(TrackBar1Position()));
}

void TForm3::BitBtn1Click() {
  log_shown_ = !log_shown_;
  RECT rc;
  GetWindowRect(hwnd_, &rc);
  SetWindowPos(hwnd_, nullptr, 0, 0, rc.right - rc.left,
               log_shown_ ? kLogShownHeight : kLogHiddenHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowTextW(Item(kBitBtn1), log_shown_ ? L"关闭日志[&Q]" : L"查看日志[&Q]");
}

void TForm3::CheckBox1Click() {
  const bool on = CheckBox1Checked();
  EnableWindow(Item(kLabel3), on);
  EnableWindow(Item(kLabel2), on);
  spin2_.Enable(on);
}

void TForm3::BitBtn4Click() {
  Guarded(hwnd_, [this] {
    IniProfileFile file(profile_path_);
    SaveSettings(file, *this, *values_);
  });
}

void TForm3::BitBtn2Click() {
  ShowWindow(hwnd_, SW_HIDE);
}

int TForm3::RadioGroup1Index() {
  return Checked(Item(kRadio1On)) ? 0 : Checked(Item(kRadio1Off)) ? 1 : -1;
}

void TForm3::SetRadioGroup1Index(int i) {
  SetChecked(Item(kRadio1On), i == 0);
  SetChecked(Item(kRadio1Off), i == 1);
}

int TForm3::RadioGroup2Index() {
  return Checked(Item(kRadio2On)) ? 0 : Checked(Item(kRadio2Off)) ? 1 : -1;
}

void TForm3::SetRadioGroup2Index(int i) {
  SetChecked(Item(kRadio2On), i == 0);
  SetChecked(Item(kRadio2Off), i == 1);
}

int TForm3::TrackBar1Position() {
  return static_cast<int>(SendMessageW(Item(kTrackBar1), TBM_GETPOS, 0, 0));
}

void TForm3::SetTrackBar1Position(int32_t p) {
  const int clamped = std::clamp<int32_t>(p, 1, 100);
  if (clamped == TrackBar1Position()) return;
  SendMessageW(Item(kTrackBar1), TBM_SETPOS, TRUE, clamped);
  track_position_ = clamped;
  TrackBar1Change();
}

void TForm3::ShowSensitivityPanel(int panel) {
  ShowWindow(Item(kPanel1), panel == 1 ? SW_SHOWNA : SW_HIDE);
  ShowWindow(Item(kPanel2), panel == 2 ? SW_SHOWNA : SW_HIDE);
  ShowWindow(Item(kPanel3), panel == 3 ? SW_SHOWNA : SW_HIDE);
}

bool TForm3::CheckBox1Checked() {
  return Checked(Item(kCheckBox1));
}

void TForm3::SetCheckBox1Checked(bool checked) {
  if (checked == CheckBox1Checked()) return;
  SetChecked(Item(kCheckBox1), checked);
  CheckBox1Click();
}

void TForm3::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kBitBtn1:
      BitBtn1Click();
      break;
    case kBitBtn2:
      BitBtn2Click();
      break;
    case kBitBtn4:
      BitBtn4Click();
      break;
    case kCheckBox1:
      CheckBox1Click();
      break;
    default:
      break;  // BitBtn3 has no handler.
  }
}

void TForm3::OnDrawItem(const DRAWITEMSTRUCT* item) {
  switch (item->CtlID) {
    case kBitBtn1:
      DrawBitButton(*item, glyph1_);
      break;
    case kBitBtn2:
      DrawBitButton(*item, glyph2_);
      break;
    case kBitBtn3:
      DrawBitButton(*item, glyph3_);
      break;
    case kBitBtn4:
      DrawBitButton(*item, glyph4_);
      break;
  }
}

LRESULT TForm3::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lp) == Item(kTrackBar1) &&
          TrackBar1Position() != track_position_) {
        track_position_ = TrackBar1Position();
        TrackBar1Change();
      }
      return 0;
    case WM_DRAWITEM:
      OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) BitBtn2Click();
      return 0;
    case WM_CLOSE:
      // Closing only hides: the dialog and its values stay for the whole run.
      BitBtn2Click();
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace coiffure
