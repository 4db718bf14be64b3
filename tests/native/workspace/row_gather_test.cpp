// The planned row gather against a plain pixel lookup, with and without the byte shuffle, over
// the column maps a stretch makes: enlarged, shrunk a little and a lot, mirrored, and source
// rows too short for a 16-byte load.
#include "workspace/row_gather.h"

#include <gtest/gtest.h>

#include "workspace/vector_level.h"

namespace coiffure {
namespace {

// The column map of a stretch of src_w pixels over dst_w cells, mirrored or not.
std::vector<int32_t> StretchMap(int src_w, int dst_w, bool mirrored) {
  std::vector<int32_t> m(static_cast<size_t>(dst_w));
  for (int i = 0; i < dst_w; ++i) {
    const int64_t d = mirrored ? dst_w - 1 - i : i;
    m[static_cast<size_t>(i)] = static_cast<int32_t>(d * src_w / dst_w);
  }
  return m;
}

class RowGatherTest : public testing::TestWithParam<VectorLevel> {
 protected:
  void SetUp() override { CapVectorLevel(GetParam()); }
  void TearDown() override { CapVectorLevel(VectorLevel::kSsse3); }
};

TEST_P(RowGatherTest, EveryPixelComesFromItsMappedColumn) {
  const struct {
    int src_w, dst_w;
  } cases[] = {{300, 320}, {37, 200}, {320, 300}, {300, 107}, {300, 31},
               {5, 9},     {6, 6},    {1, 17},    {17, 1},    {400, 400}};
  for (const auto& c : cases)
    for (const bool mirrored : {false, true}) {
      SCOPED_TRACE(testing::Message()
                   << c.src_w << " -> " << c.dst_w << (mirrored ? " mirrored" : ""));
      std::vector<uint8_t> src(size_t(c.src_w) * 3);
      for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>(i * 7 + i / 3);
      const std::vector<int32_t> map = StretchMap(c.src_w, c.dst_w, mirrored);
      const RowGather g(map, c.src_w);
      ASSERT_EQ(g.Bytes(), map.size() * 3);
      std::vector<uint8_t> dst(g.Bytes() + RowGather::kSlack, 0xAB);
      g.Run(src.data(), dst.data());
      for (size_t i = 0; i < map.size(); ++i)
        for (int k = 0; k < 3; ++k)
          ASSERT_EQ(dst[3 * i + k], src[size_t(map[i]) * 3 + k]) << "pixel " << i;
    }
}

// Straight from the pictures' rows: the chunked blend against the plain formula, in place and
// from a separate row, with one plan shared by a pair of one width and with two plans.
TEST_P(RowGatherTest, BlendPlansGiveMaskThenColourPerByte) {
  const struct {
    int mask_w, colour_w, dst_w;
    bool mirrored;
  } cases[] = {{300, 300, 320, false}, {37, 37, 200, true},    {37, 41, 200, false},
               {37, 41, 200, true},    {100, 100, 100, false}, {60, 60, 64, false},
               {7, 9, 7, false},       {40, 40, 123, false}};
  for (const auto& c : cases)
    for (const bool in_place : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.mask_w << "/" << c.colour_w << " -> " << c.dst_w
                                      << (in_place ? " in place" : ""));
      const std::vector<int32_t> mmap = StretchMap(c.mask_w, c.dst_w, c.mirrored);
      const std::vector<int32_t> cmap = StretchMap(c.colour_w, c.dst_w, c.mirrored);
      const BlendPlan mp(mmap, c.mask_w), cp(cmap, c.colour_w);
      ASSERT_EQ(mp.Empty(), GetParam() == VectorLevel::kBaseline);
      const BlendPlan& colour_plan = c.mask_w == c.colour_w ? mp : cp;
      if (mp.Empty() || colour_plan.Empty()) continue;  // 9 -> 7 shrinks: no plan fits
      std::vector<uint8_t> m(size_t(c.mask_w) * 3), col(size_t(c.colour_w) * 3),
          under(size_t(c.dst_w) * 3);
      for (size_t i = 0; i < m.size(); ++i) m[i] = static_cast<uint8_t>(i * 37 + 11);
      for (size_t i = 0; i < col.size(); ++i) col[i] = static_cast<uint8_t>(i * 53 + 5);
      for (size_t i = 0; i < under.size(); ++i) under[i] = static_cast<uint8_t>(i * 29 + 3);
      std::vector<uint8_t> out = in_place ? under : std::vector<uint8_t>(under.size(), 0xAB);
      MaskThenColour(mp, m.data(), colour_plan, col.data(), in_place ? out.data() : under.data(),
                     out.data());
      for (size_t i = 0; i < under.size(); ++i) {
        const size_t px = i / 3, k = i % 3;
        const int want = (under[i] & m[size_t(mmap[px]) * 3 + k]) | col[size_t(cmap[px]) * 3 + k];
        ASSERT_EQ(out[i], want) << "byte " << i;
      }
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, RowGatherTest,
                         testing::Values(VectorLevel::kBaseline, VectorLevel::kSsse3));

}  // namespace
}  // namespace coiffure
