#include "app/application_win.h"

#include <commctrl.h>

#include <memory>

#include "app/splash_win.h"
#include "settings/form3_win.h"
#include "toolkit/modal_win.h"
#include "ui/about/form2_win.h"

namespace coiffure {

Application::Application(StartOptions options) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                            ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS |
                                            ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  TForm1::Options form1;
  if (options.show_splash) {
    form1.show_splash = [this](std::function<bool()> idle) {
      splash_ = std::make_unique<Tcsh>();
      splash_->ShowModal(std::move(idle));
    };
  }
  form1.app_folder = std::move(options.app_folder);
  form1_ = std::make_unique<TForm1>(std::move(form1));
  form2_ = std::make_unique<TForm2>(inst);
  form3_ = std::make_unique<TForm3>(inst, &form1_->Settings());
  form1_->SetAuxiliaryWindows(form2_.get(), form3_.get());
}

Application::~Application() {
  form1_.reset();  // destroying the main window runs FormDestroy
  form2_.reset();
  form3_.reset();
  splash_.reset();
}

int Application::Run() {
  form1_->Show();
  return RunMessageLoop([this](MSG& msg) {
    if (form1_->IsShortCut(msg) || form3_->PreTranslateMessage(&msg)) return true;
    // Dialog navigation only for windows other than the main one, whose arrow keys edit.
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    return root && root != form1_->Handle() && IsDialogMessageW(root, &msg);
  });
}

int RunApplication() {
  Application app;
  return app.Run();
}

}  // namespace coiffure
