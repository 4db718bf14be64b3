#include "import/naming.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "gallery/selection.h"

namespace coiffure {

namespace {

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices on Windows, with any extension.
bool IsDeviceName(const std::string& stem) {
  std::string upper = stem;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
  if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end()) return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

}  // namespace

std::string StyleStemFromPath(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  // "." and "mask" are ASCII, so byte-wise replacing cannot touch a Chinese character.
  std::replace(name.begin(), name.end(), '.', '_');
  ReplaceAll(name, "mask", "Mask");
  name = Trim(CutCharacters(Trim(name), kMaxStyleStemChars));
  if (name.empty()) return "发型";
  if (IsDeviceName(name)) name += '_';
  return name;
}

namespace {

bool StartsCharacter(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

}  // namespace

size_t CharacterCount(const std::string& s) {
  return static_cast<size_t>(std::count_if(s.begin(), s.end(), StartsCharacter));
}

std::string CutCharacters(const std::string& s, size_t n) {
  size_t seen = 0;
  for (size_t i = 0; i < s.size(); ++i)
    if (StartsCharacter(s[i]) && seen++ == n) return s.substr(0, i);
  return s;
}

std::string LowerAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return s;
}

std::string StylePictureName(const std::string& stem) {
  return stem + ".bmp";
}

std::string StyleMaskName(const std::string& stem) {
  // The selection's own rule, so the two can never disagree.
  return MaskNameFor(StylePictureName(stem));
}

std::string FreeStyleStem(const std::string& stem, const NameTaken& taken) {
  for (int n = 1; n <= kMaxStyleSuffix; ++n) {
    const std::string candidate = n == 1 ? stem : stem + "_" + std::to_string(n);
    if (!taken(StylePictureName(candidate)) && !taken(StyleMaskName(candidate))) return candidate;
  }
  return {};
}

std::string TemporaryName(uint32_t process, uint32_t serial, const std::string& role) {
  return ".coiffure-" + std::to_string(process) + "-" + std::to_string(serial) + "-" + role +
         ".tmp";
}

}  // namespace coiffure
