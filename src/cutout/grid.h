// The reduced copy of a photo that the cut-out works on, made once per photo: colour in OKLab
// and the fine structure that tells hair from a background of the same colour.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/oklab.h"
#include "pictures/rgba_image.h"

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
  // What each update reuses: the cost of a step to the left, up-left, up and up-right
  // neighbour for distances along the photo, and the edge-aware smoothness between a cell and
  // its right and lower neighbour.
  std::array<std::vector<float>, 4> step;
  std::vector<float> link_right, link_down;

  size_t Size() const { return static_cast<size_t>(width) * height; }
};

// Directions of Grid::step, as offsets.
inline constexpr int kStepDx[4] = {-1, -1, 0, 1}, kStepDy[4] = {0, -1, -1, -1};

// The most pixels of the fine copy the texture is measured on, reached from the photo by an
// integer reduction; cells are 2 x 2 fine pixels. A 1 MP photo keeps its pixels.
inline constexpr int64_t kFinePixels = 1'100'000;

Grid BuildGrid(const RgbaImage& photo);

}  // namespace coiffure::cutout
