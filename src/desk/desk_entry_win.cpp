// CoiffureImport.exe: picture files in, hairstyle pairs out in the ml_fx folder beside the exe,
// and with "/photo FILE" the customer photo ml_data\test.bmp. With "/quiet" it works without a
// window and its exit code is the number of files not imported (each photo counting as one);
// "/shade NAME" makes colour variants without a window, its exit code the number not made;
// "/matte MARKS PHOTO OUT" and "/cutout MARKS PHOTO" cut the hair out of a photo along the marks;
// "/own-shade SHADE MARKS" gives the customer's own hair in the photo a shade and
// "/own-shade-undo" puts her photo back; all of these always without a window. Folders and
// wildcards among the files (and photos) stand for the pictures they name.
#include <windows.h>

#include <shellapi.h>

#include "desk/command_run.h"
#include "desk/desk_window_win.h"
#include "desk/library_folder_win.h"
#include "desk/shade_command_win.h"
#include "import/customer_photo.h"
#include "pictures/wic_win.h"
#include "toolkit/text_win.h"

namespace {

coiffure::ImportCommand CommandOfThisProcess() {
  using namespace coiffure;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(Narrow(argv[i]));
  LocalFree(argv);
  ImportCommand command = ParseImportCommand(args);
  Win32PathLister paths;
  command.files = PictureFiles(command.files, paths);
  command.photos = PictureFiles(command.photos, paths);
  return command;
}

// Written beside its final name first, then moved over it in one step.
void WriteReplacing(const std::string& path, std::span<const uint8_t> bytes) {
  using namespace coiffure;
  const size_t slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  Win32LibraryFolder place(folder, kMsgCannotWriteFile);
  const std::string temporary = place.WriteTemporary("matte", bytes);
  if (place.MoveReplacing(temporary, path.substr(folder.size()))) return;
  place.Remove(temporary);
  throw ImportError(kMsgCannotWriteFile);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  using namespace coiffure;
  const ImportCommand command = CommandOfThisProcess();
  ScopedCom com;
  const std::string library = AppFolder() + "ml_fx\\", photos = AppFolder() + "ml_data\\";
  Win32LibraryFolder library_folder(library), photo_folder(photos, kMsgPhotoFolderNotWritable);
  const DeskFolders folders{library_folder, library, photo_folder, photos + kPhotoFileName};
  WicPictureSource source;
  if (AsksForOwnShade(command)) {
    PhotoFolder place{photo_folder,
                      [&](const std::string& name) { return ReadWholeFile(photos + name); }};
    return RunOwnShade(command, source, place, ReportLine);
  }
  if (!command.shades.empty()) return RunShadeCommand(command, source, library_folder);
  if (!command.cutouts.empty())
    return RunCutouts(command.cutouts, source, library_folder, WriteReplacing, ReportLine) +
           RunImports(command, source, library_folder, photo_folder, ReportLine);
  if (!command.quiet) return RunDeskWindow(source, folders, command, show);
  return RunImports(command, source, library_folder, photo_folder, ReportLine);
}
