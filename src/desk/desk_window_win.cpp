#include "desk/desk_window_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include "desk/library_folder_win.h"
#include "import/customer_photo.h"
#include "resource.h"
#include "toolkit/modal_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr const wchar_t* kClassName = L"CoiffureImportWindow";
constexpr UINT kWorkPendingMessage = WM_APP + 1;
constexpr int kPad = 12, kButtonWidth = 140, kButtonHeight = 30, kHintLines = 3, kNoticeLines = 3;
constexpr int kMinListWidth = 380;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr const char* kShadeHint =
    "换发色：把发型库中的发型换成发廊常用的发色，先看预览再生成新发型。";

// The platform's message font: on a Chinese system a face that holds the Chinese glyphs.
Font MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    return Font(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  return Font(CreateFontIndirectW(&metrics.lfMessageFont));
}

// The window size that gives this client size.
SIZE WindowSizeFor(int client_width, int client_height) {
  RECT r{0, 0, client_width, client_height};
  AdjustWindowRectEx(&r, kStyle, FALSE, WS_EX_ACCEPTFILES);
  return {r.right - r.left, r.bottom - r.top};
}

constexpr int kMinClientWidth = 3 * kPad + kMinListWidth + kPaintBoxWidth;
constexpr int kMinClientHeight = 2 * kPad + kPaintBoxHeight + DeskPreview::kCaptionHeight;

HWND MakeButton(HWND parent, const char* text, int id) {
  return CreateWindowExW(0, L"BUTTON", Widen(text).c_str(),
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

DeskWindow::DeskWindow(PictureSource& source, DeskFolders folders, bool quit_on_close)
    : source_(source),
      folders_(std::move(folders)),
      quit_on_close_(quit_on_close),
      drop_([this](const std::vector<std::string>& files) {
        Win32PathLister paths;
        ReplacePhoto(PictureFiles(files, paths));
      }),
      preview_(folders_.photo_path) {}

HWND DeskWindow::Create() {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
  Register({kClassName, GetSysColorBrush(COLOR_BTNFACE), 0, icon});
  const SIZE size = WindowSizeFor(kMinClientWidth + 40, kMinClientHeight);
  CreateWin(WS_EX_ACCEPTFILES, kClassName, Widen("Coiffure 发型导入").c_str(), kStyle,
            CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr);
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
    case WM_GETMINMAXINFO: {
      const SIZE min = WindowSizeFor(kMinClientWidth, kMinClientHeight);
      reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {min.cx, min.cy};
      return 0;
    }
    case WM_DROPFILES: {
      Win32PathLister paths;  // a folder dropped stands for the pictures in it
      ImportFiles(PictureFiles(DroppedFiles(reinterpret_cast<HDROP>(wp)), paths));
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kAddButtonId) AddButtonClick();
      if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kPhotoButtonId) PhotoButtonClick();
      if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kShadeButtonId) ShadeButtonClick();
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case kWorkPendingMessage: {
      const ImportCommand work = std::exchange(pending_, {});
      ReplacePhoto(work.photos);
      ImportFiles(work.files);
      return 0;
    }
    case WM_DESTROY:
      if (quit_on_close_) PostQuitMessage(0);
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

void DeskWindow::FormCreate() {
  font_ = MessageFont();
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  const std::string hint =
      "发型图片（PNG、JPEG、GIF、TIFF 或 BMP）：拖到这个窗口里，或单击“添加发型图片...”。"
      "导入的发型保存在 ml_fx 中，重新启动 Coiffure 后即可选用。";
  hint_ = CreateWindowExW(0, L"STATIC", Widen(hint).c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0,
                          0, 0, 0, hwnd_, nullptr, inst, nullptr);
  add_button_ = MakeButton(hwnd_, "添加发型图片...", kAddButtonId);
  drop_.Create(hwnd_, font_.Get());
  photo_button_ = MakeButton(hwnd_, "选择顾客照片...", kPhotoButtonId);
  shade_notice_ =
      CreateWindowExW(0, L"STATIC", Widen(kShadeHint).c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                      0, 0, 0, 0, hwnd_, nullptr, inst, nullptr);
  shade_button_ = MakeButton(hwnd_, "换发色...", kShadeButtonId);
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                              LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                          0, 0, 0, 0, hwnd_, nullptr, inst, nullptr);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  // The text areas are as tall as their lines in the font the system gives, whatever it is.
  TEXTMETRICW metrics{};
  {
    const WindowDC dc(hwnd_);
    ScopedSelect select(dc.Get(), font_.Get());
    GetTextMetricsW(dc.Get(), &metrics);
  }
  line_height_ = metrics.tmHeight;
  hint_height_ = std::max<int>(kButtonHeight, kHintLines * line_height_ + 2);
  for (HWND child : {hint_, add_button_, photo_button_, shade_notice_, shade_button_, list_})
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  preview_.Create(hwnd_, 0, 0, font_.Get());
  const std::wstring file_column = Widen("图片文件"), result_column = Widen("结果");
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 140;
  column.pszText = const_cast<wchar_t*>(file_column.c_str());
  ListView_InsertColumn(list_, 0, &column);
  column.cx = 240;
  column.pszText = const_cast<wchar_t*>(result_column.c_str());
  ListView_InsertColumn(list_, 1, &column);
  DragAcceptFiles(hwnd_, TRUE);
}

