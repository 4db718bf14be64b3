#include "desk/desk_window_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "desk/cutout/style_purpose_win.h"
#include "desk/library_folder_win.h"
#include "desk/own_hair/own_hair_purpose_win.h"
#include "import/customer_photo.h"
#include "resource.h"
#include "toolkit/modal_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr const wchar_t* kClassName = L"CoiffureImportWindow";
constexpr UINT kWorkPendingMessage = WM_APP + 1;
constexpr int kPad = 12, kButtonWidth = 140, kButtonHeight = 30, kMinListRows = 4;
constexpr int kMinListWidth = 380, kProgressBarHeight = 8;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr const char* kHint =
    "发型图片（PNG、JPEG、GIF、TIFF 或 BMP）：拖到这个窗口里，或单击“添加发型图片...”。"
    "导入的发型保存在 ml_fx 中，重新启动 Coiffure 后即可选用。";
constexpr const char* kShadeHint =
    "换发色：把发型库中的发型换成发廊常用的发色，先看预览再生成新发型。";
constexpr const char* kCutoutHint =
    "从照片剪出发型：人物照片里的头发，框出来再涂几笔就能剪下来，导入为发型。";
constexpr const char* kOwnHairHint =
    "换自己的发色：在顾客照片上框出她的头发，试各种发色；满意后用作顾客照片，原照片会保留，"
    "可以随时恢复。";
constexpr const char* kIdleStatus = "导入在后台进行，窗口随时可用；单击“停止”可以中途停下。";

// The platform's message font: on a Chinese system a face that holds the Chinese glyphs.
Font MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    return Font(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  return Font(CreateFontIndirectW(&metrics.lfMessageFont));
}

// The window size that gives this client size.
SIZE WindowSizeFor(SIZE client) {
  RECT r{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&r, kStyle, FALSE, WS_EX_ACCEPTFILES);
  return {r.right - r.left, r.bottom - r.top};
}

constexpr int kMinClientWidth = 3 * kPad + kMinListWidth + kPaintBoxWidth;

