// A style's colour picture brought to the mean colour of a shade, its light and shade kept.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "colour/recolour_curve.h"
#include "colour/recolour_rows.h"
#include "imaging/picture.h"

namespace coiffure {

// The colour the hair was given: the shade's, or where the shade lies so near black or white,
// or is so saturated, that hair with light and shade cannot have it as its mean, the nearest
// colour that keeps the strands.
struct ShadeReach {
  Bgr reached;
  bool exact = true;  // false: reached is not the shade asked for
};

// "这个颜色无法完全达到，已用最接近的 #RRGGBB", for a shade not reached exactly.
std::string UnreachedNote(const ShadeReach& reach);

// The colour picture of the variant: every pixel whose mask is not pure white takes a colour of
// the shade's hue whose lightness follows the source's, so that the hair's mean colour in OKLab
// is the shade's and its strands, shadows and sheen stay where they were; pixels whose mask is
// pure white become black. No channel is pushed to 0 or 255. The two pictures must be of one
// size (throws std::invalid_argument otherwise); any depth is read.
Picture RecolourHair(const Picture& colour, const Picture& mask, Bgr shade);
// The same into out (another picture than colour and mask), whose memory is reused when it
// already has the size.
ShadeReach RecolourHair(const Picture& colour, const Picture& mask, Bgr shade, Picture& out);

// The hair's weight at each code of luma (a level / 4), and from it each level's colour in a
// shade (packed blue | green << 8 | red << 16; kOffLevel's black): the work of a recolouring
// that does not touch a pixel, shared by styles and photos.
// least_correlation: how far the curve's lightness may depart from the source's over the hair
// (Pearson's r of OKLab L over the weighted codes); a photo's hair asks for more than a style's.
using CodeWeights = std::array<double, kCodes>;
ShadeReach ColoursOfLevels(const CodeWeights& hair, Bgr shade, LevelColours& colours,
                           float least_correlation = ShadeCurve::kLeastCorrelation);

}  // namespace coiffure
