#include "imaging/picture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "native/bmp_builder.h"

namespace coiffure {
namespace {

using bmptest::BmpLayout;
using bmptest::BuildBmp;
using bmptest::PackRows;

std::vector<Bgr> AllColours(const Picture& p) {
  std::vector<Bgr> out;
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) out.push_back(p.PixelBgr(x, y));
  return out;
}

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("coiffure_picture_" + name)).string();
}

TEST(PictureLoad, EmptyFileGivesEmptyPictureWithoutError) {
  Picture p = Picture::Create24(3, 2, {1, 2, 3});
  p.LoadFromBytes({});
  EXPECT_TRUE(p.Empty());
  EXPECT_EQ(p.BitsPerPixel(), 0);

  const std::string path = TempPath("empty.bmp");
  std::ofstream(path, std::ios::binary).close();
  Picture q = Picture::Create24(3, 2);
  q.LoadFromFile(path);
  EXPECT_TRUE(q.Empty());
  std::filesystem::remove(path);
}

TEST(PictureLoad, FailuresGiveExactTextsAndKeepThePreviousPicture) {
  Picture p = Picture::Create24(2, 2, {7, 8, 9});
  const std::string missing = TempPath("no_such_folder") + "/missing.bmp";
  try {
    p.LoadFromFile(missing);
    ADD_FAILURE() << "missing file loaded";
  } catch (const PictureError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
  }
  const std::vector<std::vector<uint8_t>> bad = {
      {'M', 'B', 0, 0}, {'x'}, BuildBmp({.width = 1, .height = 1, .bpp = 24})};  // last: no data
  for (const auto& bytes : bad) {
    try {
      p.LoadFromBytes(bytes);
      ADD_FAILURE() << "bad file loaded";
    } catch (const PictureError& e) {
      EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
  }
  EXPECT_EQ(p.Width(), 2);
  EXPECT_EQ(p.BitsPerPixel(), 24);
  EXPECT_EQ(AllColours(p), std::vector<Bgr>(4, Bgr{7, 8, 9}));
}

TEST(PictureLoad, HugeFileIsRefusedWithoutReadingIt) {
  // A sparse file past the largest possible bitmap: refused before any allocation.
  const std::string path = TempPath("huge.bmp");
  {
    std::ofstream out(path, std::ios::binary);
    out << "BM";
  }
  std::filesystem::resize_file(path, static_cast<uintmax_t>(kMaxFileBytes) + 1);
  Picture p = Picture::Create24(1, 1, {5, 5, 5});
  try {
    p.LoadFromFile(path);
    ADD_FAILURE() << "huge file loaded";
  } catch (const PictureError& e) {
    EXPECT_STREQ(e.what(), "Bitmap image is not valid");
  }
  EXPECT_EQ(p.PixelBgr(0, 0), (Bgr{5, 5, 5}));
  std::filesystem::remove(path);
}

TEST(PictureLoad, ReplacesPictureOfAnotherDepth) {
  BmpLayout s{.width = 3, .height = 1, .bpp = 8, .colours_used = 2};
  s.palette = {{1, 1, 1}, {2, 2, 2}};
  s.data = PackRows({{1, 0, 1}}, 8);
  Picture p = Picture::Create24(10, 10);
  p.LoadFromBytes(BuildBmp(s));
  EXPECT_EQ(p.BitsPerPixel(), 8);
  EXPECT_EQ(p.Stride(), 3u);
  EXPECT_EQ(AllColours(p), (std::vector<Bgr>{{2, 2, 2}, {1, 1, 1}, {2, 2, 2}}));
}

// One loader through files of every size and kind, a bad one among them: each load gives what
// a fresh picture loads from the file, whatever the reused memory held before.
TEST(PictureLoad, LoaderReusingItsMemoryLoadsWhatEachFileHolds) {
  auto noise = [](int w, int h) {
    Picture p = Picture::Create24(w, h);
    for (int y = 0; y < h; ++y)
      for (int i = 0; i < w * 3; ++i) p.Row(y)[i] = static_cast<uint8_t>(i * 41 + y * 7 + w);
    return p.EncodeBmp24();
  };
  BmpLayout rle{.width = 4, .height = 1, .bpp = 8, .compression = 1, .colours_used = 2};
  rle.palette = {{9, 8, 7}, {1, 2, 3}};
  rle.data = {2, 1, 0, 1};  // two pixels of colour 1, then the end: the rest keep colour 0
  BmpLayout pal{.width = 3, .height = 1, .bpp = 8, .colours_used = 2};
  pal.palette = {{1, 1, 1}, {2, 2, 2}};
  pal.data = PackRows({{1, 0, 1}}, 8);
  const std::vector<std::vector<uint8_t>> files = {
      noise(7, 4), BuildBmp(pal), {'x'},  // not a bitmap: the picture stays as it was
      noise(2, 2), BuildBmp(rle), {},     // an empty file gives an empty picture
      noise(9, 5), noise(7, 4)};
  RecyclingLoader loader;
  Picture p;
  const std::string path = TempPath("loader.bmp");
  for (size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(i);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(files[i].data()), std::streamsize(files[i].size()));
    Picture want;
    bool bad = false;
    try {
      want.LoadFromFile(path);
    } catch (const PictureError&) {
      bad = true;
    }
    if (bad) {
      want = p;
      EXPECT_THROW(loader.Load(path, p), PictureError);
    } else {
      loader.Load(path, p);
    }
    EXPECT_EQ(p.Width(), want.Width());
    EXPECT_EQ(p.Height(), want.Height());
    EXPECT_EQ(p.BitsPerPixel(), want.BitsPerPixel());
    EXPECT_EQ(AllColours(p), AllColours(want));
  }
  std::filesystem::remove(path);
}

