// CoiffureImport.exe: picture files in, hairstyle pairs out in the ml_fx folder beside the exe.
// With "/quiet" it works without a window and its exit code is the number of files not imported;
// "/shade NAME" makes colour variants without a window, its exit code the number not made.
#include <windows.h>

#include <shellapi.h>

#include "import/import_window_win.h"
#include "import/library_folder_win.h"
#include "import/shade_command_win.h"
#include "import/wic_win.h"
#include "toolkit/text_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  using namespace coiffure;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(Narrow(argv[i]));
  LocalFree(argv);
  const ImportCommand command = ParseImportCommand(args);

  ScopedCom com;
  const std::string library = AppFolder() + "ml_fx\\";
  Win32LibraryFolder folder(library);
  WicPictureSource source;
  if (!command.shades.empty()) return RunShadeCommand(command, source, folder);
  if (!command.quiet) return RunImportWindow(source, folder, library, command.files, show);
  std::vector<ImportResult> results;
  for (const std::string& file : command.files) {
    results.push_back(ImportPicture(file, source, folder));
    ReportLine(file + "：" + ResultText(results.back()));
  }
  return CountNotImported(results);
}
