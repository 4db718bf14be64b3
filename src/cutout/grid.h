// The reduced copy of a photo that the cut-out works on, made once per photo: colour in OKLab
// and the fine structure that tells hair from a background of the same colour.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/oklab.h"
#include "import/convert.h"

namespace coiffure::cutout {

// Bins of the colour and texture histograms.
inline constexpr int kColourBinsPerAxis = 12;
inline constexpr int kColourBins = kColourBinsPerAxis * kColourBinsPerAxis * kColourBinsPerAxis;
inline constexpr int kEnergyBins = 6, kWideEnergyBins = 6, kSwingBins = 4, kCoherenceBins = 3;
inline constexpr int kTextureBins = kEnergyBins * kWideEnergyBins * kSwingBins * kCoherenceBins;

struct Grid {
  int width = 0, height = 0;  // cells
  int scale = 1;           // photo pixels along a cell's side (the last row and column may be cut)
  std::vector<Oklab> lab;  // mean colour of each cell, from linear light
  std::vector<Oklab> smooth;  // the same over 3 x 3 cells: what distances along the photo follow
  std::vector<float> energy;  // log of the fine gradient energy: hair's strands make it high
  std::vector<uint16_t> colour_bin;
  std::vector<uint16_t> texture_bin;  // energy here and around, and how much it runs one way
  float beta = 1;                     // contrast scale of neighbouring colour differences

  size_t Size() const { return static_cast<size_t>(width) * height; }
};

// The longest side of the fine copy the texture is measured on; cells are 2 x 2 fine pixels.
inline constexpr int kFineSide = 1024;

Grid BuildGrid(const RgbaImage& photo);

}  // namespace coiffure::cutout
