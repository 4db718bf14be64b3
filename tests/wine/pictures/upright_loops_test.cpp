// Turning pictures upright as the Windows compiler builds the loops, run on the platform: every
// form the processor offers gives the plain form's pixels, turned where they lie or not.
#include <cstring>
#include <gtest/gtest.h>

#include "pictures/upright.h"

namespace coiffure {
namespace {

TEST(UprightLoops, EveryFormTheProcessorRunsGivesThePlainPixels) {
  // A common divisor of 28 (turned where it lies), of 33 (not a multiple of 4), of 1 (a new
  // picture).
  for (const auto& [w, h] : {std::pair{112, 84}, std::pair{33, 99}, std::pair{31, 17}}) {
    RgbaImage stored = RgbaImage::Create(w, h);
    for (size_t i = 0; i < stored.bgra.size(); ++i)
      stored.bgra[i] = static_cast<uint8_t>(i * 2654435761u >> 11);
    for (int o = 2; o <= 8; ++o) {
      const RgbaImage plain = UprightWith(stored, o, Loops::kPlain);
      for (const Loops loops : RunnableLoops()) {
        const RgbaImage up = UprightWith(stored, o, loops);
        EXPECT_EQ(up.width, plain.width);
        EXPECT_TRUE(up.bgra == plain.bgra)
            << w << "x" << h << " orientation " << o << " form " << static_cast<int>(loops);
      }
    }
  }
}

}  // namespace
}  // namespace coiffure
