// Replays the fuzzers' committed corpus: every input the decoder target has kept either loads and
// survives conversion and re-encoding, or fails with the bitmap error.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include "imaging/picture.h"

namespace coiffure {
namespace {

namespace fs = std::filesystem;

fs::path CorpusDir() {
  return fs::path(__FILE__).parent_path().parent_path() / "fuzz" / "corpus" / "bmp_fuzz";
}

std::vector<uint8_t> ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(BmpCorpus, EveryKeptInputLoadsCleanlyOrFailsWithTheBitmapError) {
  const fs::path dir = CorpusDir();
  if (!fs::is_directory(dir)) GTEST_SKIP() << "no corpus beside the sources at " << dir;
  int loaded = 0, refused = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::vector<uint8_t> bytes = ReadBytes(entry.path());
    Picture p;
    try {
      p.LoadFromBytes(bytes);
    } catch (const PictureError& e) {
      EXPECT_STREQ(e.what(), kMsgInvalidBitmap) << entry.path();
      ++refused;
      continue;
    }
    ++loaded;
    if (p.Empty() || int64_t{p.Width()} * p.Height() > (1 << 16)) continue;
    Picture c = p;
    c.ConvertTo24();
    Picture q;
    ASSERT_NO_THROW(q.LoadFromBytes(p.EncodeBmp24())) << entry.path();
    std::vector<uint8_t> row(static_cast<size_t>(p.Width()) * 3);
    for (int y = 0; y < p.Height(); ++y) {
      p.ReadRowBgr(y, row.data());
      ASSERT_EQ(std::memcmp(row.data(), c.Row(y), row.size()), 0) << entry.path();
      ASSERT_EQ(std::memcmp(row.data(), q.Row(y), row.size()), 0) << entry.path();
    }
  }
  // A corpus that no longer loads anything would make this test pass for nothing.
  EXPECT_GT(loaded, 10);
  EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace coiffure
