#include "ui/main/form1_win.h"

#include "gallery/gallery_win.h"
#include "resource.h"
#include "settings/settings_win.h"
#include "toolkit/app_text.h"
#include "toolkit/modal_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {
constexpr COLORREF kTealColor = RGB(0, 128, 128);
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
}  // namespace

bool ToolButton::Enabled() const {
  return SendMessageW(toolbar_, TB_ISBUTTONENABLED, id_, 0) != 0;
}

void ToolButton::Click() {
  if (Enabled()) form_.RunToolButton(id_);
}

TForm1::TForm1(Options options) : options_(std::move(options)) {
  static Brush teal(CreateSolidBrush(kTealColor));
  Register(
      {L"TForm1", teal.Get(), 0, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP))});
  font_ = MakeFont(L"MS Sans Serif", -11);
  CreateMenuBar();
  RECT r{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&r, kStyle, TRUE, 0);
  CreateWin(0, L"TForm1", L"Coiffure 发型试戴", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
            r.right - r.left, r.bottom - r.top, nullptr, menu_);
  CreateControls();
  status0_.Attach(statusbar_);
  Guarded(hwnd_, [this] { FormCreate(); });
}

TForm1::~TForm1() {
  // The window goes first: its controls still use the image lists, which go with the members.
  if (hwnd_) DestroyWindow(hwnd_);
}

std::string TForm1::AppFolderPath() const {
  return options_.app_folder.empty() ? AppFolder() : options_.app_folder;
}

void TForm1::Trace(const std::string& handler) {
  if (trace_) trace_->push_back(handler);
}

void TForm1::Show() {
  CentreOnScreen(hwnd_);
  // The show handler runs before the window reaches the screen: the library scan and the
  // settings warning come first, and the window then appears complete.
  if (!shown_) {
    shown_ = true;
    Guarded(hwnd_, [this] { FormShow(); });
  }
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  // Let go of the preparation, whatever became of the scan, once the window is up: closing its
  // folder watches takes Wine's server a while.
  preparation_.reset();
}

void TForm1::FormCreate() {
  Trace("FormCreate");
  // Slices short enough that the splash stays responsive and its timer on time.
  if (options_.show_splash)
    options_.show_splash([this] { return PrepareLibrary(std::chrono::milliseconds(8)); });
  // Double buffering: the paint box composes its whole picture in memory and shows it in one
  // call (PaintBox1Paint), so nothing half drawn reaches the screen.
  ws_.EditMode = EditModeValue::emMove;
  const std::string folder = AppFolderPath();
  // The start rectangle is set before the loads, not after the photo's: a failed load stops
  // here, and the workspace must still paint and edit with empty pictures.
  ws_.SetHairRect({0, 0, 200, 200});
  ws_.Photo.LoadFromFile(folder + "\\ml_data\\test.bmp");
  // White: should the mask file be missing, the stand-in must not black out the photo.
  ws_.HairMask = Picture::Create24(200, 200, {255, 255, 255});
  ws_.HairMask.LoadFromFile(folder + "\\ml_data\\fx1mask.bmp");
  ws_.HairImage.LoadFromFile(folder + "\\ml_data\\fx1.bmp");
}

void TForm1::FormShow() {
  Trace("FormShow");
  const std::wstring folder = Widen(AppFolderPath());
  SetCurrentDirectoryW((folder + L"ml_fx\\").c_str());
  ScanHairLibraryInto(listview_, preparation_.get());
  SetCurrentDirectoryW(folder.c_str());
  if (form3_) LoadSettingsIntoDialog(hwnd_, *form3_, settings_, AppFolderPath());
}

bool TForm1::PrepareLibrary(std::chrono::milliseconds budget) {
  if (shown_ || !thumbnails_) return false;
  if (!preparation_)
    preparation_ =
        std::make_unique<LibraryPreparation>(thumbnails_.Get(), AppFolderPath() + "ml_fx\\");
  return preparation_->Work(budget);
}

void TForm1::FormCloseQuery(bool& CanClose) {
  Trace("FormCloseQuery");
  if (ending_) {
    CanClose = true;  // an end request is pending: the question is not asked
    return;
  }
  const int answer = AppMessageBox(hwnd_, L"真的要退出吗？", L"提示", MB_YESNO | MB_ICONQUESTION);
  // Only Yes ends the try-on: Wine answers Esc and the box's close button with IDCANCEL.
  CanClose = answer == IDYES;
}

void TForm1::FormClose() {
  Trace("FormClose");
  capture_.DisconnectOnClose();
}

void TForm1::FormDestroy() {
  Trace("FormDestroy");
  ws_.HairMask = Picture();
  ws_.HairImage = Picture();
  ws_.Photo = Picture();
}

