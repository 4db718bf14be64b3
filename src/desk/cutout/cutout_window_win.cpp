#include "desk/cutout/cutout_window_win.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr const wchar_t* kClassName = L"CoiffureCutoutWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                         WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kPad = 10, kGap = 6, kPanelWidth = 240, kButtonHeight = 28, kLookHeight = 24;
constexpr int kMinCanvasWidth = 420, kMinCanvasHeight = 360;
// Fits a 1024 x 768 screen with its taskbar.
constexpr SIZE kStartSize{1000, 720};
constexpr const char* kHint =
    "左键：先拖出框住头发的框，再涂头发　右键：涂不是头发的地方　[ ] 或滚轮：画笔大小　"
    "Ctrl+Z：撤销　Ctrl+Y：重做";

SIZE WindowSizeFor(SIZE client) {
  RECT r{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&r, kStyle, FALSE, 0);
  return {r.right - r.left, r.bottom - r.top};
}

HWND MakeChild(HWND parent, const wchar_t* cls, const std::string& text, DWORD style, int id = 0) {
  return CreateWindowExW(0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

HWND MakeButton(HWND parent, const std::string& text, int id, DWORD style = 0) {
  return MakeChild(parent, L"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON | style, id);
}

}  // namespace

CutoutWindow::CutoutWindow(PictureSource& source, std::string photo_path, KeptMarks& kept,
                           std::unique_ptr<CutoutPurpose> purpose)
    : source_(source),
      photo_path_(std::move(photo_path)),
      kept_(kept),
      purpose_(std::move(purpose)),
      look_kinds_(purpose_->Looks()) {}

CutoutWindow::~CutoutWindow() {
  if (cancel_) cancel_->store(true);
  worker_.reset();  // the step under way ends before anything it uses goes
}

HWND CutoutWindow::Create(HWND owner, HFONT font) {
  font_ = font;
  Register({kClassName, GetSysColorBrush(COLOR_BTNFACE)});
  CreateWin(0, kClassName, Widen(purpose_->Title()).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
            0, 0, owner);
  if (!hwnd_) return nullptr;
  RECT work{0, 0, 1024, 768};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const SIZE min = WindowSizeFor({3 * kPad + kMinCanvasWidth + kPanelWidth,
                                  std::max(PanelHeight(), 2 * kPad + kMinCanvasHeight)});
  const LONG w = std::max(min.cx, std::min<LONG>(kStartSize.cx, work.right - work.left));
  const LONG h = std::max(min.cy, std::min<LONG>(kStartSize.cy, work.bottom - work.top));
  SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  worker_ = std::make_unique<BackgroundWorker>(work_, hwnd_, kWorkMessage);
  LoadPhoto();
  return hwnd_;
}

LRESULT CutoutWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_SIZE:
      FormResize(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_GETMINMAXINFO:
      SetMinTrackSize(lp, WindowSizeFor({3 * kPad + kMinCanvasWidth + kPanelWidth,
                                         std::max(PanelHeight(), 2 * kPad + kMinCanvasHeight)}));
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) OnCommand(LOWORD(wp));
      return 0;
    case WM_DRAWITEM:
      if (purpose_->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
      return Default(msg, wp, lp);
    case kWorkMessage:
      ApplyWork();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE)
        last_focus_ = GetFocus();
      else
        SetFocus(hwnd_);
      return 0;
    case WM_SETFOCUS:
      SetFocus(last_focus_ && IsChild(hwnd_, last_focus_) ? last_focus_ : looks_.front());
      return 0;
    case WM_NEXTDLGCTL:
      MoveFocusAsDialogAsks(hwnd_, wp, lp);
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

void CutoutWindow::FormCreate() {
  line_height_ = LineHeight(hwnd_, font_);
  // Created in the order Tab goes through them.
  hint_ = MakeChild(hwnd_, L"STATIC", kHint, SS_NOPREFIX);
  canvas_.Create(hwnd_, *this, font_);
  CreatePanel();
  status_ = MakeChild(hwnd_, L"STATIC", "", SS_NOPREFIX);
  for (HWND child : {hint_, status_}) SendMessageW(child, WM_SETFONT, WPARAM(font_), FALSE);
  ShowState();
}

void CutoutWindow::CreatePanel() {
  looks_label_ = MakeChild(hwnd_, L"STATIC", "查看：", 0);
  std::vector<std::string> labels{"标记(&M)"};
  for (const CutoutPurpose::Look& look : look_kinds_) labels.push_back(look.label);
  for (size_t i = 0; i < labels.size(); ++i)
    looks_.push_back(MakeChild(hwnd_, L"BUTTON", labels[i],
                               BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0),
                               kFirstLookId + static_cast<int>(i)));
  Button_SetCheck(looks_[0], BST_CHECKED);
  new_box_ = MakeButton(hwnd_, "重新框选(&B)", kNewBoxId, WS_GROUP);
  undo_ = MakeButton(hwnd_, "撤销(&Z)", kUndoId);
  redo_ = MakeButton(hwnd_, "重做(&Y)", kRedoId);
  brush_label_ = MakeChild(hwnd_, L"STATIC", "", SS_NOPREFIX);
  smaller_ = MakeButton(hwnd_, "画笔变小 [", kSmallerId);
  larger_ = MakeButton(hwnd_, "画笔变大 ]", kLargerId);
  std::vector<HWND> all{looks_label_, new_box_, undo_, redo_, brush_label_, smaller_, larger_};
  all.insert(all.end(), looks_.begin(), looks_.end());
  purpose_->Create(hwnd_, font_);
  close_ = MakeButton(hwnd_, "关闭", IDCANCEL, WS_GROUP);
  all.push_back(close_);
  for (HWND child : all) SendMessageW(child, WM_SETFONT, WPARAM(font_), FALSE);
}

// The panel's column: the looks, the marks' buttons, the brush, the purpose's part, 关闭.
int CutoutWindow::PanelHeight() const {
  const int looks = line_height_ + kGap + static_cast<int>(1 + look_kinds_.size()) * kLookHeight;
  const int marks = 2 * (kButtonHeight + kGap) + line_height_ + kGap + kButtonHeight;
  return 2 * kPad + looks + 2 * kGap + marks + 3 * kGap + purpose_->HeightFor(kPanelWidth) + kGap +
         kButtonHeight;
}

void CutoutWindow::FormResize(int width, int height) {
  const int canvas_w = std::max(1, width - 3 * kPad - kPanelWidth);
  const int hint_h = WrappedTextHeight(hint_, canvas_w);
  const int status_h = 2 * line_height_;
  const int canvas_top = kPad + hint_h + kGap;
  const int canvas_h = std::max(1, height - canvas_top - kGap - status_h - kPad);
  MoveWindow(hint_, kPad, kPad, canvas_w, hint_h, TRUE);
  MoveWindow(canvas_.Handle(), kPad, canvas_top, canvas_w, canvas_h, TRUE);
  MoveWindow(status_, kPad, canvas_top + canvas_h + kGap, canvas_w, status_h, TRUE);
  const int x = 2 * kPad + canvas_w, w = kPanelWidth, half = (w - kGap) / 2;
  int y = kPad;
  MoveWindow(looks_label_, x, y, w, line_height_, TRUE);
  y += line_height_ + kGap;
  for (HWND look : looks_) {
    MoveWindow(look, x, y, w, kLookHeight, TRUE);
    y += kLookHeight;
  }
  y += 2 * kGap;
  MoveWindow(new_box_, x, y, w, kButtonHeight, TRUE);
  y += kButtonHeight + kGap;
  MoveWindow(undo_, x, y, half, kButtonHeight, TRUE);
  MoveWindow(redo_, x + w - half, y, half, kButtonHeight, TRUE);
  y += kButtonHeight + kGap;
  MoveWindow(brush_label_, x, y, w, line_height_, TRUE);
  y += line_height_ + kGap;
  MoveWindow(smaller_, x, y, half, kButtonHeight, TRUE);
  MoveWindow(larger_, x + w - half, y, half, kButtonHeight, TRUE);
  y += kButtonHeight + 3 * kGap;
  purpose_->Layout(x, y, w);
  MoveWindow(close_, x, height - kPad - kButtonHeight, w, kButtonHeight, TRUE);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CutoutWindow::OnCommand(int id) {
  if (id == IDCANCEL) return Close();
  if (id >= kFirstLookId && id < kFirstLookId + static_cast<int>(looks_.size()))
    return ChooseLook(static_cast<size_t>(id - kFirstLookId));
  if (id == kSmallerId || id == kLargerId) return ResizeBrush(id == kLargerId ? 1 : -1);
  if (purpose_->Command(id, *this) || !editor_) return;
  if (id == kNewBoxId) {
    editor_->StartNewBox();
    Compose();
    ShowState();
  }
  if ((id == kUndoId && editor_->Undo()) || (id == kRedoId && editor_->Redo())) MarksChanged();
}

void CutoutWindow::ChooseLook(size_t look) {
  if (look >= looks_.size()) return;
  look_ = look;
  for (size_t i = 0; i < looks_.size(); ++i)
    Button_SetCheck(looks_[i], i == look ? BST_CHECKED : BST_UNCHECKED);
  if (look > 0 && look_kinds_[look - 1].composed && !composed_) Recompose();
  if (editor_ && !ShowsPhoto()) {
    editor_->CancelDrag();
    editor_->Leave();
  }
  canvas_.SetCircle(editor_ ? editor_->BrushCircle() : std::nullopt);
  Compose();
  ShowState();
}

bool CutoutWindow::PreTranslate(MSG& msg) {
  if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  if (msg.message == WM_KEYDOWN) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const WPARAM key = msg.wParam;
    if (key == VK_OEM_4 || key == VK_OEM_6) {
      ResizeBrush(key == VK_OEM_6 ? 1 : -1);
      return true;
    }
    if (ctrl && (key == 'Z' || key == 'Y')) {
      OnCommand(key == 'Z' ? kUndoId : kRedoId);
      return true;
    }
  }
  if (msg.message == WM_MOUSEWHEEL) {
    ResizeBrush(GET_WHEEL_DELTA_WPARAM(msg.wParam) > 0 ? 1 : -1);
    return true;
  }
  return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

void CutoutWindow::ResizeBrush(int steps) {
  if (!editor_) return;
  editor_->ResizeBrush(steps);
  canvas_.SetCircle(editor_->BrushCircle());
  ShowState();
}

void CutoutWindow::Close() {
  if (editor_ && prepared_)
    kept_ = {photo_path_, prepared_->fingerprint, editor_->History().Sketch()};
  if (cancel_) cancel_->store(true);
  work_.StopAll();
  done_ = true;
  ShowWindow(hwnd_, SW_HIDE);
}

void CutoutWindow::Finish() {
  Close();
}

std::shared_ptr<const cutout::Session> CutoutWindow::Session() const {
  return prepared_ ? prepared_->session : nullptr;
}

const cutout::Sketch& CutoutWindow::Sketch() const {
  static const cutout::Sketch kNone;
  return editor_ ? editor_->History().Sketch() : kNone;
}

// The composed look is no view of the photo: the pointer paints only where the photo is shown.
bool CutoutWindow::ShowsPhoto() const {
  return editor_ && (look_ == 0 || !look_kinds_[look_ - 1].composed);
}

void CutoutWindow::Pressed(CutoutEditor::Button button, int x, int y) {
  if (!ShowsPhoto()) return;
  editor_->Press(button, x, y);
  if (editor_->StrokeUnderWay()) ShowMarksOnView();
  Compose();
  canvas_.SetCircle(editor_->BrushCircle());
}

void CutoutWindow::Moved(int x, int y) {
  if (!ShowsPhoto()) return;
  editor_->Move(x, y);
  canvas_.SetCircle(editor_->BrushCircle());
  if (!editor_->Dragging()) return;
  if (const cutout::Stroke* s = editor_->StrokeUnderWay(); s && s->points.size() >= 2) {
    // Only the newest piece of the stroke is painted on the shown marks.
    const float k = editor_->Map().Scale();
    const cutout::Point a = s->points[s->points.size() - 2], b = s->points.back();
    const cutout::Point piece[] = {{a.x * k, a.y * k}, {b.x * k, b.y * k}};
    cutout::PaintStroke(view_marks_, piece, s->radius * k, s->kind);
  }
  Compose();
}

void CutoutWindow::Released(int x, int y) {
  if (!editor_) return;
  if (editor_->Release(x, y)) return MarksChanged();
  ShowMarksOnView();
  Compose();
  ShowState();
}

void CutoutWindow::Left() {
  if (!editor_) return;
  editor_->Leave();
  canvas_.SetCircle(std::nullopt);
}

void CutoutWindow::CaptureLost() {
  if (!editor_) return;
  editor_->CancelDrag();
  ShowMarksOnView();
  Compose();
}

void CutoutWindow::Resized(int width, int height) {
  canvas_width_ = width, canvas_height_ = height;
  FitView();
  Compose();
}

}  // namespace coiffure
