// The recolouring's vector loops as the Windows compiler builds them, run on the platform: every
// form the processor offers counts and writes what the baseline form does.
#include <gtest/gtest.h>
#include <random>

#include "colour/recolour_rows.h"

namespace coiffure {
namespace {

TEST(RecolourLoops, EveryFormTheProcessorRunsGivesTheBaselineBits) {
  std::mt19937 rng(11);
  LevelColours colours{};
  for (uint32_t& c : colours) c = rng() & 0xFFFFFF;
  colours[kOffLevel] = 0;
  const int width = 517;
  std::vector<uint8_t> colour(3 * width), mask(3 * width);
  for (uint8_t& b : colour) b = static_cast<uint8_t>(rng());
  for (int x = 0; x < width; ++x)  // stretches of hair, background and edge
    mask[3 * x] = mask[3 * x + 1] = mask[3 * x + 2] = x / 37 % 3 == 0   ? 0
                                                      : x / 37 % 3 == 1 ? 255
                                                                        : 128;
  LevelCounts base_counts{};
  std::vector<uint8_t> base(3 * width);
  CountRowLevels(colour.data(), mask.data(), width, base_counts, Loops::kPlain);
  WriteRowColours(colour.data(), mask.data(), width, colours, base.data(), Loops::kPlain);
  for (const Loops loops : RunnableLoops()) {
    LevelCounts counts{};
    std::vector<uint8_t> out(3 * width);
    CountRowLevels(colour.data(), mask.data(), width, counts, loops);
    WriteRowColours(colour.data(), mask.data(), width, colours, out.data(), loops);
    for (int code = 0; code <= kCodes; ++code) {
      uint32_t sum = 0, want = 0;
      for (int way = 0; way < kCountWays; ++way)
        sum += counts[way][code], want += base_counts[way][code];
      EXPECT_EQ(sum, want) << "loops " << static_cast<int>(loops) << " code " << code;
    }
    EXPECT_EQ(out, base) << "loops " << static_cast<int>(loops);
  }
}

}  // namespace
}  // namespace coiffure
