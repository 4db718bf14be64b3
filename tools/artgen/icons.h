// Toolbar icons, small button glyphs and the application icon.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/picture.h"
#include "raster.h"

namespace coiffure::art {

// Pixels of this colour are the transparent part of icon strips and glyphs.
inline constexpr Bgr kKey{255, 0, 255};
inline constexpr int kToolbarIcons = 13;

// The 13 toolbar icons, 16 x 16 each, side by side (208 x 16).
Picture ToolbarStrip();
Picture AboutLinkIcon();  // 39 x 37 globe
Picture AboutMailIcon();  // 36 x 42 envelope
Picture LogGlyphs();      // 36 x 18: list page, normal and disabled
Picture SaveGlyph();      // 18 x 19: floppy disk

// One image of an icon file: top-down BGRA with straight alpha.
struct IconImage {
  int size = 0;
  std::vector<uint8_t> bgra;
};
IconImage AppIconImage(int size);
// An .ico file holding the images as 32-bit bitmaps with their AND masks.
std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images);
// A .cur file of one such image with its hot spot.
std::vector<uint8_t> EncodeCur(const IconImage& image, int hot_x, int hot_y);

// The splitter's pointer, 32 x 32: two arrows pointing apart from a double bar, black with a
// white outline; the hot spot lies between the bars.
inline constexpr int kSplitHotX = 15, kSplitHotY = 16;
IconImage SplitCursorImage();

// Drawn pixels (coverage at least half) over the key colour, everything else the key colour.
// Edges were blended against the canvas's own neutral background, never against the key.
Picture KeyedPicture(const Canvas& c);

}  // namespace coiffure::art
