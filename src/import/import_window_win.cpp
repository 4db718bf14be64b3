#include "import/import_window_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include "resource.h"
#include "toolkit/modal_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr const wchar_t* kClassName = L"CoiffureImportWindow";
constexpr UINT kImportPendingMessage = WM_APP + 1;
constexpr int kPad = 12, kButtonWidth = 120, kButtonHeight = 30, kHintLines = 3;

// The platform's message font: on a Chinese system a face that holds the Chinese glyphs.
Font MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    return Font(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  return Font(CreateFontIndirectW(&metrics.lfMessageFont));
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ImportWindow::ImportWindow(PictureSource& source, LibraryFolder& folder, std::string folder_path,
                           bool quit_on_close)
    : source_(source),
      folder_(folder),
      folder_path_(std::move(folder_path)),
      quit_on_close_(quit_on_close) {}

HWND ImportWindow::Create() {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
  Register({kClassName, GetSysColorBrush(COLOR_BTNFACE), 0, icon});
  CreateWin(WS_EX_ACCEPTFILES, kClassName, Widen("Coiffure 发型导入").c_str(),
            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 700, 460, nullptr);
  return hwnd_;
}

LRESULT ImportWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_SIZE:
      FormResize(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {520, 320};
      return 0;
    case WM_DROPFILES:
      FormDropFiles(reinterpret_cast<HDROP>(wp));
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kAddButtonId && HIWORD(wp) == BN_CLICKED) AddButtonClick();
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->hwndFrom == list_ && header->code == NM_CUSTOMDRAW)
        return ListViewCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
      return Default(msg, wp, lp);
    }
    case kImportPendingMessage:
      ImportFiles(std::exchange(pending_, {}));
      return 0;
    case WM_DESTROY:
      if (quit_on_close_) PostQuitMessage(0);
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

void ImportWindow::FormCreate() {
  font_ = MessageFont();
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  const std::string hint =
      "把发型图片（PNG、JPEG、GIF、TIFF 或 BMP）拖到这个窗口里，或单击“添加图片...”。\n"
      "每张图片变成发型库中的一款发型，保存在 " +
      folder_path_ + "\n重新启动 Coiffure 后即可在发型库中选用。";
  hint_ = CreateWindowExW(0, L"STATIC", Widen(hint).c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0,
                          0, 0, 0, hwnd_, nullptr, inst, nullptr);
  button_ =
      CreateWindowExW(0, L"BUTTON", Widen("添加图片...").c_str(),
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, hwnd_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAddButtonId)), inst, nullptr);
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                              LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                          0, 0, 0, 0, hwnd_, nullptr, inst, nullptr);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  // The hint is as tall as its lines in the font the system gives, whatever that font is.
  TEXTMETRICW metrics{};
  {
    const WindowDC dc(hwnd_);
    ScopedSelect select(dc.Get(), font_.Get());
    GetTextMetricsW(dc.Get(), &metrics);
  }
  hint_height_ = std::max<int>(kButtonHeight, kHintLines * metrics.tmHeight + 2);
  for (HWND child : {hint_, button_, list_})
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  const std::wstring file_column = Widen("图片文件"), result_column = Widen("结果");
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 220;
  column.pszText = const_cast<wchar_t*>(file_column.c_str());
  ListView_InsertColumn(list_, 0, &column);
  column.cx = 420;
  column.pszText = const_cast<wchar_t*>(result_column.c_str());
  ListView_InsertColumn(list_, 1, &column);
  DragAcceptFiles(hwnd_, TRUE);
}

void ImportWindow::FormResize(int width, int height) {
  MoveWindow(hint_, kPad, kPad, width - 3 * kPad - kButtonWidth, hint_height_, TRUE);
  MoveWindow(button_, width - kPad - kButtonWidth, kPad, kButtonWidth, kButtonHeight, TRUE);
  const int top = 2 * kPad + hint_height_;
  MoveWindow(list_, kPad, top, width - 2 * kPad, std::max(0, height - top - kPad), TRUE);
  // The result column takes what the file column leaves.
  RECT inside;
  GetClientRect(list_, &inside);
  ListView_SetColumnWidth(list_, 1,
                          std::max(120L, inside.right - ListView_GetColumnWidth(list_, 0)));
}

void ImportWindow::FormDropFiles(HDROP drop) {
  std::vector<std::string> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
    files.push_back(Narrow(name));
  }
  DragFinish(drop);
  ImportFiles(files);
}

void ImportWindow::AddButtonClick() {
  const std::wstring filter = Widen(
      "图片文件 (*.png;*.jpg;*.jpeg;*.gif;*.tif;*.tiff;*.bmp)|"
      "*.png;*.jpg;*.jpeg;*.gif;*.tif;*.tiff;*.bmp|所有文件 (*.*)|*.*|");
  std::wstring filter_z = filter;
  for (wchar_t& c : filter_z)
    if (c == L'|') c = L'\0';
  std::wstring buffer(1 << 16, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = hwnd_;
  const std::wstring title = Widen("选择发型图片");
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrFilter = filter_z.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return;
  // The strings end at the first double NUL.
  const size_t end = buffer.find(std::wstring(2, L'\0'));
  ImportFiles(SplitDialogSelection(Narrow(std::wstring_view(buffer).substr(0, end))));
}

void ImportWindow::ImportFiles(const std::vector<std::string>& files) {
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  for (const std::string& file : files) {
    AddRow(ImportPicture(file, source_, folder_));
    UpdateWindow(list_);  // each row shows as soon as its file is done
  }
  SetCursor(previous);
}

void ImportWindow::ImportWhenShown(std::vector<std::string> files) {
  pending_ = std::move(files);
  if (!pending_.empty()) PostMessageW(hwnd_, kImportPendingMessage, 0, 0);
}

void ImportWindow::AddRow(const ImportResult& result) {
  results_.push_back(result);
  const std::wstring name = Widen(FileNameOf(result.path));
  const std::wstring text = Widen(ResultText(result));
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = ListView_GetItemCount(list_);
  item.pszText = const_cast<wchar_t*>(name.c_str());
  item.lParam = static_cast<LPARAM>(results_.size() - 1);
  const int row = ListView_InsertItem(list_, &item);
  ListView_SetItemText(list_, row, 1, const_cast<wchar_t*>(text.c_str()));
  ListView_EnsureVisible(list_, row, FALSE);
}

LRESULT ImportWindow::ListViewCustomDraw(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      // A refused file's row is red, so it stands out among the imported ones.
      const size_t index = static_cast<size_t>(draw->nmcd.lItemlParam);
      if (index < results_.size() && !results_[index].imported) draw->clrText = RGB(192, 0, 0);
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

int RunImportWindow(PictureSource& source, LibraryFolder& folder, const std::string& folder_path,
                    std::vector<std::string> files, int show) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  ImportWindow window(source, folder, folder_path, true);
  HWND hwnd = window.Create();
  if (!hwnd) return 1;
  CentreOnScreen(hwnd);
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  window.ImportWhenShown(std::move(files));
  RunMessageLoop([hwnd](MSG& msg) { return IsDialogMessageW(hwnd, &msg) != FALSE; });
  return 0;
}

}  // namespace coiffure
