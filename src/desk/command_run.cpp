#include "desk/command_run.h"

#include <algorithm>

#include "desk/cutout/cutout_files.h"
#include "desk/own_hair/own_hair.h"
#include "import/customer_photo.h"
#include "pictures/png_write.h"

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

namespace {

// One "/matte" or "/cutout"; true when done.
bool RunCutout(const CutoutCommand& cut, PictureSource& source, LibraryFolder& library,
               const WriteWholeFile& write, const Report& report) {
  const char* refused = cut.import ? "：未导入：" : "：未写出蒙版：";
  if (cut.files.size() < (cut.import ? 2u : 3u)) {
    report(std::string(cut.import ? kCutoutSwitch : kMatteSwitch) + "：" +
           (cut.import ? kMsgCutoutFilesMissing : kMsgMatteFilesMissing));
    return false;
  }
  const std::string &marks = cut.files[0], &photo = cut.files[1];
  CutoutReading read = ReadCutoutFiles(marks, photo, source);
  std::optional<cutout::Session> session;
  std::optional<cutout::Matte> matte;
  if (read.input) {
    read.file = photo;
    read.reason = ReasonItFailed([&] {
      session.emplace(std::move(read.input->photo));
      if (!cut.import) matte = session->Update(read.input->marks);
    });
  }
  if (cut.import && session) {
    const ImportResult result = ImportCutOut(photo, *session, read.input->marks, library);
    report(photo + "：" + ResultText(result));
    return result.imported;
  }
  if (!matte) {
    report(read.file + refused + read.reason);
    return false;
  }
  const std::string& out = cut.files[2];
  const std::string reason =
      ReasonItFailed([&] { write(out, EncodeGreyPng(matte->width, matte->height, matte->alpha)); });
  report(out + (reason.empty() ? "：已写出蒙版（" + std::to_string(matte->width) + " × " +
                                     std::to_string(matte->height) + "）"
                               : refused + reason));
  return reason.empty();
}

}  // namespace

int RunCutouts(const std::vector<CutoutCommand>& cutouts, PictureSource& source,
               LibraryFolder& library, const WriteWholeFile& write, const Report& report) {
  int not_done = 0;
  for (const CutoutCommand& cut : cutouts)
    not_done += !RunCutout(cut, source, library, write, report);
  return not_done;
}

int RunShades(const ImportCommand& command, PictureSource& source, const ShadeLibrary& library,
              const Report& report) {
  int not_done = 0;
  for (const std::string& photo : command.photos) {
    report((photo.empty() ? kPhotoSwitch : photo) + std::string("：") + kMsgPhotoWithShade);
    ++not_done;
  }
  for (const CutoutCommand& cut : command.cutouts) {
    report((cut.files.size() > 1 ? cut.files[1]
                                 : std::string(cut.import ? kCutoutSwitch : kMatteSwitch)) +
           "：" + kMsgCutoutWithShade);
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
