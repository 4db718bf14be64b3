#include "app/application_win.h"

#include <commctrl.h>

#include <memory>

#include "ui/main/form1_win.h"
#include "ui/toolkit/error_box_win.h"

namespace coiffure {

int RunMessageLoop(HWND main_window, bool (*shortcut)(void*, const MSG&), void* context) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (shortcut && shortcut(context, msg)) continue;
    // Dialog navigation only for windows other than the main one, whose arrow keys edit.
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && root != main_window && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

int RunApplication() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                            ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS |
                                            ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  auto form1 = std::make_unique<TForm1>(TForm1::Options{});
  form1->Show();
  const int code = RunMessageLoop(
      form1->Handle(),
      [](void* ctx, const MSG& m) { return static_cast<TForm1*>(ctx)->IsShortCut(m); },
      form1.get());
  form1.reset();  // destroying the main window runs FormDestroy
  return code;
}

}  // namespace coiffure
