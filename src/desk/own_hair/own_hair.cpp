#include "desk/own_hair/own_hair.h"

#include <cstring>

#include "colour/own_shade.h"
#include "colour/palette.h"
#include "cutout/cutout.h"
#include "cutout/marks_file.h"
#include "import/customer_photo.h"

namespace coiffure {

namespace {

std::optional<cutout::Sketch> KeptMarks(PhotoFolder& photos, const OwnHairStart& start) {
  if (!photos.folder.Exists(kMarksFileName)) return {};
  try {
    return cutout::DecodeSketch(photos.read(kMarksFileName), Fingerprint(start.original.bytes),
                                start.photo.Width(), start.photo.Height());
  } catch (...) {
    return {};  // marks that cannot be read are drawn again
  }
}

cutout::Marks MarksFromFile(PictureSource& source, const std::string& path, const Picture& photo) {
  RgbaImage picture;
  try {
    picture = source.Decode(path);
  } catch (const ImportError& e) {
    throw ImportError(std::string(kMsgMarksUnreadable) + "（" + e.what() + "）");
  }
  cutout::MarksReading reading = cutout::ReadMarks(picture, photo.Width(), photo.Height());
  if (!reading.marks) throw ImportError(reading.error);
  return std::move(*reading.marks);
}

}  // namespace

RgbaImage RgbaOf(const Picture& photo) {
  RgbaImage image = RgbaImage::Create(photo.Width(), photo.Height());
  for (int y = 0; y < photo.Height(); ++y) {
    const uint8_t* from = photo.Row(y);
    uint8_t* to = image.Pixel(0, y);
    for (int x = 0; x < photo.Width(); ++x, from += 3, to += 4)
      std::memcpy(to, from, 3), to[3] = 255;
  }
  return image;
}

OwnHairStart StartOwnHair(PhotoFolder& photos) {
  OwnHairStart start{ReadOriginalPhoto(photos), {}, {}};
  try {
    start.photo.LoadFromBytes(start.original.bytes);
  } catch (const PictureError&) {
    throw ImportError(start.original.kept ? kMsgKeptPhotoBroken : kMsgCustomerPhotoUnreadable);
  }
  start.photo.ConvertTo24();
  start.marks = KeptMarks(photos, start);
  return start;
}

void UseAsCustomerPhoto(PhotoFolder& photos, const OwnHairStart& start, const Picture& recoloured,
                        const cutout::Sketch& marks) {
  if (Fingerprint(ReadOriginalPhoto(photos).bytes) != Fingerprint(start.original.bytes))
    throw ImportError(kMsgPhotoChangedMeanwhile);
  LibraryFolder& folder = photos.folder;
  folder.Prepare();
  const std::string temp = folder.WriteTemporary(
      "marks", cutout::EncodeSketch(marks, Fingerprint(start.original.bytes), start.photo.Width(),
                                    start.photo.Height()));
  if (!folder.MoveReplacing(temp, kMarksFileName)) {
    folder.Remove(temp);
    throw ImportError(kMsgPhotoFolderNotWritable);
  }
  PutRecolouredPhoto(photos, start.original, recoloured.EncodeBmp24());
}

std::string OwnShadeText(bool done, const std::string& shade_or_reason, const std::string& note) {
  if (!done) return "未换发色：" + shade_or_reason;
  std::string text = "已换上发色 " + shade_or_reason + "，原照片保存在 ml_data\\" + kKeptPhotoName;
  return note.empty() ? text : text + "（" + note + "）";
}

OwnShadeOutcome ApplyOwnShade(PhotoFolder& photos, PictureSource& source, const std::string& shade,
                              const std::string& marks_path) {
  const std::optional<Shade> wanted = ParseShade(shade);
  if (!wanted) return {false, OwnShadeText(false, UnknownShadeMessage(shade), "")};
  OwnShadeOutcome outcome;
  std::string note;
  const std::string reason = ReasonItFailed([&] {
    const OwnHairStart start = StartOwnHair(photos);
    const cutout::Marks marks = MarksFromFile(source, marks_path, start.photo);
    const cutout::Matte matte = *cutout::Session(RgbaOf(start.photo)).Update(marks);
    Picture recoloured;
    const ShadeReach reach = OwnHair(start.photo, matte.alpha).Recolour(wanted->mean, recoloured);
    if (!reach.exact) note = UnreachedNote(reach);
    UseAsCustomerPhoto(photos, start, recoloured, cutout::SketchOf(marks));
  });
  outcome.done = reason.empty();
  outcome.text = OwnShadeText(outcome.done, outcome.done ? wanted->name : reason, note);
  return outcome;
}

OwnShadeOutcome UndoOwnShade(PhotoFolder& photos) {
  RestoreResult result;
  const std::string reason = ReasonItFailed([&] { result = RestoreOriginalPhoto(photos); });
  if (!reason.empty()) result.message = reason;
  return {result.restored, result.restored ? "已恢复原照片" : "未恢复原照片：" + result.message};
}

}  // namespace coiffure