HWND MakeChild(HWND parent, const wchar_t* cls, const char* text, DWORD style, int id = 0) {
  return CreateWindowExW(0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

HWND MakeButton(HWND parent, const char* text, int id) {
  return MakeChild(parent, L"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON, id);
}

}  // namespace

DeskWindow::DeskWindow(PictureSource& source, DeskFolders folders, bool quit_on_close)
    : source_(source),
      folders_(std::move(folders)),
      quit_on_close_(quit_on_close),
      list_([this](int row) { ShowRow(row); }, [this](int row) { ActivateRow(row); }),
      drop_([this](const std::vector<std::string>& files) {
        Win32PathLister paths;
        ReplacePhoto(PictureFiles(files, paths));
      }),
      preview_(folders_.photo_path) {}

DeskWindow::~DeskWindow() {
  worker_.reset();  // the step under way ends before anything it uses goes
}

HWND DeskWindow::Create() {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
  Register({kClassName, GetSysColorBrush(COLOR_BTNFACE), 0, icon});
  CreateWin(WS_EX_ACCEPTFILES, kClassName, Widen("Coiffure 发型导入").c_str(), kStyle,
            CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr);
  if (!hwnd_) return nullptr;
  const SIZE min = WindowSizeFor(MinClientSize());
  SetWindowPos(hwnd_, nullptr, 0, 0, min.cx + 40, min.cy, SWP_NOMOVE | SWP_NOZORDER);
  worker_ = std::make_unique<BackgroundWorker>(work_, hwnd_, kWorkMessage);
  return hwnd_;
}

LRESULT DeskWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_SIZE:
      FormResize(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_GETMINMAXINFO:
      SetMinTrackSize(lp, WindowSizeFor(MinClientSize()));
      return 0;
    case WM_DROPFILES: {
      Win32PathLister paths;  // a folder dropped stands for the pictures in it
      ImportFiles(PictureFiles(DroppedFiles(reinterpret_cast<HDROP>(wp)), paths));
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) OnCommand(LOWORD(wp));
      return 0;
    case WM_NOTIFY: {
      LRESULT answer = 0;
      list_.OnNotify(reinterpret_cast<NMHDR*>(lp), answer);
      return answer;
    }
    case kWorkMessage:
      ApplyWork();
      return 0;
    case WM_TIMER:
      if (wp == kRefreshTimer) Refresh();
      return 0;
    case kWorkPendingMessage: {
      const ImportCommand work = std::exchange(pending_, {});
      ReplacePhoto(work.photos);
      ImportFiles(work.files);
      return 0;
    }
    case WM_ACTIVATE:
      return OnActivate(wp);
    case WM_SETFOCUS:
      SetFocus(last_focus_ && IsChild(hwnd_, last_focus_) ? last_focus_ : add_button_);
      return 0;
    case WM_NEXTDLGCTL:
      MoveFocusAsDialogAsks(hwnd_, wp, lp);
      return 0;
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_DESTROY:
      if (quit_on_close_) PostQuitMessage(0);
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

void DeskWindow::OnCommand(int id) {
  if (id == kAddButtonId) AddButtonClick();
  if (id == kPhotoButtonId) PhotoButtonClick();
  if (id == kShadeButtonId) ShadeButtonClick();
  if (id == kStopButtonId) StopButtonClick();
  if (id == kCutoutButtonId) CutoutButtonClick();
  if (id == kOwnHairButtonId) OwnHairButtonClick();
  // Enter comes as the default command; on the list it activates the selected row.
  if (id == IDOK && GetFocus() == list_.Handle()) ActivateRow(list_.Selected());
}

// The keyboard focus goes back to the control that had it when the window is active again
// (after a dialog); at first, to the first button.
LRESULT DeskWindow::OnActivate(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) last_focus_ = focus;
  } else {
    SetFocus(hwnd_);
  }
  return 0;
}

void DeskWindow::FormCreate() {
  font_ = MessageFont();
  hint_ = MakeChild(hwnd_, L"STATIC", kHint, SS_NOPREFIX);
  add_button_ = MakeButton(hwnd_, "添加发型图片(&A)...", kAddButtonId);
  drop_.Create(hwnd_, font_.Get());
  photo_button_ = MakeButton(hwnd_, "选择顾客照片(&P)...", kPhotoButtonId);
  shade_notice_ = MakeChild(hwnd_, L"STATIC", kShadeHint, SS_NOPREFIX);
  shade_button_ = MakeButton(hwnd_, "换发色(&C)...", kShadeButtonId);
  cutout_notice_ = MakeChild(hwnd_, L"STATIC", kCutoutHint, SS_NOPREFIX);
  cutout_button_ = MakeButton(hwnd_, "从照片剪出发型(&X)...", kCutoutButtonId);
  own_notice_ = MakeChild(hwnd_, L"STATIC", kOwnHairHint, SS_NOPREFIX);
  own_button_ = MakeButton(hwnd_, "换自己的发色(&H)...", kOwnHairButtonId);
  list_.Create(hwnd_, font_.Get());
  status_ = MakeChild(hwnd_, L"STATIC", kIdleStatus, SS_NOPREFIX);
  progress_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 0, 0, hwnd_, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  stop_button_ = MakeButton(hwnd_, "停止(&S)", kStopButtonId);
  EnableWindow(stop_button_, FALSE);
  line_height_ = LineHeight(hwnd_, font_.Get());
  for (HWND child :
       {hint_, add_button_, photo_button_, shade_notice_, shade_button_, cutout_notice_,
        cutout_button_, own_notice_, own_button_, status_, stop_button_})
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  preview_.Create(hwnd_, 0, 0, font_.Get());
  last_focus_ = add_button_;
  summary_ = kIdleStatus;
  DragAcceptFiles(hwnd_, TRUE);
}

// The left column at this text width: the three hints as tall as their wrapped text, each
// beside its button, the list, and the line of the work under it.
int DeskWindow::LeftColumnHeight(int text_width, int list_height) const {
  const int hint = std::max(kButtonHeight, WrappedTextHeight(hint_, text_width));
  const int drop = drop_.HeightFor(text_width);
  const int notice = std::max(kButtonHeight, WrappedTextHeight(shade_notice_, text_width));
  const int cutout = std::max(kButtonHeight, WrappedTextHeight(cutout_notice_, text_width));
  const int own = std::max(kButtonHeight, WrappedTextHeight(own_notice_, text_width));
  return 7 * kPad + hint + drop + notice + cutout + own + list_height + StripHeight() + kPad;
}

// Under the list: two lines of where the work stands over its progress bar, beside "停止".
int DeskWindow::StripHeight() const {
  return std::max(kButtonHeight, 2 * line_height_ + 4 + kProgressBarHeight);
}

SIZE DeskWindow::MinClientSize() const {
  const int text_width = kMinListWidth - kPad - kButtonWidth;
  const int list = (kMinListRows + 1) * (line_height_ + 6) + 4;
  const int right = 2 * kPad + kPaintBoxHeight + DeskPreview::kCaptionHeight;
  return {kMinClientWidth, std::max(right, LeftColumnHeight(text_width, list))};
}

void DeskWindow::FormResize(int width, int height) {
  const int left_width = std::max(kMinListWidth, width - 3 * kPad - kPaintBoxWidth);
  const int text_width = left_width - kPad - kButtonWidth, button_x = kPad + text_width + kPad;
  // Each text beside its button, centred on it when it is the shorter.
  int top = kPad;
  const auto beside = [&](HWND text, int text_height, HWND button) {
    const int row = std::max(kButtonHeight, text_height);
    MoveWindow(text, kPad, top + (row - text_height) / 2, text_width, text_height, TRUE);
    MoveWindow(button, button_x, top + (row - kButtonHeight) / 2, kButtonWidth, kButtonHeight,
               TRUE);
    top += row + kPad;
  };
  beside(hint_, WrappedTextHeight(hint_, text_width), add_button_);
  beside(drop_.Handle(), drop_.HeightFor(text_width), photo_button_);
  beside(shade_notice_, WrappedTextHeight(shade_notice_, text_width), shade_button_);
  beside(cutout_notice_, WrappedTextHeight(cutout_notice_, text_width), cutout_button_);
  beside(own_notice_, WrappedTextHeight(own_notice_, text_width), own_button_);
  const int strip = StripHeight(), strip_top = std::max(top, height - kPad - strip);
  MoveWindow(list_.Handle(), kPad, top, left_width, std::max(0, strip_top - kPad - top), TRUE);
  list_.FitColumns();
  MoveWindow(status_, kPad, strip_top, text_width, 2 * line_height_, TRUE);
  MoveWindow(progress_, kPad, strip_top + strip - kProgressBarHeight, text_width,
             kProgressBarHeight, TRUE);
  MoveWindow(stop_button_, button_x, strip_top + (strip - kButtonHeight) / 2, kButtonWidth,
             kButtonHeight, TRUE);
  MoveWindow(preview_.Handle(), 2 * kPad + left_width, kPad, kPaintBoxWidth,
             kPaintBoxHeight + DeskPreview::kCaptionHeight, TRUE);
  // All drawn anew: the texts wrap anew at this width, and the platform would copy a moved
  // control's old pixels where it lands rather than draw it there.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// After a text changed its length: laid out again, and made taller if it no longer fits.
void DeskWindow::Relayout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  const SIZE min = MinClientSize();
  if (client.bottom < min.cy) {
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    const SIZE size = WindowSizeFor({client.right, min.cy});
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER);
    return;
  }
  FormResize(client.right, client.bottom);
}

