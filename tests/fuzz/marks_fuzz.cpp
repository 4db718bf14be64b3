// libFuzzer target: any bytes as a marks picture through the marks reader, and the marks it
// accepts through a cut-out of a photo made from the same bytes. The reader accepts exactly
// the pictures of the photo's size with a pure red pixel and reads every pixel's colour as its
// mark; the matte keeps every mark. The same bytes as a file of kept marks, for the photo and the
// size the file names: accepted only as EncodeSketch writes it, and painted within bounds.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "cutout/cutout.h"
#include "cutout/marks.h"
#include "cutout/marks_file.h"

namespace {

using coiffure::RgbaImage;
using coiffure::cutout::Mark;

void Require(bool ok) {
  if (!ok) std::abort();
}

// Most pixels take one of the colours that mean something, or one just beside them.
void Colour(uint8_t v, uint8_t* bgra) {
  static const uint8_t kPalette[][3] = {{0, 0, 255}, {255, 0, 0}, {0, 0, 0},
                                        {0, 0, 254}, {1, 0, 0},   {200, 190, 180}};
  const uint8_t* c = kPalette[v % 6];
  if (v >= 192) c = nullptr;
  bgra[0] = c ? c[0] : v;
  bgra[1] = c ? c[1] : static_cast<uint8_t>(v * 7);
  bgra[2] = c ? c[2] : static_cast<uint8_t>(v * 13);
  bgra[3] = static_cast<uint8_t>(v * 31);  // alpha means nothing
}

Mark Expected(const uint8_t* bgra) {
  if (bgra[0] == 0 && bgra[1] == 0 && bgra[2] == 255) return Mark::kHair;
  if (bgra[0] == 255 && bgra[1] == 0 && bgra[2] == 0) return Mark::kNotHair;
  if (bgra[0] == 0 && bgra[1] == 0 && bgra[2] == 0) return Mark::kOutside;
  return Mark::kUndecided;
}

// The bytes as a kept-marks file of a small photo.
void KeptMarks(const uint8_t* data, size_t size) {
  if (size < 20) return;
  uint64_t photo = 0;
  uint32_t w = 0, h = 0;
  for (int i = 0; i < 8; ++i) photo |= static_cast<uint64_t>(data[4 + i]) << (8 * i);
  for (int i = 0; i < 4; ++i)
    w |= uint32_t{data[12 + i]} << (8 * i), h |= uint32_t{data[16 + i]} << (8 * i);
  if (w == 0 || h == 0 || w > 64 || h > 64) return;
  const std::optional<coiffure::cutout::Sketch> sketch =
      coiffure::cutout::DecodeSketch({data, size}, photo, static_cast<int>(w), static_cast<int>(h));
  if (!sketch) return;
  const std::vector<uint8_t> again =
      coiffure::cutout::EncodeSketch(*sketch, photo, static_cast<int>(w), static_cast<int>(h));
  Require(again.size() == size && std::equal(again.begin(), again.end(), data));
  Require(
      coiffure::cutout::MarksOf(*sketch, static_cast<int>(w), static_cast<int>(h)).labels.size() ==
      size_t{w} * h);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KeptMarks(data, size);
  if (size < 3) return 0;
  const int w = 1 + data[0] % 40, h = 1 + data[1] % 40;
  const int photo_w = w + (data[2] % 4 == 3), photo_h = h;  // now and then another size
  RgbaImage marks = RgbaImage::Create(w, h);
  bool any_red = false;
  for (int i = 0; i < w * h; ++i) {
    Colour(size > 3 ? data[3 + i % (size - 3)] : 0, marks.bgra.data() + 4 * i);
    any_red = any_red || Expected(marks.bgra.data() + 4 * i) == Mark::kHair;
  }
  const coiffure::cutout::MarksReading read = coiffure::cutout::ReadMarks(marks, photo_w, photo_h);
  Require(read.marks.has_value() == (any_red && photo_w == w));
  Require(read.marks.has_value() == read.error.empty());
  if (!read.marks) return 0;
  for (int i = 0; i < w * h; ++i)
    Require(read.marks->labels[i] == Expected(marks.bgra.data() + 4 * i));

  RgbaImage photo = RgbaImage::Create(w, h);
  for (size_t i = 0; i < photo.bgra.size(); ++i)
    photo.bgra[i] = static_cast<uint8_t>(data[i % size] * (i % 4 + 1));
  const auto matte = coiffure::cutout::Session(photo).Update(*read.marks);
  Require(matte && matte->alpha.size() == static_cast<size_t>(w) * h);
  for (int i = 0; i < w * h; ++i) {
    const Mark m = read.marks->labels[i];
    if (m == Mark::kHair) Require(matte->alpha[i] >= 128);
    if (m == Mark::kNotHair || m == Mark::kOutside) Require(matte->alpha[i] == 0);
  }
  return 0;
}
