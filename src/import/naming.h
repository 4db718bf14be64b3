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
// trimmed, at most kMaxStyleStemBytes bytes (cut on a character boundary), a name the platform
// keeps for a device given a trailing "_", and "发型" when nothing is left.
std::string StyleStemFromPath(const std::string& path);
inline constexpr size_t kMaxStyleStemBytes = 80;

// The text cut to at most n bytes without splitting a UTF-8 character.
std::string CutUtf8(const std::string& s, size_t n);

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
