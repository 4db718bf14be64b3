// The colour rules measured as a colourist would check a recoloured head of hair, over the
// pixels of a region (a byte a pixel, nonzero where measured).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/picture.h"

namespace coiffure::test {

struct HairFigures {
  double delta_e = 0;    // the result's mean OKLab colour from the shade's
  double r = 1;          // Pearson r of OKLab L, result against source
  double sd = 0;         // the result's L* standard deviation
  double source_sd = 0;  // the source's
  double clipped = 0;    // share of pixels with a channel newly at 0 or 255
  // The largest L* step between neighbours whose source colours differ by at most one code a
  // channel.
  double max_step = 0;
  // Mean L* step across the 8 x 8 block edges over the mean step inside the blocks.
  double blockiness = 0, source_blockiness = 0;
  // How far (L*) a pixel falls below the result's darkest strands (its 2nd percentile) beyond
  // its own fall below the source's, scaled as the shadows are (the spread below the mean).
  double speck = 0;
  int64_t pixels = 0;
};

double LStar(Bgr c);

HairFigures MeasureHair(const Picture& source, const Picture& result,
                        const std::vector<uint8_t>& region, Bgr shade);

// The region of a style's mask: its black pixels.
std::vector<uint8_t> MaskRegion(const Picture& mask);
// The pixels of a matte at or above a level.
std::vector<uint8_t> MatteRegion(const std::vector<uint8_t>& matte, uint8_t from);

std::string FiguresRow(const HairFigures& f);

}  // namespace coiffure::test
