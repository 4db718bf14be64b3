// Names of imported hairstyles, chosen so the library scan lists the picture and the selection
// finds its mask: the scan skips any name holding "mask" and any name starting with ".", and
// the selection takes the name up to its first "." as the mask's stem.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace coiffure {

// The stem a picture file gives its style (UTF-8 in, UTF-8 out): the file name without folder
// and last extension, every "." made "_", every "mask" made "Mask", blanks at either end
// trimmed, at most kMaxStyleStemChars characters of any script (never cut inside one), a name
// the platform keeps for a device given a trailing "_", and "发型" when nothing is left.
std::string StyleStemFromPath(const std::string& path);
// As many Chinese characters as Latin letters: two long names of either script differ as far
// in. The library's full paths stay well inside the platform's 260 even for characters that
// take two UTF-16 units.
inline constexpr size_t kMaxStyleStemChars = 64;

// The number of characters (code points) of UTF-8 text.
size_t CharacterCount(const std::string& s);
// The text cut to its first n characters.
std::string CutCharacters(const std::string& s, size_t n);

// The name with its ASCII letters in lower case, as the file system compares names (Chinese
// characters have no case).
std::string LowerAscii(std::string s);

// The picture and mask file names of a stem.
std::string StylePictureName(const std::string& stem);
std::string StyleMaskName(const std::string& stem);

// The first of stem, stem_2, stem_3, ... for which neither file exists yet; empty when even
// kMaxStyleSuffix is taken.
using NameTaken = std::function<bool(const std::string& file_name)>;
std::string FreeStyleStem(const std::string& stem, const NameTaken& taken);
inline constexpr int kMaxStyleSuffix = 9999;

// A temporary file's name: hidden from the library scan (it begins with "." and ends in ".tmp"),
// and unique to the process and the serial number that made it, so that imports running side by
// side never write each other's files.
std::string TemporaryName(uint32_t process, uint32_t serial, const std::string& role);

}  // namespace coiffure
