// The conversion's scans and its two-level pair, in plain and vector forms with the same
// results (internal to the import's sources; the tests run both).
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "imaging/loops.h"
#include "import/convert.h"
#include "import/resample_rows.h"

namespace coiffure::pair_rows {

// The smallest rectangle holding every visible pixel (alpha above 0); nothing when none is.
struct Box {
  int x0 = 0, y0 = 0, width = 0, height = 0;
  friend bool operator==(const Box&, const Box&) = default;
};
// With extents, also each row's visible columns, for the box's rows in its columns.
std::optional<Box> VisibleBox(const RgbaImage& image, Loops loops,
                              std::vector<resample::Extent>* extents = nullptr);

// A row's first pass: its fully opaque pixels become hair (their colour, a black mask), all
// others the background (black, a white mask) until the error diffusion decides the partly
// transparent ones, which are listed left to right. Returns the number of opaque pixels.
struct LevelRow {
  uint8_t* colour;
  uint8_t* mask;
  int* partial;
  int partials = 0;
};
int Levels(const uint8_t* px, int width, LevelRow& row, Loops loops);

// MakePair with a chosen form of the loops.
HairstylePair MakePairWith(const RgbaImage& image, Loops loops);

// MakePair fed one row at a time, top row first, so that the picture need not be whole.
class PairBuilder {
 public:
  PairBuilder(int width, int height, Loops loops);
  ~PairBuilder();
  void AddRow(const uint8_t* bgra);  // width pixels
  HairstylePair Take();

 private:
  class Diffusion;
  const int width_, height_;
  const Loops loops_;
  int y_ = 0;
  HairstylePair pair_;
  std::vector<uint8_t> colour_, mask_, colour_row_, mask_row_;
  std::vector<int> partial_;
  std::unique_ptr<Diffusion> diffusion_;
};

}  // namespace coiffure::pair_rows