void TForm1::CloseOperation() {
  bool can_close = true;
  FormCloseQuery(can_close);
  if (!can_close) return;
  FormClose();
  PostQuitMessage(0);
}

void TForm1::E1Click() {
  Trace("E1Click");
  ending_ = true;
  PostQuitMessage(0);
  CloseOperation();
}

bool TForm1::IsShortCut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  if (!IsWindowEnabled(hwnd_) || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool alt = GetKeyState(VK_MENU) < 0;
  if (!ctrl || shift || alt) return false;
  const MenuEntry* e = ResolveShortcut(MainMenu(), static_cast<uint16_t>(msg.wParam));
  if (!e || !e->enabled) return false;
  Guarded(hwnd_, [&] { RunMenuEntry(e->id); });
  return true;
}

void TForm1::SetStatusText(int panel, const std::string& utf8) {
  const std::wstring text = Widen(utf8);
  const WPARAM type = panel == 1 ? SBT_NOBORDERS : 0;
  SendMessageW(statusbar_, SB_SETTEXTW, panel | type, reinterpret_cast<LPARAM>(text.c_str()));
}

void TForm1::PaintBox1Paint(HDC dc, int width, int height) {
  if (width <= 0 || height <= 0) return;
  if (frame_.width != width || frame_.height != height) frame_.Resize(width, height);
  const std::string position = ComposeWorkspace(ws_, frame_);
  const BITMAPINFO bi = TopDownBgr24Info(width, height);
  SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, frame_.bgr.data(), &bi,
                    DIB_RGB_COLORS);
  SetStatusText(2, position);
}

void TForm1::Repaint() {
  if (paintbox_) InvalidateRect(paintbox_->Handle(), nullptr, FALSE);
}

void TForm1::SetGalleryEnabled(bool enabled) {
  // Disabling the gallery hands the keyboard to the main window so the arrow keys reach it.
  if (!enabled && GetFocus() == listview_) SetFocus(hwnd_);
  EnableWindow(listview_, enabled);
}

void TForm1::SetCursor(CursorShape shape) {
  const wchar_t* id = IDC_ARROW;
  switch (shape) {
    case CursorShape::Arrow:
      id = IDC_ARROW;
      break;
    case CursorShape::SizeNWSE:
      id = IDC_SIZENWSE;
      break;
    case CursorShape::SizeWE:
      id = IDC_SIZEWE;
      break;
    case CursorShape::SizeNESW:
      id = IDC_SIZENESW;
      break;
    case CursorShape::SizeNS:
      id = IDC_SIZENS;
      break;
  }
  paintbox_->SetCursorShape(LoadCursorW(nullptr, id));
}

LRESULT TForm1::OnNotify(NMHDR* hdr) {
  if (hdr->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
    const size_t i = hdr->idFrom - kToolButton1;
    if (hdr->idFrom >= kToolButton1 && i < hints_.size()) {
      info->lpszText = const_cast<wchar_t*>(hints_[i].c_str());
      info->hinst = nullptr;
    }
    return 0;
  }
  if (hdr->hwndFrom == listview_) {
    if (hdr->code == NM_CLICK) ListView1Click();
    if (hdr->code == LVN_ENDLABELEDITW) return TRUE;  // an edited caption is kept as typed
  }
  return 0;
}

void TForm1::OnCommand(WORD id) {
  if (id >= kToolButton1 && id <= kToolButton14) {
    Button(static_cast<CommandId>(id)).Click();
    return;
  }
  RunMenuEntry(static_cast<CommandId>(id));
}

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (lp == 0 || HIWORD(wp) == BN_CLICKED) OnCommand(LOWORD(wp));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_KEYDOWN:
      FormKeyDown(static_cast<WORD>(wp));
      return 0;
    case WM_SYSKEYDOWN:
      // With Alt held the keys arrive here. The arrows and Enter edit as they do without it,
      // and the platform still sees every key: menu access keys, Alt+F4 and Alt+Space work.
      FormKeyDown(static_cast<WORD>(wp));
      break;
    case WM_SYSCHAR:
      if (wp == VK_RETURN) return 0;  // Alt+Enter deselected; it names no menu entry
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) {
        // The gallery is the one control that takes the focus; else the window keeps it.
        SetFocus(IsWindowEnabled(listview_) ? listview_ : hwnd_);
        return 0;
      }
      break;
    case WM_CLOSE:
      CloseOperation();
      return 0;
    case WM_QUERYENDSESSION: {
      bool can_close = true;
      FormCloseQuery(can_close);
      return can_close;
    }
    case WM_ENDSESSION:
      if (wp) FormClose();
      return 0;
    case WM_DESTROY:
      FormDestroy();
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace coiffure
