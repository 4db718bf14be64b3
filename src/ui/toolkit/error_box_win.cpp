#include "ui/toolkit/error_box_win.h"

#include "ui/toolkit/app_text.h"
#include "ui/toolkit/text_win.h"

namespace coiffure {

void ShowErrorBox(HWND owner, const std::string& message) {
  const std::wstring text = Widen(ErrorBoxText(message));
  const std::wstring caption = Widen(AppTitleFromExePath(ExePath()));
  MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

void ReportCurrentException(HWND owner) {
  try {
    throw;
  } catch (const std::exception& e) {
    ShowErrorBox(owner, e.what());
  } catch (...) {
    ShowErrorBox(owner, "Unknown error");
  }
}

}  // namespace coiffure