void DeskWindow::FormResize(int width, int height) {
  const int left_width = std::max(kMinListWidth, width - 3 * kPad - kPaintBoxWidth);
  const int text_width = left_width - kPad - kButtonWidth, button_x = kPad + text_width + kPad;
  MoveWindow(hint_, kPad, kPad, text_width, hint_height_, TRUE);
  MoveWindow(add_button_, button_x, kPad, kButtonWidth, kButtonHeight, TRUE);
  const int drop_top = 2 * kPad + hint_height_;
  const int drop_height = PhotoDropZone::kTextLines * line_height_ + 14;
  MoveWindow(drop_.Handle(), kPad, drop_top, text_width, drop_height, TRUE);
  MoveWindow(photo_button_, button_x, drop_top + (drop_height - kButtonHeight) / 2, kButtonWidth,
             kButtonHeight, TRUE);
  const int notice_top = drop_top + drop_height + kPad;
  const int notice_height = std::max(kButtonHeight, kNoticeLines * line_height_ + 2);
  MoveWindow(shade_notice_, kPad, notice_top, text_width, notice_height, TRUE);
  MoveWindow(shade_button_, button_x, notice_top + (notice_height - kButtonHeight) / 2,
             kButtonWidth, kButtonHeight, TRUE);
  const int list_top = notice_top + notice_height + kPad;
  MoveWindow(list_, kPad, list_top, left_width, std::max(0, height - list_top - kPad), TRUE);
  MoveWindow(preview_.Handle(), 2 * kPad + left_width, kPad, kPaintBoxWidth,
             kPaintBoxHeight + DeskPreview::kCaptionHeight, TRUE);
  // The result column takes what the file column leaves.
  RECT inside;
  GetClientRect(list_, &inside);
  ListView_SetColumnWidth(list_, 1,
                          std::max(120L, inside.right - ListView_GetColumnWidth(list_, 0)));
}

LRESULT DeskWindow::OnNotify(NMHDR* header) {
  if (header->hwndFrom != list_) return 0;
  if (header->code == NM_CUSTOMDRAW)
    return ListViewCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
  if (header->code == LVN_ITEMCHANGED) {
    const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
        !(change->uOldState & LVIS_SELECTED))
      ShowRow(change->iItem);
  }
  return 0;
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
      [this](const std::vector<std::string>& styles, const std::vector<Shade>& shades) {
        MakeVariants(styles, shades);
      });
  chooser_->Create(hwnd_, font_.Get());
  return *chooser_;
}