// Converting keeps size and colours for every kind of file, and afterwards rows are plain BGR.
TEST(PictureConvert, To24KeepsSizeAndColoursForEveryKind) {
  for (const auto& sample : bmptest::SampleBmps()) {
    Picture p;
    p.LoadFromBytes(sample.bytes);
    const std::vector<Bgr> before = AllColours(p);
    const int w = p.Width(), h = p.Height();
    p.ConvertTo24();
    EXPECT_EQ(p.BitsPerPixel(), 24) << sample.name;
    EXPECT_EQ(p.Width(), w);
    EXPECT_EQ(p.Height(), h);
    EXPECT_EQ(p.Stride(), static_cast<size_t>(w) * 3);
    EXPECT_EQ(AllColours(p), before) << sample.name;
    const Bgr last = before.back();
    const uint8_t* px = p.Row(h - 1) + 3 * (w - 1);
    EXPECT_EQ((Bgr{px[0], px[1], px[2]}), last) << sample.name;
  }
}

TEST(PictureConvert, EncodedFileDecodesToTheSameColours) {
  for (const auto& sample : bmptest::SampleBmps()) {
    Picture p;
    p.LoadFromBytes(sample.bytes);
    Picture q;
    q.LoadFromBytes(p.EncodeBmp24());
    EXPECT_EQ(q.BitsPerPixel(), 24);
    EXPECT_EQ(AllColours(q), AllColours(p)) << sample.name;
  }
}

TEST(PictureConvert, SavedFileLoadsBack) {
  Picture p = Picture::Create24(5, 3, {10, 20, 30});
  p.Row(2)[12] = 99;
  const std::string path = TempPath("saved.bmp");
  p.SaveBmp24(path);
  Picture q;
  q.LoadFromFile(path);
  EXPECT_EQ(AllColours(q), AllColours(p));
  EXPECT_EQ(q.PixelBgr(4, 2), (Bgr{99, 20, 30}));
  std::filesystem::remove(path);
}

// Wide rows exercise the unrolled paths of the row reader at every depth, and the odd width the
// tail of packed 1- and 4-bit rows.
TEST(PictureConvert, WideRowsMatchPixelReads) {
  const int w = 1001;
  std::vector<uint32_t> idx(w), rgb(w), w16(w);
  for (int x = 0; x < w; ++x) {
    idx[x] = static_cast<uint32_t>(x * 37 + 11);
    rgb[x] = static_cast<uint32_t>(x) * 2654435761u;
    w16[x] = rgb[x] & 0xFFFF;
  }
  std::vector<Bgr> pal(256);
  for (int i = 0; i < 256; ++i) pal[i] = {uint8_t(i), uint8_t(i ^ 0x5A), uint8_t(255 - i)};
  for (uint16_t bpp : {1, 4, 8, 16, 32}) {
    BmpLayout s{.width = w, .height = 1, .bpp = bpp};
    std::vector<uint32_t> v = bpp == 16 ? w16 : bpp == 32 ? rgb : idx;
    if (bpp < 8)
      for (auto& x : v) x &= (1u << bpp) - 1;
    else if (bpp == 8)
      for (auto& x : v) x &= 0xFF;
    if (bpp <= 8) s.palette.assign(pal.begin(), pal.begin() + (1 << bpp));
    s.data = PackRows({v}, bpp);
    Picture p;
    p.LoadFromBytes(BuildBmp(s));
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    p.ReadRowBgr(0, row.data());
    for (int x = 0; x < w; ++x) {
      Bgr want;
      if (bpp <= 8) {
        want = pal[v[x]];
      } else if (bpp == 32) {
        want = {uint8_t(v[x]), uint8_t(v[x] >> 8), uint8_t(v[x] >> 16)};
      } else {
        auto five = [](uint32_t c) { return uint8_t((c << 3) | (c >> 2)); };
        want = {five(v[x] & 31), five((v[x] >> 5) & 31), five((v[x] >> 10) & 31)};
      }
      ASSERT_EQ((Bgr{row[3 * x], row[3 * x + 1], row[3 * x + 2]}), want)
          << "bpp " << bpp << " x " << x;
    }
  }
}

}  // namespace
}  // namespace coiffure
