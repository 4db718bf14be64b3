#include "imaging/oklab.h"

#include <cmath>
#include <gtest/gtest.h>

namespace coiffure {
namespace {

// Published values of the space's author for the sRGB primaries and white.
TEST(Oklab, MatchesPublishedValuesAndRoundTripsEveryByteExactly) {
  struct Case {
    Bgr c;
    Oklab want;
  };
  for (const Case& t :
       {Case{{255, 255, 255}, {1, 0, 0}}, Case{{0, 0, 255}, {0.627955f, 0.224863f, 0.125846f}},
        Case{{0, 255, 0}, {0.866440f, -0.233888f, 0.179498f}},
        Case{{255, 0, 0}, {0.452014f, -0.032457f, -0.311528f}}}) {
    const Oklab got = BgrToOklab(t.c);
    EXPECT_LT(DeltaE(got, t.want), 2e-4) << got.L << " " << got.a << " " << got.b;
  }
  for (int v = 0; v < 256; ++v) {
    for (const Bgr c : {Bgr{uint8_t(v), uint8_t(v), uint8_t(v)}, Bgr{uint8_t(v), 40, 200},
                        Bgr{7, uint8_t(255 - v), uint8_t(v / 2)}}) {
      ASSERT_EQ(OklabToBgr(BgrToOklab(c)), c) << v;
    }
  }
  // Rounding between bytes is the curve's own, found without a power function.
  for (float lin = 0; lin <= 1; lin += 1.0f / 65536) {
    const float exact = 255 * LinearToSrgb(lin);
    if (std::abs(exact - std::floor(exact) - 0.5f) < 1e-3f) continue;  // a tie within float noise
    const uint8_t want = static_cast<uint8_t>(std::lround(exact));
    ASSERT_EQ(OklabToBgr({std::cbrt(lin), 0, 0}).g, want) << lin;
  }
}

}  // namespace
}  // namespace coiffure
