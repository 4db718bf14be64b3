#include "desk/cutout/cutout_files.h"

#include <stdexcept>

#include "import/naming.h"
#include "pictures/upright.h"

namespace coiffure {

CutoutReading ReadCutoutFiles(const std::string& marks_path, const std::string& photo_path,
                              PictureSource& source) {
  CutoutReading out;
  TurnedPicture photo, marks;
  out.reason = ReasonItFailed([&] { photo = source.DecodeTurned(photo_path); });
  if (!out.reason.empty()) {
    out.file = photo_path;
    return out;
  }
  out.file = marks_path;
  out.reason = ReasonItFailed([&] { marks = source.DecodeTurned(marks_path); });
  if (!out.reason.empty()) return out;
  const int w = photo.image.width, h = photo.image.height;
  const bool swapped = photo.orientation >= 5;
  const cutout::MarksFit fit = cutout::FitMarks(marks.image.width, marks.image.height,
                                                swapped ? h : w, swapped ? w : h, w, h);
  if (fit == cutout::MarksFit::kStored)
    marks.image = Upright(std::move(marks.image), photo.orientation);
  cutout::MarksReading read = cutout::ReadMarks(marks.image, w, h);
  if (!read.marks) {
    out.reason = read.error;
    return out;
  }
  out.input = CutoutInput{std::move(photo.image), std::move(*read.marks)};
  out.file.clear();
  out.reason.clear();
  return out;
}

RgbaImage CutOut(RgbaImage photo, const cutout::Matte& matte) {
  if (matte.width != photo.width || matte.height != photo.height ||
      matte.alpha.size() * 4 != photo.bgra.size())
    throw std::invalid_argument("matte of another size than the photo");
  for (size_t i = 0; i < matte.alpha.size(); ++i) photo.bgra[4 * i + 3] = matte.alpha[i];
  return photo;
}

ImportResult ImportCutOut(const std::string& photo_path, const cutout::Session& session,
                          const cutout::Marks& marks, LibraryFolder& folder) {
  ImportResult result;
  result.path = photo_path;
  result.message = ReasonItFailed([&] {
    const std::optional<cutout::Matte> matte = session.Update(marks);
    if (!matte) throw ImportError(kMsgNothingLeft);
    const std::optional<HairstylePair> pair = ConvertToHairstyle(CutOut(session.Photo(), *matte));
    if (!pair) throw ImportError(kMsgNothingLeft);
    result.picture = WritePair(folder, StyleStemFromPath(photo_path), pair->colour.EncodeBmp24(),
                               pair->mask.EncodeBmp24());
  });
  result.imported = result.message.empty();
  return result;
}

}  // namespace coiffure
