// The name a colour variant is written under, so that the operator reads style and shade.
#pragma once

#include <string>

namespace coiffure {

// The stem of a style's colour variant, so that the operator reads style and shade: the
// style's stem with the shade's name in place of a colour word it ends in ("afro_black" and
// "浅金" give "afro_浅金", and a "_2" after the word goes with it), else with "_" and the
// shade's name appended. The style's part is cut to keep within kMaxStyleStemChars.
std::string ShadeStem(const std::string& style_stem, const std::string& shade_name);

}  // namespace coiffure
