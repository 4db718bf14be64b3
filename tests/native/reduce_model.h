// The plain reading of the thumbnail's reduction, box by box and byte by byte: what the fast
// reduction must give exactly. Shared by the unit tests and the benchmark's check.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "imaging/picture.h"

namespace coiffure::model {

inline Picture ReduceToFit(const Picture& picture, int side) {
  const int64_t w = picture.Width(), h = picture.Height();
  const int64_t tw = w >= h ? side : std::max<int64_t>(1, w * side / h);
  const int64_t th = h >= w ? side : std::max<int64_t>(1, h * side / w);
  Picture out = Picture::Create24(side, side, {255, 255, 255});
  const int64_t ox = (side - tw) / 2, oy = (side - th) / 2;
  for (int64_t ty = 0; ty < th; ++ty)
    for (int64_t tx = 0; tx < tw; ++tx) {
      const int64_t x0 = tx * w / tw, x1 = (tx + 1) * w / tw;
      const int64_t y0 = ty * h / th, y1 = (ty + 1) * h / th;
      const int64_t n = (x1 - x0) * (y1 - y0);
      uint64_t sum[3] = {};
      for (int64_t y = y0; y < y1; ++y)
        for (int64_t x = x0; x < x1; ++x) {
          const Bgr p = picture.PixelBgr(static_cast<int>(x), static_cast<int>(y));
          sum[0] += p.b, sum[1] += p.g, sum[2] += p.r;
        }
      uint8_t* d = out.Row(static_cast<int>(oy + ty)) + (ox + tx) * 3;
      for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>((sum[c] + n / 2) / n);
    }
  return out;
}

}  // namespace coiffure::model
