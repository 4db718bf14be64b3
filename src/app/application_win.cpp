#include "app/application_win.h"

#include <commctrl.h>

#include <memory>

#include "settings/form3_win.h"
#include "toolkit/error_box_win.h"
#include "ui/about/form2_win.h"
#include "ui/main/form1_win.h"

namespace coiffure {

int RunMessageLoop(HWND main_window, bool (*shortcut)(void*, MSG&), void* context) {
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

  const HINSTANCE inst = GetModuleHandleW(nullptr);
  auto form1 = std::make_unique<TForm1>(TForm1::Options{});
  auto form2 = std::make_unique<TForm2>(inst);
  auto form3 = std::make_unique<TForm3>(inst, &form1->Settings());
  form1->SetAuxiliaryWindows(form2.get(), form3.get());
  form1->Show();
  struct Windows {
    TForm1* form1;
    TForm3* form3;
  } windows{form1.get(), form3.get()};
  const int code = RunMessageLoop(
      form1->Handle(),
      [](void* ctx, MSG& m) {
        auto* w = static_cast<Windows*>(ctx);
        return w->form1->IsShortCut(m) || w->form3->PreTranslateMessage(&m);
      },
      &windows);
  form1.reset();  // destroying the main window runs FormDestroy
  form2.reset();
  form3.reset();
  return code;
}

}  // namespace coiffure
