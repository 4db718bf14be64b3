// A style's colour picture brought to the mean colour of a shade, its light and shade kept.
#pragma once

#include "imaging/picture.h"

namespace coiffure {

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
