// The hair colours a salon sells, and colours of the operator's own choosing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/picture.h"

namespace coiffure {

inline constexpr const char* kMsgNoSuchShade = "没有这个发色";

struct Shade {
  std::string name;  // what the operator reads, in Chinese
  Bgr mean;          // the mean colour a style of this shade has, in sRGB
};

// The shades the program offers, in the order it shows them.
const std::vector<Shade>& ShadePalette();
// The palette's shade of that name; nullptr when there is none.
const Shade* FindShade(std::string_view name);
// A colour of the operator's own choosing, named "自选" and its hexadecimal sRGB, e.g.
// "自选A5532E".
Shade CustomShade(Bgr mean);

// A shade of the palette by its name, or a colour of one's own as "#RRGGBB"; nothing for any
// other text.
std::optional<Shade> ParseShade(const std::string& text);

// The refusal for a text ParseShade does not know: what was asked and what there is.
std::string UnknownShadeMessage(const std::string& text);

// The text that asks for a shade: its name when the palette has it, else its colour as "#RRGGBB"
// (which ParseShade reads back as the same shade).
std::string ShadeArgument(const Shade& shade);

}  // namespace coiffure
