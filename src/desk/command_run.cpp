#include "desk/command_run.h"

#include <algorithm>

#include "desk/own_hair/own_hair.h"
#include "import/customer_photo.h"

namespace coiffure {

int RunPhotos(const std::vector<std::string>& photos, PictureSource& source,
              LibraryFolder& photo_folder, const Report& report) {
  int not_done = 0;
  bool tried = false;
  for (const std::string& photo : photos) {
    ++not_done;
    if (photo.empty()) {
      report(std::string(kPhotoSwitch) + "：" + kMsgNoPhotoFile);
    } else if (tried) {
      report(photo + "：" + kMsgExtraPhoto);
    } else {
      tried = true;
      const PhotoResult result = ReplaceCustomerPhoto(photo, source, photo_folder);
      report(result.path + "：" + PhotoResultText(result));
      not_done -= result.replaced;
    }
  }
  return not_done;
}

int RunImports(const ImportCommand& command, PictureSource& source, LibraryFolder& library,
               LibraryFolder& photo_folder, const Report& report) {
  int not_done = RunPhotos(command.photos, source, photo_folder, report);
  for (const std::string& file : command.files) {
    const ImportResult result = ImportPicture(file, source, library);
    report(file + "：" + ResultText(result));
    not_done += !result.imported;
  }
  return not_done;
}

int RunShades(const ImportCommand& command, PictureSource& source, const ShadeLibrary& library,
              const Report& report) {
  int not_done = 0;
  for (const std::string& photo : command.photos) {
    report((photo.empty() ? kPhotoSwitch : photo) + std::string("：") + kMsgPhotoWithShade);
    ++not_done;
  }
  const bool unnamed = std::any_of(command.shades.begin(), command.shades.end(),
                                   [](const std::string& s) { return s.empty(); });
  if (unnamed) report(std::string(kShadeSwitch) + "：" + kMsgNoShadeName);
  if (command.files.empty()) report(std::string(kShadeSwitch) + "：" + kMsgNoStyleFile);
  if (unnamed || command.files.empty()) return not_done + unnamed + command.files.empty();
  const auto in_library = [&](const std::string& name) { return library.folder.Exists(name); };
  for (const std::string& file : command.files) {
    const std::optional<std::string> name =
        LibraryNameOf(file, library.full_path(file), library.path, in_library);
    const ShadeOutcome out =
        MakeShadeVariants(file, name, command.shades, source, library.folder, library.read);
    if (out.import) report(file + "：" + ResultText(*out.import));
    for (size_t i = 0; i < out.variants.size(); ++i)
      report(file + " " + command.shades[i] + "：" + VariantText(out.variants[i]));
    not_done += CountNotImported(out.variants);
  }
  return not_done;
}

bool AsksForOwnShade(const ImportCommand& command) {
  return !command.own_shades.empty() || command.own_shade_undos > 0;
}

namespace {

// The one thing a use of the customer's own colour does; returns whether it was done.
bool RunFirstOwnShade(const ImportCommand& command, PictureSource& source, PhotoFolder& photos,
                      const Report& report) {
  if (command.own_shades.empty()) {
    const OwnShadeOutcome out = UndoOwnShade(photos);
    report(std::string(kPhotoInFolder) + "：" + out.text);
    return out.done;
  }
  const OwnShadeAsked& asked = command.own_shades[0];
  if (asked.shade.empty()) {
    report(std::string(kOwnShadeSwitch) + "：" + kMsgNoShadeName);
  } else if (asked.marks.empty()) {
    report(std::string(kOwnShadeSwitch) + " " + asked.shade + "：" + kMsgNoMarksFile);
  } else {
    const OwnShadeOutcome out = ApplyOwnShade(photos, source, asked.shade, asked.marks);
    report(std::string(kPhotoInFolder) + " " + asked.shade + "：" + out.text);
    return out.done;
  }
  return false;
}

}  // namespace

int RunOwnShade(const ImportCommand& command, PictureSource& source, PhotoFolder& photos,
                const Report& report) {
  int not_done = !RunFirstOwnShade(command, source, photos, report);
  const auto unused = [&](const std::string& what, const char* why) {
    report(what + "：" + why);
    ++not_done;
  };
  for (size_t i = 1; i < command.own_shades.size(); ++i)
    unused(std::string(kOwnShadeSwitch) + " " + command.own_shades[i].shade, kMsgExtraOwnShade);
  for (int i = command.own_shades.empty() ? 1 : 0; i < command.own_shade_undos; ++i)
    unused(kOwnShadeUndoSwitch, kMsgExtraOwnShade);
  for (const std::string& photo : command.photos)
    unused(photo.empty() ? kPhotoSwitch : photo, kMsgOtherWorkWithOwnShade);
  for (const std::string& shade : command.shades)
    unused(std::string(kShadeSwitch) + " " + shade, kMsgOtherWorkWithOwnShade);
  for (const std::string& file : command.files) unused(file, kMsgOtherWorkWithOwnShade);
  return not_done;
}

}  // namespace coiffure
