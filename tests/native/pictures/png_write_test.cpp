// The matte's PNG as another decoder reads it (stb), with the checks stb skips (chunk CRCs,
// the zlib stream's Adler-32) recomputed here from their definitions.
#include "pictures/png_write.h"

#include <stb_image.h>

#include <gtest/gtest.h>
#include <random>
#include <stdexcept>

namespace coiffure {
namespace {

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

// Bit by bit, as the PNG standard's appendix defines it.
uint32_t SlowCrc(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

uint32_t SlowAdler(const std::vector<uint8_t>& bytes) {
  uint32_t a = 1, b = 0;
  for (uint8_t v : bytes) a = (a + v) % 65521, b = (b + a) % 65521;
  return b << 16 | a;
}

// The rows as the stream holds them: a filter byte 0 before each.
std::vector<uint8_t> Filtered(int w, int h, const std::vector<uint8_t>& grey) {
  std::vector<uint8_t> out;
  for (int y = 0; y < h; ++y) {
    out.push_back(0);
    out.insert(out.end(), grey.begin() + y * w, grey.begin() + (y + 1) * w);
  }
  return out;
}

std::vector<uint8_t> Matte(int w, int h, int kind, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> g(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t& v = g[static_cast<size_t>(y) * w + x];
      const int edge = w / 3 + y % 7;  // hair from here on, soft over a few pixels
      if (kind == 0) v = x < edge ? 0 : x < edge + 4 ? static_cast<uint8_t>(60 * (x - edge)) : 255;
      if (kind == 1) v = static_cast<uint8_t>(rng());
      if (kind == 2) v = 255;
      if (kind == 3) v = static_cast<uint8_t>(rng() % 3 == 0 ? 0 : 7);  // short runs, literals
    }
  return g;
}

TEST(GreyPng, AnotherDecoderReadsEveryByteAndEveryCheckHolds) {
  struct Case {
    int w, h, kind;
  };
  for (const Case& c : std::vector<Case>{{1, 1, 2},
                                         {1, 1, 1},
                                         {3, 2, 0},
                                         {259, 3, 2},
                                         {1000, 40, 0},
                                         {517, 61, 1},
                                         {64, 64, 3},
                                         {2, 700, 0}}) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " kind " +
                 std::to_string(c.kind));
    const std::vector<uint8_t> grey = Matte(c.w, c.h, c.kind, c.w * 31 + c.h);
    const std::vector<uint8_t> png = EncodeGreyPng(c.w, c.h, grey);
    int w = 0, h = 0, channels = 0;
    uint8_t* read =
        stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &channels, 0);
    ASSERT_NE(read, nullptr) << stbi_failure_reason();
    EXPECT_EQ(channels, 1);
    ASSERT_EQ(w, c.w);
    ASSERT_EQ(h, c.h);
    EXPECT_TRUE(std::equal(grey.begin(), grey.end(), read));
    stbi_image_free(read);
    // Every chunk's CRC over its type and data; the one IDAT's stream ends in its Adler-32.
    size_t at = 8, chunks = 0;
    while (at + 12 <= png.size()) {
      const uint32_t length = Be32(png, at);
      ASSERT_LE(at + 12 + length, png.size());
      EXPECT_EQ(Be32(png, at + 8 + length), SlowCrc(png.data() + at + 4, length + 4));
      if (std::string(png.begin() + at + 4, png.begin() + at + 8) == "IDAT") {
        EXPECT_EQ(Be32(png, at + 4 + length), SlowAdler(Filtered(c.w, c.h, grey)));
      }
      at += 12 + length;
      ++chunks;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(chunks, 3u);
  }
}

TEST(GreyPng, AMatteOfLargeAreasTakesLittleRoomAndWrongSizesAreRefused) {
  const std::vector<uint8_t> grey = Matte(4000, 300, 0, 1);
  EXPECT_LT(EncodeGreyPng(4000, 300, grey).size(), grey.size() / 50);
  EXPECT_THROW(EncodeGreyPng(4000, 301, grey), std::invalid_argument);
  EXPECT_THROW(EncodeGreyPng(0, 0, {}), std::invalid_argument);
}

}  // namespace
}  // namespace coiffure
