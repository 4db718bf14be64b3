#include "ui/about/help_win.h"

#include <shellapi.h>

#include "toolkit/text_win.h"

namespace coiffure {

std::string HelpFilePathAnsi() {
  return ToAnsi(AppFolder() + "\\ml_help\\help.chm");
}

void OpenHelpFile(HWND owner, ShellExecuteFn shell) {
  shell(owner, "open", HelpFilePathAnsi().c_str(), "", "", SW_SHOW);
}

}  // namespace coiffure
