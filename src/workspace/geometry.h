// Paint-box coordinates: pixels, origin top-left, X right, Y down, signed, never clamped.
#pragma once

#include <cstdint>

namespace coiffure {

struct Point {
  int32_t x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Integer division that truncates toward zero, as every "div 2" of the workspace does.
constexpr int32_t Div2(int32_t v) {
  return v / 2;
}

}  // namespace coiffure
