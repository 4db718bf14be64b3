#include "toolkit/error_box_win.h"

#include "toolkit/app_text.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {
MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}
}  // namespace

void SetMessageBoxHookForTests(MessageBoxHook hook) {
  Hook() = std::move(hook);
}

int AppMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
  if (Hook()) return Hook()(owner, text, caption, flags);
  return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void ShowErrorBox(HWND owner, const std::string& message) {
  const std::wstring text = Widen(ErrorBoxText(message));
  const std::wstring caption = Widen(AppTitleFromExePath(ExePath()));
  AppMessageBox(owner, text, caption, MB_OK | MB_ICONSTOP);
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
