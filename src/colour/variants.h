// Colour variants of hairstyles: from a style in the library (or any picture, imported first)
// to new pairs in chosen shades, named for style and shade, written as imports are.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "colour/palette.h"
#include "colour/recolour.h"
#include "colour/variant_name.h"
#include "import/importer.h"
#include "import/naming.h"

namespace coiffure {

inline constexpr const char* kMsgIsAMask = "这是发型的遮罩，不是发型图片";
inline constexpr const char* kMsgNoMask = "找不到这个发型的遮罩";
inline constexpr const char* kMsgBrokenMask = "这个发型的遮罩已损坏";
inline constexpr const char* kMsgSizesDiffer = "发型图片和遮罩的大小不一致";
inline constexpr const char* kMsgNoHair = "这个发型的遮罩中没有头发";
inline constexpr const char* kMsgOtherShadeUnknown = "有发色名称写错了，所以什么都没有生成";

// A file of the library folder, by its name there, as its bytes; throws PictureError when it
// cannot be read.
using ReadLibraryFile = std::function<std::vector<uint8_t>(const std::string& name)>;

// The name in the library of a file given on the command line: a bare name of a file the
// library holds, or a full path whose folder is the library folder (ending in a backslash;
// compared without regard to the case of ASCII letters, as the file system compares names).
std::optional<std::string> LibraryNameOf(const std::string& file, const std::string& full_path,
                                         const std::string& library_folder,
                                         const NameTaken& in_library);

struct ShadeOutcome {
  std::optional<ImportResult> import;  // the picture's own import, when it was not in the library
  std::vector<ImportResult> variants;  // one a shade asked for, in order; picture: the variant's
};

// Makes the variants of one file: the library's style library_name read with its mask by the
// gallery's pair rule, or else the file imported first and its new style used. The mask is
// written byte for byte as it was. A shade text ParseShade does not know refuses every variant
// and touches nothing (the file is not even imported); a style without its mask, a broken
// picture: a refusal for that variant, and nothing left in the library.
ShadeOutcome MakeShadeVariants(const std::string& file,
                               const std::optional<std::string>& library_name,
                               const std::vector<std::string>& shades, PictureSource& source,
                               LibraryFolder& folder, const ReadLibraryFile& read);

// A style of the library recoloured to a shade, as MakeShadeVariants writes it (its mask as read),
// without writing anything: what a variant will look like before it is made. Throws ImportError
// with the refusal MakeShadeVariants would give.
struct ShadedPair {
  Picture colour, mask;
  ShadeReach reach;  // the colour the hair was given
};
ShadedPair ShadeLibraryStyle(const std::string& library_name, const Shade& shade,
                             const ReadLibraryFile& read);

// "已生成 NAME", followed by its note in brackets when it has one, or "未生成：REASON".
std::string VariantText(const ImportResult& variant);

}  // namespace coiffure
