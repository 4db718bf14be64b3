#include "import/importer.h"

#include <algorithm>

#include "import/naming.h"

namespace coiffure {

namespace {

struct Encoded {
  std::vector<uint8_t> colour, mask;
  bool photo_of_person = false;
};

Encoded Convert(const std::string& path, PictureSource& source) {
  RgbaImage image = source.Decode(path);
  const bool person = LooksLikeAPhotoOfAPerson(image);
  std::optional<HairstylePair> pair = ConvertToHairstyle(std::move(image));
  if (!pair) throw ImportError(kMsgNothingLeft);
  return {pair->colour.EncodeBmp24(), pair->mask.EncodeBmp24(), person};
}

struct Temporaries {
  std::string colour, mask;
};

// Moves both temporary files to a free pair of names. A name taken between the look and the
// move (another program writing the library) makes it try the next free name.
std::string PlacePair(const std::string& stem, const Temporaries& temp, LibraryFolder& folder) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    const std::string free =
        FreeStyleStem(stem, [&](const std::string& name) { return folder.Exists(name); });
    if (free.empty()) throw ImportError(kMsgNoFreeName);
    const std::string mask = StyleMaskName(free), picture = StylePictureName(free);
    if (!folder.MoveNoReplace(temp.mask, mask)) {
      if (folder.Exists(mask)) continue;
      throw ImportError(kMsgFolderNotWritable);
    }
    if (folder.MoveNoReplace(temp.colour, picture)) return picture;
    // Give the mask back to its temporary name so the next attempt can move it again.
    const bool taken = folder.Exists(picture);
    if (!folder.MoveNoReplace(mask, temp.mask)) folder.Remove(mask);
    if (!taken) throw ImportError(kMsgFolderNotWritable);
  }
  throw ImportError(kMsgNoFreeName);
}

void RemoveTemporaries(const Temporaries& temp, LibraryFolder& folder) {
  for (const std::string& name : {temp.colour, temp.mask})
    if (!name.empty()) folder.Remove(name);
}

}  // namespace

std::string WritePair(LibraryFolder& folder, const std::string& stem,
                      std::span<const uint8_t> colour, std::span<const uint8_t> mask) {
  folder.Prepare();
  Temporaries temp;
  try {
    temp.colour = folder.WriteTemporary("colour", colour);
    temp.mask = folder.WriteTemporary("mask", mask);
    return PlacePair(stem, temp, folder);
  } catch (...) {
    RemoveTemporaries(temp, folder);
    throw;
  }
}

ImportResult ImportPicture(const std::string& path, PictureSource& source, LibraryFolder& folder) {
  ImportResult result;
  result.path = path;
  result.message = ReasonItFailed([&] {
    const Encoded files = Convert(path, source);
    result.picture = WritePair(folder, StyleStemFromPath(path), files.colour, files.mask);
    if (files.photo_of_person) result.note = kNoteLooksLikePhoto;
  });
  result.imported = result.message.empty();
  return result;
}

std::string ResultText(const ImportResult& result) {
  return result.imported ? "已导入为 " + result.picture : "未导入：" + result.message;
}

int CountNotImported(const std::vector<ImportResult>& results) {
  return static_cast<int>(std::count_if(results.begin(), results.end(),
                                        [](const ImportResult& r) { return !r.imported; }));
}

}  // namespace coiffure