void DeskWindow::FormClose() {
  if (work_.Idle()) {
    DestroyWindow(hwnd_);
    return;
  }
  // Closed once the file under way is done; what is done stays done.
  closing_ = true;
  StopButtonClick();
}

std::vector<std::string> DeskWindow::AskForFiles(const char* title, bool several) {
  std::wstring filter = Widen(PictureDialogFilter());
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  std::wstring buffer(1 << 16, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = hwnd_;
  const std::wstring caption = Widen(title);
  ofn.lpstrTitle = caption.c_str();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (several) ofn.Flags |= OFN_ALLOWMULTISELECT;
  if (!GetOpenFileNameW(&ofn)) return {};
  // The strings end at the first double NUL.
  const size_t end = buffer.find(std::wstring(2, L'\0'));
  return SplitDialogSelection(Narrow(std::wstring_view(buffer).substr(0, end)));
}

void DeskWindow::AddButtonClick() {
  Win32PathLister paths;
  ImportFiles(PictureFiles(AskForFiles("选择发型图片", true), paths));
}

void DeskWindow::PhotoButtonClick() {
  ReplacePhoto(AskForFiles("选择顾客照片", false));
}

void DeskWindow::StopButtonClick() {
  work_.StopAll();
  ShowProgress();
  // Between two steps nothing more comes from the worker: what the stop leaves is told now.
  ApplyWork();
}

void DeskWindow::ShadeButtonClick() {
  ShadeChooser& chooser = OpenShadeChooser();
  const HWND dialog = chooser.Handle();
  ShowModal(
      dialog, hwnd_, [&] { return chooser.Done(); },
      [dialog](MSG& msg) { return IsDialogMessageW(dialog, &msg) != FALSE; });
  chooser_.reset();
}

ShadeChooser& DeskWindow::OpenShadeChooser() {
  chooser_.reset();
  chooser_ = std::make_unique<ShadeChooser>(
      folders_.library_path, folders_.photo_path,
      [this](const std::vector<VariantChoice>& variants) { MakeVariants(variants); });
  chooser_->Create(hwnd_, font_.Get());
  return *chooser_;
}

void DeskWindow::CutoutButtonClick() {
  const std::vector<std::string> photo = AskForFiles("选择人物照片", false);
  if (!photo.empty()) CutOutOf(photo[0]);
}

void DeskWindow::ActivateRow(int row) {
  if (row >= 0 && static_cast<size_t>(row) < Rows().size() && Rows()[row].offers_cutout)
    CutOutOf(Rows()[row].path);
}

void DeskWindow::CutOutOf(const std::string& photo) {
  CutoutWindow& window = OpenCutout(photo);
  ShowModal(
      window.Handle(), hwnd_, [&] { return window.Done(); },
      [&window](MSG& msg) { return window.PreTranslate(msg); });
}

CutoutWindow& DeskWindow::OpenCutout(const std::string& photo) {
  return OpenCutout(
      photo, std::make_unique<StylePurpose>(
                 folders_.photo_path,
                 [this](const std::string& file, std::shared_ptr<const cutout::Session> session,
                        const cutout::Sketch& sketch) {
                   ImportCutout(file, std::move(session), sketch);
                 }));
}

CutoutWindow& DeskWindow::OpenCutout(const std::string& photo,
                                     std::unique_ptr<CutoutPurpose> purpose) {
  cutout_.reset();
  cutout_ = std::make_unique<CutoutWindow>(source_, photo, kept_marks_, std::move(purpose));
  cutout_->Create(hwnd_, font_.Get());
  return *cutout_;
}

CutoutWindow* DeskWindow::OpenOwnHair() {
  auto start = std::make_shared<OwnHairStart>();
  PhotoFolder photos = PhotoPlace();
  const std::string reason = ReasonItFailed([&] { *start = StartOwnHair(photos); });
  if (!reason.empty()) {
    AddResult(OwnShadeRow(false, OwnShadeText(false, reason, "")));
    Refresh();
    return nullptr;
  }
  const std::string& test_bmp = folders_.photo_path;
  const std::string path =
      start->original.kept
          ? test_bmp.substr(0, test_bmp.size() - std::strlen(kPhotoFileName)) + kKeptPhotoName
          : test_bmp;
  // Marks kept in the folder serve when the desk has none of its own for this photo (it was
  // closed since); its own are newer, drawn since the last colour was used.
  const uint64_t fingerprint = PhotoFingerprint(RgbaOf(start->photo));
  if (start->marks && kept_marks_.fingerprint != fingerprint)
    kept_marks_ = {path, fingerprint, *start->marks};
  return &OpenCutout(path, std::make_unique<OwnHairPurpose>(
                               start, preview_.Image3(),
                               [this](std::shared_ptr<const OwnHairStart> s,
                                      std::shared_ptr<const cutout::Session> session,
                                      const cutout::Sketch& sketch, const Shade& shade) {
                                 UseOwnShade(std::move(s), std::move(session), sketch, shade);
                               },
                               [this] { RestoreKeptPhoto(); }));
}

void DeskWindow::OwnHairButtonClick() {
  CutoutWindow* window = OpenOwnHair();
  if (!window) return;
  ShowModal(
      window->Handle(), hwnd_, [&] { return window->Done(); },
      [window](MSG& msg) { return window->PreTranslate(msg); });
}

void DeskWindow::WorkWhenShown(ImportCommand command) {
  pending_ = std::move(command);
  if (!pending_.photos.empty() || !pending_.files.empty())
    PostMessageW(hwnd_, kWorkPendingMessage, 0, 0);
}

void DeskWindow::ShowRow(int row) {
  if (row < 0 || static_cast<size_t>(row) >= Rows().size()) return;
  const size_t i = static_cast<size_t>(row);
  following_ = row == followed_row_;
  // The newest row's preview comes composed by the worker, which had the files at hand.
  std::string caption;
  if (ready_preview_ && ready_row_ == row)
    caption = preview_.Show(std::move(*ready_preview_));
  else
    caption = preview_.Show(Rows()[i].preview);
  ready_preview_.reset();
  preview_.SetCaption(RowCaption(Rows(), i, caption));
}

int RunDeskWindow(PictureSource& source, DeskFolders folders, ImportCommand command, int show) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES |
                                            ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  DeskWindow window(source, std::move(folders), true);
  HWND hwnd = window.Create();
  if (!hwnd) return 1;
  CentreOnScreen(hwnd);
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  window.WorkWhenShown(std::move(command));
  RunMessageLoop([hwnd](MSG& msg) { return IsDialogMessageW(hwnd, &msg) != FALSE; });
  return 0;
}

}  // namespace coiffure
