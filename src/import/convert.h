// Turns an ordinary picture (a cut-out with transparency, or a photo on a plain background)
// into a hairstyle pair that stays exact under the bitwise composite (photo AND mask) OR colour.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/picture.h"
#include "pictures/rgba_image.h"

namespace coiffure {

struct HairstylePair {
  Picture colour;           // the hair's colours where the mask is black, pure black elsewhere
  Picture mask;             // black on the hair, white where the photo shows through
  int64_t hair_pixels = 0;  // black pixels of the mask
};

// The library's minimum side, and the longest side an imported style keeps.
inline constexpr int kImportMinSide = 200;
inline constexpr int kImportMaxSide = 1000;
// How far (sum of the three channel differences) a pixel may be from the border's colour and
// still count as background in a picture without transparency; JPEG noise on a plain backdrop
// stays well inside it.
inline constexpr int kBackgroundTolerance = 72;

// True when some pixel is not fully opaque.
bool HasTransparency(const RgbaImage& image);

// True for a picture without transparency that does not look like hair on a plain backdrop:
// less than 60 % of its border is of the border's most common colour, or something other runs
// along more than a quarter of its bottom edge (a person's shoulders). Its import keeps the face
// and the rest; the hair wants cutting out.
bool LooksLikeAPhotoOfAPerson(const RgbaImage& image, int tolerance = kBackgroundTolerance);

// For a picture without transparency: the pixels connected to the border whose colour is
// within the tolerance of the border's most common colour become fully transparent, and the
// pixels beside them that are within twice the tolerance partly so.
void ClearBorderBackground(RgbaImage& image, int tolerance = kBackgroundTolerance);

// The visible pixels (alpha above 0) cut out with a transparent margin around them;
// nothing when no pixel is visible.
std::optional<RgbaImage> CropToVisible(const RgbaImage& image);

// The size a cropped picture is brought to: proportions kept, the longer side at most
// kImportMaxSide, the shorter raised towards kImportMinSide as far as the longer side allows.
struct Size {
  int width = 0, height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};
Size FittedSize(int width, int height);

// Area-averaging resampling to any size; the colours are weighted by their alpha, so fully
// transparent pixels lend nothing to their neighbours, and the total opacity scales exactly
// with the area.
RgbaImage Resample(const RgbaImage& image, Size size);

// Centres the picture on a transparent canvas at least kImportMinSide on each side.
RgbaImage PadToMinimum(const RgbaImage& image);

// The two-level pair: the alpha error-diffused into the mask (fully opaque pixels always hair,
// fully transparent ones never), the colour picture black wherever the mask is white.
HairstylePair MakePair(const RgbaImage& image);

// The whole conversion. Nothing when no pixel is left once the background is removed. A
// picture with transparency is read where it is; one without is cleared of its background,
// in a copy unless it is handed over.
std::optional<HairstylePair> ConvertToHairstyle(const RgbaImage& image);
std::optional<HairstylePair> ConvertToHairstyle(RgbaImage&& image);

}  // namespace coiffure
