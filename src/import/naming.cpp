#include "import/naming.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <vector>

#include "gallery/selection.h"
#include "import/recolour.h"

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

// Cuts UTF-8 text to at most n bytes without splitting a character.
std::string CutUtf8(const std::string& s, size_t n) {
  if (s.size() <= n) return s;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  return s.substr(0, n);
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// Colour words a style's name may end in. English ones count as whole words after a "_", "-"
// or blank; Chinese ones anywhere at the end, as Chinese runs words together.
constexpr std::array<std::string_view, 24> kEnglishColours = {
    "black", "brown", "darkbrown", "lightbrown", "chestnut", "auburn",   "blonde", "blond",
    "grey",  "gray",  "red",       "copper",     "ginger",   "white",    "silver", "golden",
    "ash",   "pink",  "blue",      "purple",     "brunette", "platinum", "honey",  "caramel"};
constexpr std::array<std::string_view, 17> kChineseColours = {
    "黑色", "黑",   "棕色", "棕",   "褐色", "咖啡色", "金色", "金",  "红色",
    "红",   "灰色", "灰",   "白色", "白",   "银色",   "银",   "粉色"};

bool IsSeparator(char c) {
  return c == '_' || c == '-' || c == ' ';
}

// The length of the colour word stem ends in, 0 when it ends in none. The shades' own names,
// and a custom colour's "自选" with six hexadecimal digits, count too, so that a variant of a
// variant replaces the shade again.
size_t ColourWordAtEnd(const std::string& stem, const std::vector<std::string>& shade_names) {
  const std::string lower = LowerAscii(stem);
  for (std::string_view w : kEnglishColours)
    if (lower.ends_with(w) &&
        (lower.size() == w.size() || IsSeparator(lower[lower.size() - w.size() - 1])))
      return w.size();
  size_t longest = 0;
  for (const std::string& w : shade_names)
    if (stem.ends_with(w)) longest = std::max(longest, w.size());
  for (std::string_view w : kChineseColours)
    if (stem.ends_with(w)) longest = std::max(longest, w.size());
  const size_t custom = stem.rfind("自选");
  if (custom != std::string::npos && stem.size() - custom == std::string_view("自选").size() + 6 &&
      std::all_of(stem.end() - 6, stem.end(),
                  [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }))
    longest = std::max(longest, stem.size() - custom);
  return longest;
}

// Without a trailing "_2", "_3", ... when a colour word stands before it.
std::string WithoutSuffixAfterColour(const std::string& stem,
                                     const std::vector<std::string>& shade_names) {
  const size_t underscore = stem.rfind('_');
  if (underscore == std::string::npos || underscore + 1 == stem.size() ||
      !std::all_of(stem.begin() + underscore + 1, stem.end(),
                   [](char c) { return c >= '0' && c <= '9'; }))
    return stem;
  const std::string before = stem.substr(0, underscore);
  return ColourWordAtEnd(before, shade_names) > 0 ? before : stem;
}

}  // namespace

std::string ShadeStem(const std::string& style_stem, const std::string& shade_name) {
  std::vector<std::string> shade_names{shade_name};
  for (const Shade& s : ShadePalette()) shade_names.push_back(s.name);
  std::string base = WithoutSuffixAfterColour(style_stem, shade_names);
  const size_t word = ColourWordAtEnd(base, shade_names);
  base.resize(base.size() - word);
  // The separator before the replaced word stays; a name without one gets "_".
  const bool separated = word > 0 && !base.empty() && IsSeparator(base.back());
  const char separator = separated ? base.back() : word > 0 || base.empty() ? '\0' : '_';
  if (separated) base.pop_back();
  const size_t taken = shade_name.size() + (separator ? 1 : 0);
  base = CutUtf8(base, kMaxStyleStemBytes > taken ? kMaxStyleStemBytes - taken : 0);
  if (separator) base += separator;
  return base + shade_name;
}

std::string StyleStemFromPath(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  // "." and "mask" are ASCII, so byte-wise replacing cannot touch a Chinese character.
  std::replace(name.begin(), name.end(), '.', '_');
  ReplaceAll(name, "mask", "Mask");
  name = Trim(CutUtf8(Trim(name), kMaxStyleStemBytes));
  if (name.empty()) return "发型";
  if (IsDeviceName(name)) name += '_';
  return name;
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
