#include "colour/variant_name.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <vector>

#include "colour/palette.h"
#include "import/naming.h"

namespace coiffure {

namespace {

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
  const size_t taken = CharacterCount(shade_name) + (separator ? 1 : 0);
  base = CutCharacters(base, kMaxStyleStemChars > taken ? kMaxStyleStemChars - taken : 0);
  if (separator) base += separator;
  return base + shade_name;
}

}  // namespace coiffure
