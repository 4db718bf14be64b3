#include "preview.h"

#include <algorithm>

#include "workspace/composite.h"

namespace coiffure::art {

Picture ContactSheet(const Picture& photo, const std::vector<HairPair>& pairs, PhotoFit fit,
                     int columns) {
  // Crop around the head, with room above it so that tall styles are not cut.
  constexpr int kCellW = 300, kCellH = 330, kMargin = 60;
  const int rows = std::max<int>(1, (static_cast<int>(pairs.size()) + columns - 1) / columns);
  Picture sheet = Picture::Create24(columns * kCellW, rows * kCellH, {40, 40, 40});
  for (size_t i = 0; i < pairs.size(); ++i) {
    Frame frame;
    frame.Resize(photo.Width() + 2 * kMargin, photo.Height() + kMargin);
    frame.Fill(kTeal);
    BlitPicture(frame, photo, kMargin, kMargin);
    const Rect r{fit.left + kMargin, fit.top + kMargin, fit.right + kMargin, fit.bottom + kMargin};
    StretchPicture(frame, pairs[i].mask, r, RasterOp::And);
    StretchPicture(frame, pairs[i].colour, r, RasterOp::Or);
    const int cx = (fit.left + fit.right) / 2 + kMargin, x0 = cx - kCellW / 2;
    const int ox = static_cast<int>(i % columns) * kCellW,
              oy = static_cast<int>(i / columns) * kCellH;
    for (int y = 0; y < kCellH && y + 10 < frame.height; ++y)
      for (int x = 0; x < kCellW; ++x) {
        const int fx = x0 + x;
        if (fx < 0 || fx >= frame.width) continue;
        const Bgr c = frame.At(fx, y + 10);
        uint8_t* d = sheet.Row(oy + y) + 3 * (ox + x);
        d[0] = c.b, d[1] = c.g, d[2] = c.r;
      }
  }
  return sheet;
}

}  // namespace coiffure::art
