// A photo and the operator's marks on it read from files, and what is made of them: the matte,
// or the photo cut out along it and imported as a style.
#pragma once

#include <optional>
#include <string>

#include "cutout/cutout.h"
#include "import/importer.h"

namespace coiffure {

// The photo upright and the marks as they lie on it.
struct CutoutInput {
  RgbaImage photo;
  cutout::Marks marks;
};

// Either the input, or the file at fault and why not, in Chinese.
struct CutoutReading {
  std::optional<CutoutInput> input;
  std::string file, reason;
};

// The photo through the source (upright), then the marks picture: at the photo's upright size
// as it is, at its stored size turned as the photo was (FitMarks), else refused.
CutoutReading ReadCutoutFiles(const std::string& marks_path, const std::string& photo_path,
                              PictureSource& source);

// The photo with the matte as its alpha (the sizes must match).
RgbaImage CutOut(RgbaImage photo, const cutout::Matte& matte);

// The session's photo cut out along the matte of the marks, through the import's conversion
// into a pair in the library, named after the photo's file as an import of it would be. Every
// failure is turned into a refusal.
ImportResult ImportCutOut(const std::string& photo_path, const cutout::Session& session,
                          const cutout::Marks& marks, LibraryFolder& folder);

}  // namespace coiffure
