#include "colour/variants.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "gallery/scan.h"
#include "gallery/selection.h"

namespace coiffure {

namespace {

// A style as the gallery pairs it: its picture, its mask, and the mask file's own bytes.
struct Style {
  Picture colour, mask;
  std::vector<uint8_t> mask_file;
  std::string stem;
};

// Reads a library picture; a file that is not there and one that is not a picture say so
// differently.
Picture ReadPicture(const std::string& name, const ReadLibraryFile& read, const char* missing,
                    const char* broken, std::vector<uint8_t>* bytes = nullptr) {
  std::vector<uint8_t> file;
  try {
    file = read(name);
  } catch (const PictureError&) {
    throw ImportError(missing);
  }
  Picture p;
  try {
    p.LoadFromBytes(file);
  } catch (const PictureError&) {
    throw ImportError(broken);
  }
  if (p.Empty()) throw ImportError(broken);
  if (bytes) *bytes = std::move(file);
  return p;
}

bool HasHair(const Picture& mask) {
  std::vector<uint8_t> row(3 * static_cast<size_t>(mask.Width()));
  for (int y = 0; y < mask.Height(); ++y) {
    mask.ReadRowBgr(y, row.data());
    for (size_t i = 0; i < row.size(); i += 3)
      if ((row[i] & row[i + 1] & row[i + 2]) != 255) return true;
  }
  return false;
}

Style LoadStyle(const std::string& name, const ReadLibraryFile& read) {
  if (name.find("mask") != std::string::npos) throw ImportError(kMsgIsAMask);
  Style s;
  s.colour = ReadPicture(name, read, kMsgCannotOpenPicture, kMsgNotAPicture);
  s.mask = ReadPicture(MaskNameFor(name), read, kMsgNoMask, kMsgBrokenMask, &s.mask_file);
  if (s.mask.Width() != s.colour.Width() || s.mask.Height() != s.colour.Height())
    throw ImportError(kMsgSizesDiffer);
  if (!HasHair(s.mask)) throw ImportError(kMsgNoHair);
  s.stem = StyleStemFromPath(name);
  return s;
}

// The library's style, or the file imported first and its new style.
Style PrepareStyle(const std::string& file, const std::optional<std::string>& library_name,
                   PictureSource& source, LibraryFolder& folder, const ReadLibraryFile& read,
                   std::optional<ImportResult>& import) {
  if (library_name) return LoadStyle(*library_name, read);
  import = ImportPicture(file, source, folder);
  if (!import->imported) throw ImportError(import->message);
  return LoadStyle(import->picture, read);
}

ImportResult MakeVariant(const std::string& file, const Style& style, const Shade& shade,
                         LibraryFolder& folder) {
  ImportResult r;
  r.path = file;
  try {
    Picture recoloured;
    const ShadeReach reach = RecolourHair(style.colour, style.mask, shade.mean, recoloured);
    r.picture = WritePair(folder, ShadeStem(style.stem, shade.name), recoloured.EncodeBmp24(),
                          style.mask_file);
    r.imported = true;
    if (!reach.exact) r.note = UnreachedNote(reach);
  } catch (const ImportError& e) {
    r.message = e.what();
  } catch (const std::bad_alloc&) {
    r.message = kMsgOutOfMemory;
  }
  return r;
}

ImportResult Refusal(const std::string& file, std::string message) {
  ImportResult r;
  r.path = file;
  r.message = std::move(message);
  return r;
}

}  // namespace

std::optional<std::string> LibraryNameOf(const std::string& file, const std::string& full_path,
                                         const std::string& library_folder,
                                         const NameTaken& in_library) {
  const auto fold = [](const std::string& path) {
    std::string s = LowerAscii(path);
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
  };
  std::string name;
  if (file.find_first_of("\\/:") == std::string::npos && in_library(file)) {
    name = file;
  } else {
    const std::string path = fold(full_path);
    const size_t slash = path.rfind('\\');
    if (slash == std::string::npos || path.substr(0, slash + 1) != fold(library_folder))
      return std::nullopt;
    name = full_path.substr(slash + 1);
  }
  // Only what the gallery would list or pair is a style of the library.
  if (!MatchesBmpPattern(name) || name[0] == '.') return std::nullopt;
  return name;
}

ShadeOutcome MakeShadeVariants(const std::string& file,
                               const std::optional<std::string>& library_name,
                               const std::vector<std::string>& shades, PictureSource& source,
                               LibraryFolder& folder, const ReadLibraryFile& read) {
  std::vector<std::optional<Shade>> parsed;
  for (const std::string& text : shades) parsed.push_back(ParseShade(text));
  ShadeOutcome out;
  // A misspelt shade makes nothing at all, not even the import: asked again with the spelling
  // mended, no style is there twice.
  const bool misspelt =
      std::any_of(parsed.begin(), parsed.end(), [](const auto& s) { return !s.has_value(); });
  std::optional<Style> style;
  std::string why = kMsgOtherShadeUnknown;
  if (!misspelt && !shades.empty()) {
    try {
      style = PrepareStyle(file, library_name, source, folder, read, out.import);
    } catch (const ImportError& e) {
      why = e.what();
    } catch (const std::bad_alloc&) {
      why = kMsgOutOfMemory;
    }
  }
  for (size_t i = 0; i < shades.size(); ++i) {
    if (!parsed[i])
      out.variants.push_back(Refusal(file, UnknownShadeMessage(shades[i])));
    else if (!style)
      out.variants.push_back(Refusal(file, why));
    else
      out.variants.push_back(MakeVariant(file, *style, *parsed[i], folder));
  }
  return out;
}

ShadedPair ShadeLibraryStyle(const std::string& library_name, const Shade& shade,
                             const ReadLibraryFile& read) {
  Style style = LoadStyle(library_name, read);
  ShadedPair pair;
  pair.reach = RecolourHair(style.colour, style.mask, shade.mean, pair.colour);
  pair.mask = std::move(style.mask);
  return pair;
}

std::string VariantText(const ImportResult& variant) {
  if (!variant.imported) return "未生成：" + variant.message;
  return "已生成 " + variant.picture + (variant.note.empty() ? "" : "（" + variant.note + "）");
}

}  // namespace coiffure