void DeskWindow::MakeVariants(const std::vector<std::string>& styles,
                              const std::vector<Shade>& shades) {
  std::vector<std::string> asked;
  for (const Shade& s : shades) asked.push_back(ShadeArgument(s));
  const std::string& library = folders_.library_path;
  const auto read = [&](const std::string& name) { return ReadWholeFile(library + name); };
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  int made = 0, refused = 0;
  for (const std::string& style : styles) {
    const ShadeOutcome out =
        MakeShadeVariants(style, style, asked, source_, folders_.library, read);
    for (size_t i = 0; i < out.variants.size(); ++i) {
      AddRow(VariantRow(out.variants[i], shades[i].name, library));
      ++(out.variants[i].imported ? made : refused);
    }
    UpdateWindow(list_);  // each style's rows show as soon as they are done
  }
  SetCursor(previous);
  SetWindowTextW(shade_notice_, Widen(VariantsMadeNotice(made, refused)).c_str());
  SelectRow(static_cast<int>(rows_.size()) - 1);
}

void DeskWindow::ImportFiles(const std::vector<std::string>& files) {
  if (files.empty()) return;
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  for (const std::string& file : files) {
    AddRow(StyleRow(ImportPicture(file, source_, folders_.library), folders_.library_path));
    UpdateWindow(list_);  // each row shows as soon as its file is done
  }
  SetCursor(previous);
  SelectRow(static_cast<int>(rows_.size()) - 1);
}

void DeskWindow::ReplacePhoto(const std::vector<std::string>& files) {
  if (files.empty()) return;
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  const PhotoResult result = ReplaceCustomerPhoto(files[0], source_, folders_.photos);
  SetCursor(previous);
  AddRow(PhotoRow(result, folders_.photo_path));
  if (result.replaced) drop_.SetNotice(PhotoNextStep(FileNameOf(result.path)));
  const int photo_row = static_cast<int>(rows_.size()) - 1;
  for (size_t i = 1; i < files.size(); ++i)
    AddRow({FileNameOf(files[i]), "未使用：一次只能换一张顾客照片", false, {}});
  SelectRow(photo_row);
}

void DeskWindow::WorkWhenShown(ImportCommand command) {
  pending_ = std::move(command);
  if (!pending_.photos.empty() || !pending_.files.empty())
    PostMessageW(hwnd_, kWorkPendingMessage, 0, 0);
}

void DeskWindow::AddRow(DeskRow row) {
  rows_.push_back(std::move(row));
  const DeskRow& added = rows_.back();
  const std::wstring name = Widen(added.file), text = Widen(added.result);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = ListView_GetItemCount(list_);
  item.pszText = const_cast<wchar_t*>(name.c_str());
  item.lParam = static_cast<LPARAM>(rows_.size() - 1);
  const int index = ListView_InsertItem(list_, &item);
  ListView_SetItemText(list_, index, 1, const_cast<wchar_t*>(text.c_str()));
  ListView_EnsureVisible(list_, index, FALSE);
}

void DeskWindow::SelectRow(int row) {
  if (row < 0 || row >= ListView_GetItemCount(list_)) return;
  const bool already = ListView_GetItemState(list_, row, LVIS_SELECTED) & LVIS_SELECTED;
  ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list_, row, FALSE);
  if (already) ShowRow(row);  // no change to be told of, but the files may have changed
}

void DeskWindow::ShowRow(int row) {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
  const size_t i = static_cast<size_t>(row);
  preview_.SetCaption(RowCaption(rows_, i, preview_.Show(rows_[i].preview)));
}

LRESULT DeskWindow::ListViewCustomDraw(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      // A refused file's row is red, so it stands out among the imported ones.
      const size_t index = static_cast<size_t>(draw->nmcd.lItemlParam);
      if (index < rows_.size() && !rows_[index].ok) draw->clrText = RGB(192, 0, 0);
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

int RunDeskWindow(PictureSource& source, DeskFolders folders, ImportCommand command, int show) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
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
