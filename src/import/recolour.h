// Hair-colour variants: a style's colour picture brought to the mean colour of a shade a salon
// sells, its light and shade kept, its mask left as it is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "imaging/picture.h"

namespace coiffure {

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

// The colour picture of the variant: every pixel whose mask is not pure white takes a colour of
// the shade's hue whose lightness follows the source's, so that the hair's mean colour in OKLab
// is the shade's and its strands, shadows and sheen stay where they were; pixels whose mask is
// pure white become black. No channel is pushed to 0 or 255. The two pictures must be of one
// size (throws std::invalid_argument otherwise); any depth is read.
Picture RecolourHair(const Picture& colour, const Picture& mask, Bgr shade);
// The same into out (another picture than colour and mask), whose memory is reused when it
// already has the size.
void RecolourHair(const Picture& colour, const Picture& mask, Bgr shade, Picture& out);

}  // namespace coiffure
