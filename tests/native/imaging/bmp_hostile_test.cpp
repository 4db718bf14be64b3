// Files crafted to break the decoder: each must be refused with the one error text, without a
// crash, a sanitizer report or a large allocation.
#include <functional>
#include <gtest/gtest.h>

#include "imaging/picture.h"
#include "native/bmp_builder.h"

namespace coiffure {
namespace {

using bmptest::BmpLayout;
using bmptest::BuildBmp;
using bmptest::PackRows;
using bmptest::Put16;
using bmptest::Put32;
using Bytes = std::vector<uint8_t>;

// Loads the bytes; returns the error text, or "" when the file loaded.
std::string LoadError(const Bytes& bytes) {
  Picture p;
  try {
    p.LoadFromBytes(bytes);
  } catch (const PictureError& e) {
    return e.what();
  }
  return "";
}

// 8-bit, 4 x 2, two palette entries: header at 14, palette at 54, pixels at 62.
BmpLayout Base8() {
  BmpLayout s{.width = 4, .height = 2, .bpp = 8, .colours_used = 2};
  s.palette = {{1, 2, 3}, {4, 5, 6}};
  s.data = PackRows({{0, 1, 0, 1}, {1, 1, 0, 0}}, 8);
  return s;
}

BmpLayout BaseRle(std::vector<uint8_t> stream, uint16_t bpp = 8) {
  BmpLayout s{.width = 4, .height = 2, .bpp = bpp, .compression = bpp == 8 ? 1u : 2u};
  s.palette = {{1, 2, 3}, {4, 5, 6}};
  s.colours_used = 2;
  s.data = std::move(stream);
  return s;
}

BmpLayout Base565() {
  BmpLayout s{.width = 2, .height = 1, .bpp = 16, .compression = 3};
  s.masks = std::array<uint32_t, 3>{0xF800, 0x07E0, 0x001F};
  s.data = PackRows({{1, 2}}, 16);
  return s;
}

struct Mutation {
  const char* what;
  std::function<Bytes()> make;
};

Bytes Patched(BmpLayout s, size_t at, uint32_t v, int width = 4) {
  Bytes b = BuildBmp(s);
  if (width == 4)
    Put32(b, at, v);
  else
    Put16(b, at, v);
  return b;
}

Bytes Cut(const BmpLayout& s, size_t size) {
  Bytes b = BuildBmp(s);
  b.resize(size);
  return b;
}

const std::vector<Mutation>& HeaderMutations() {
  static const std::vector<Mutation> m = {
      {"signature",
       [] {
         Bytes b = BuildBmp(Base8());
         b[1] = 'A';
         return b;
       }},
      {"lower-case signature",
       [] {
         Bytes b = BuildBmp(Base8());
         b[0] = 'b';
         return b;
       }},
      {"one byte", [] { return Bytes{'B'}; }},
      {"signature only",
       [] {
         return Bytes{'B', 'M'};
       }},
      {"header cut short", [] { return Cut(Base8(), 30); }},
      {"header size 0", [] { return Patched(Base8(), 14, 0); }},
      {"header size 13", [] { return Patched(Base8(), 14, 13); }},
      {"header size 41", [] { return Patched(Base8(), 14, 41); }},
      {"header size past the end", [] { return Patched(Base8(), 14, 124); }},
      {"header size huge", [] { return Patched(Base8(), 14, 0xFFFFFFFF); }},
      {"width 0", [] { return Patched(Base8(), 18, 0); }},
      {"width negative", [] { return Patched(Base8(), 18, uint32_t(-4)); }},
      {"width INT32_MIN", [] { return Patched(Base8(), 18, 0x80000000); }},
      {"width over the side cap", [] { return Patched(Base8(), 18, kMaxSide + 1); }},
      {"height 0", [] { return Patched(Base8(), 22, 0); }},
      {"height INT32_MIN", [] { return Patched(Base8(), 22, 0x80000000); }},
      {"height over the side cap", [] { return Patched(Base8(), 22, kMaxSide + 1); }},
      {"top-down height over the cap",
       [] { return Patched(Base8(), 22, uint32_t(-kMaxSide - 1)); }},
      {"planes 0", [] { return Patched(Base8(), 26, 0, 2); }},
      {"planes 2", [] { return Patched(Base8(), 26, 2, 2); }},
      {"bpp 0", [] { return Patched(Base8(), 28, 0, 2); }},
      {"bpp 2", [] { return Patched(Base8(), 28, 2, 2); }},
      {"bpp 7", [] { return Patched(Base8(), 28, 7, 2); }},
      {"bpp 64", [] { return Patched(Base8(), 28, 64, 2); }},
      {"bpp 65535", [] { return Patched(Base8(), 28, 0xFFFF, 2); }},
      {"embedded JPEG", [] { return Patched(Base8(), 30, 4); }},
      {"embedded PNG", [] { return Patched(Base8(), 30, 5); }},
      {"alpha bitfields", [] { return Patched(Base8(), 30, 6); }},
      {"unknown compression", [] { return Patched(Base8(), 30, 0xFFFFFFFF); }},
      {"RLE8 at 4 bits",
       [] {
         return Patched(BaseRle({0, 1}, 4), 30, 1);
       }},
      {"RLE4 at 8 bits",
       [] {
         return Patched(BaseRle({0, 1}, 8), 30, 2);
       }},
      {"bitfields at 8 bits", [] { return Patched(Base8(), 30, 3); }},
      {"top-down RLE",
       [] {
         return Patched(BaseRle({0, 1}), 22, uint32_t(-2));
       }},
      {"offset past the end", [] { return Patched(Base8(), 10, 1000); }},
      {"offset huge", [] { return Patched(Base8(), 10, 0xFFFFFFFF); }},
      {"offset 0", [] { return Patched(Base8(), 10, 0); }},
      {"offset inside the header", [] { return Patched(Base8(), 10, 20); }},
      {"pixel data one byte short", [] { return Cut(Base8(), 62 + 7); }},
      {"pixel data missing", [] { return Cut(Base8(), 62); }},
      {"palette past the end",
       [] {
         BmpLayout s = Base8();
         s.colours_used = 256;  // 1 KB of entries claimed in a 70-byte file
         return BuildBmp(s);
       }},
      {"palette cut", [] { return Cut(Base8(), 58); }},
      {"core bpp 16",
       [] {
         BmpLayout s{.header_size = 12, .width = 1, .height = 1, .bpp = 16, .data = {0, 0, 0, 0}};
         return BuildBmp(s);
       }},
      {"core width 0",
       [] {
         BmpLayout s{.header_size = 12, .width = 0, .height = 1, .data = {0, 0, 0, 0}};
         return BuildBmp(s);
       }},
      {"masks missing", [] { return Cut(Base565(), 14 + 40 + 8); }},
      {"mask not contiguous", [] { return Patched(Base565(), 54, 0xF801); }},
      {"mask wider than 16 bits", [] { return Patched(Base565(), 54, 0x1F800); }},
      {"all masks zero",
       [] {
         BmpLayout s = Base565();
         s.masks = std::array<uint32_t, 3>{0, 0, 0};
         return BuildBmp(s);
       }},
      // The header fits the pixel cap's sides but not its area; the stream is tiny, so only the
      // cap stands between it and a 4 GB allocation.
      {"area over the pixel cap",
       [] {
         BmpLayout s = BaseRle({0, 1});
         s.width = kMaxSide;
         s.height = kMaxSide;
         return BuildBmp(s);
       }},
  };
  return m;
}

TEST(BmpHostile, BadHeadersAreRefusedWithTheBitmapError) {
  for (const Mutation& m : HeaderMutations()) {
    EXPECT_EQ(LoadError(m.make()), kMsgInvalidBitmap) << m.what;
  }
}

TEST(BmpHostile, TheBaseFilesOfTheMutationsAreValid) {
  // Otherwise every mutation above would pass for the wrong reason.
  EXPECT_EQ(LoadError(BuildBmp(Base8())), "");
  EXPECT_EQ(LoadError(BuildBmp(Base565())), "");
  EXPECT_EQ(LoadError(BuildBmp(BaseRle({0, 1}))), "");
  EXPECT_EQ(LoadError(BuildBmp(BaseRle({0, 1}, 4))), "");
}

TEST(BmpHostile, RleStreamsThatLeaveThePictureAreRefused) {
  const std::vector<std::pair<const char*, BmpLayout>> cases = {
      {"run past the row", BaseRle({5, 1, 0, 1})},
      {"run past the row after others", BaseRle({3, 1, 2, 1, 0, 1})},
      {"literal past the row", BaseRle({0, 5, 1, 1, 1, 1, 1, 0, 0, 1})},
      {"run after the last line", BaseRle({0, 0, 0, 0, 1, 1, 0, 1})},
      {"end of line past the picture", BaseRle({0, 0, 0, 0, 0, 0, 0, 1})},
      {"delta past the row", BaseRle({0, 2, 5, 0, 0, 1})},
      {"delta past the picture", BaseRle({0, 2, 0, 3, 0, 1})},
      {"no end marker", BaseRle({1, 1})},
      {"no end marker after line ends", BaseRle({0, 0, 0, 0})},
      {"empty stream", BaseRle({})},
      {"stream cut in a pair", BaseRle({1})},
      {"delta cut", BaseRle({0, 2, 1})},
      {"literal cut", BaseRle({0, 4, 1, 1})},
      {"literal padding missing", BaseRle({0, 3, 1, 1, 1, 0, 1})},
      {"4-bit run past the row", BaseRle({5, 0x11, 0, 1}, 4)},
      {"4-bit literal past the row", BaseRle({0, 5, 0x11, 0x11, 0x10, 0, 0, 1}, 4)},
      {"4-bit literal cut", BaseRle({0, 4, 0x11}, 4)},
  };
  for (const auto& [what, file] : cases)
    EXPECT_EQ(LoadError(BuildBmp(file)), kMsgInvalidBitmap) << what;
  // The same streams within bounds load, so the refusals above are about the bounds.
  EXPECT_EQ(LoadError(BuildBmp(BaseRle({4, 1, 0, 0, 0, 4, 1, 1, 1, 1, 0, 1}))), "");
  EXPECT_EQ(LoadError(BuildBmp(BaseRle({0, 2, 4, 1, 0, 0, 0, 1}))), "");
  EXPECT_EQ(LoadError(BuildBmp(BaseRle({4, 0x11, 0, 0, 0, 4, 0x11, 0x11, 0, 1}, 4))), "");
}

TEST(BmpHostile, PixelCapIsInclusive) {
  // Exactly kMaxPixels loads (one 64 MB allocation); one more row does not.
  BmpLayout s = BaseRle({0, 1});
  s.width = 8192;
  s.height = static_cast<int32_t>(kMaxPixels / 8192);
  Picture p;
  ASSERT_NO_THROW(p.LoadFromBytes(BuildBmp(s)));
  EXPECT_EQ(int64_t{p.Width()} * p.Height(), kMaxPixels);
  s.height += 1;
  EXPECT_EQ(LoadError(BuildBmp(s)), kMsgInvalidBitmap);
}

// Every prefix and many single-byte changes of every kind of valid file either load or fail
// with the bitmap error; under the sanitizers this also proves no read leaves the buffer.
TEST(BmpHostile, TruncationsAndByteChangesNeverEscapeTheError) {
  for (const auto& sample : bmptest::SampleBmps()) {
    const Bytes& good = sample.bytes;
    ASSERT_EQ(LoadError(good), "") << sample.name;
    for (size_t n = 1; n < good.size(); ++n) {
      const std::string e = LoadError(Bytes(good.begin(), good.begin() + n));
      EXPECT_TRUE(e == "" || e == kMsgInvalidBitmap) << sample.name << " cut at " << n;
    }
    for (size_t i = 0; i < good.size(); ++i) {
      for (uint8_t v : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
        Bytes b = good;
        b[i] = v;
        const std::string e = LoadError(b);
        EXPECT_TRUE(e == "" || e == kMsgInvalidBitmap) << sample.name << " byte " << i;
      }
    }
  }
}

}  // namespace
}  // namespace coiffure
