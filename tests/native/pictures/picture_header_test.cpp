#include "pictures/picture_header.h"

#include <gtest/gtest.h>

#include "import/importer.h"
#include "native/bmp_builder.h"
#include "native/exif_builder.h"
#include "pictures/upright.h"

namespace coiffure {
namespace {

using namespace exiftest;

Bytes Cut(Bytes b, size_t n) {
  b.resize(n);
  return b;
}

TEST(Orientation, EveryValueInJpegAndTiffOfEitherByteOrder) {
  for (bool big : {false, true}) {
    for (uint32_t o = 1; o <= 8; ++o) {
      EXPECT_EQ(ReadOrientation(JpegWithOrientation(big, o)), int(o)) << big << o;
      EXPECT_EQ(ReadOrientation(OrientationTiff(big, o)), int(o)) << big << o;
    }
  }
  // Fill bytes before a marker, and an XMP segment before the Exif one, are stepped over.
  Bytes padded = JpegWithOrientation(true, 6);
  padded.insert(padded.begin() + 2, {0xFF, 0xFF});
  EXPECT_EQ(ReadOrientation(padded), 6);
  const Bytes xmp = Segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/'});
  EXPECT_EQ(ReadOrientation(Jpeg({xmp, Segment(0xE1, ExifPayload(OrientationTiff(false, 8)))})), 8);
}

// Whatever the bytes, "as stored": nothing read past the end, no endless walk.
TEST(Orientation, MissingMalformedOrHostileDataMeansAsStored) {
  const Bytes tiff = OrientationTiff(false, 6);
  auto jpeg_with = [](const Bytes& app1) { return Jpeg({Segment(0xE1, app1)}); };
  auto patched = [&](size_t at, std::vector<uint8_t> bytes) {
    Bytes t = tiff;
    std::copy(bytes.begin(), bytes.end(), t.begin() + long(at));
    return jpeg_with(ExifPayload(t));
  };
  const Bytes cut = Cut(JpegWithOrientation(false, 6), 40);  // APP1 claims more than there is
  Bytes zero_length = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x00, 0xFF, 0xE1};
  Bytes after_scan = Jpeg({});
  const Bytes late = Segment(0xE1, ExifPayload(tiff));
  after_scan.insert(after_scan.end() - 2, late.begin(), late.end());
  const std::vector<Bytes> cases = {
      {},
      {0xFF, 0xD8},
      cut,
      zero_length,
      after_scan,
      jpeg_with({'E', 'x', 'i', 'f', 0, 0, 'I', 'I'}),  // TIFF header cut short
      jpeg_with(ExifPayload(OrientationTiff(false, 0))),
      jpeg_with(ExifPayload(OrientationTiff(false, 9))),
      jpeg_with(ExifPayload(Tiff(false, {{0x0112, 3, 2, 6}}))),  // two values
      jpeg_with(ExifPayload(Tiff(false, {{0x0112, 2, 1, 6}}))),  // ASCII
      patched(2, {43, 0}),                                       // not 42
      patched(4, {0xFF, 0xFF, 0xFF, 0xFF}),                      // IFD past the end
      patched(4, {0xF8, 0xFF, 0xFF, 0xFF}),                      // IFD offset that wraps
      patched(8, {0xFF, 0xFF}),                                  // 65535 entries claimed
      Cut(tiff, 30),                                             // entry cut in half
      {'M', 'M', 0, 42, 0, 0, 0, 8},                             // no IFD at all
  };
  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(ReadOrientation(cases[i]), 1) << i;
}

TEST(HeaderSize, EachFormatsHeaderAndNothingWhenItIsCutOrUnknown) {
  Bytes gif = GifHeader(100, 80, 10, 20, 300, 40);
  Bytes bmp_top_down = bmptest::BuildBmp({.width = 7, .height = -5, .data = Bytes(5 * 24)});
  Bytes bmp_core = bmptest::BuildBmp({.header_size = 12, .width = 9, .height = 4});
  Bytes progressive =
      Jpeg({Segment(0xE0, {1, 2, 3}), Segment(0xC4, {0, 0}), Segment(0xC2, Sof(4032, 3024))});
  struct Case {
    Bytes file;
    std::optional<HeaderSize> size;
  };
  const std::vector<Case> cases = {
      {PngHeader(40000, 3), HeaderSize{40000, 3}},
      {JpegWithOrientation(true, 1), HeaderSize{40, 30}},
      {progressive, HeaderSize{4032, 3024}},
      {Jpeg({Segment(0xC0, Sof(640, 0))}), std::nullopt},  // the height comes later
      {gif, HeaderSize{310, 80}},                          // the image reaches past the screen
      {Tiff(true, {{256, 3, 1, 5000}, {257, 4, 1, 70000}}), HeaderSize{5000, 70000}},
      {Tiff(false, {{257, 3, 1, 12}, {256, 4, 1, 34}}), HeaderSize{34, 12}},
      {bmp_top_down, HeaderSize{7, 5}},
      {bmp_core, HeaderSize{9, 4}},
      {Cut(PngHeader(5, 5), 20), std::nullopt},
      {Cut(gif, 8), std::nullopt},
      {Tiff(false, {{256, 3, 1, 5}}), std::nullopt},
      {{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P'}, std::nullopt},
  };
  for (size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(ReadHeaderSize(cases[i].file), cases[i].size) << i;

  EXPECT_FALSE(ExceedsPictureLimits(kMaxSide, kMaxPixels / kMaxSide));
  EXPECT_TRUE(ExceedsPictureLimits(kMaxSide + 1, 1));
  EXPECT_TRUE(ExceedsPictureLimits(1, kMaxSide + 1));
  EXPECT_TRUE(ExceedsPictureLimits(kMaxSide, kMaxPixels / kMaxSide + 1));
  EXPECT_TRUE(ExceedsPictureLimits(int64_t{1} << 32, int64_t{1} << 32));
}

// An ftyp box: its size (or 1 and a 64-bit one, or 0 for "to the end"), major brand, minor
// version, compatible brands; then `after` more bytes of the file.
Bytes Ftyp(const std::string& brands, uint32_t size_field = 0xFFFFFFFF, bool large = false,
           size_t after = 8) {
  Bytes out;
  const uint64_t size = (large ? 16 : 8) + 4 + brands.size();  // brands holds major + compatible
  PutInt(out, size_field == 0xFFFFFFFF ? (large ? 1 : size) : size_field, 4, true);
  out.insert(out.end(), {'f', 't', 'y', 'p'});
  if (large) PutInt(out, size, 8, true);
  out.insert(out.end(), brands.begin(), brands.begin() + 4);
  out.insert(out.end(), {0, 0, 2, 0});  // minor version
  out.insert(out.end(), brands.begin() + 4, brands.end());
  out.resize(out.size() + after, 0);
  return out;
}

TEST(MediaBrand, HeifAvifOrNeitherFromTheFtypBox) {
  using enum MediaBrand;
  Bytes minor_only = Ftyp("isommp41");
  std::copy_n("heic", 4, minor_only.begin() + 12);  // the minor version is no brand
  struct Case {
    Bytes file;
    MediaBrand brand;
  };
  const Case cases[] = {
      {Ftyp("heicmif1heic"), kHeif},  // an iPhone's
      {Ftyp("heix"), kHeif},
      {Ftyp("hevc"), kHeif},
      {Ftyp("heim"), kHeif},
      {Ftyp("heis"), kHeif},
      {Ftyp("msf1"), kHeif},
      {Ftyp("mif1heic"), kHeif},
      {Ftyp("mif1"), kHeif},              // the general brand alone
      {Ftyp("avifmif1miafMA1B"), kAvif},  // an AVIF is HEIF too, but not coded with HEVC
      {Ftyp("mif1avif"), kAvif},
      {Ftyp("avis"), kAvif},
      {Ftyp("mif1avifheic"), kHeif},      // HEVC named: the iPhone's remedy applies
      {Ftyp("isomiso2avc1mp41"), kNone},  // an MP4 video
      {Ftyp("qt  "), kNone},
      {minor_only, kNone},
      {Ftyp("isommif1", 1, true), kHeif},         // a 64-bit box size
      {Ftyp("isommif1", 0), kHeif},               // to the end of the file
      {Ftyp("isomheic", 16), kNone},              // "heic" lies past the box's end
      {Ftyp("isomheic", 4000, false, 0), kHeif},  // the box is cut short: what is there counts
      {Cut(Ftyp("heic"), 15), kNone},
      {Ftyp("heic", 1, true, 0), kHeif},
      {Cut(Ftyp("heic", 1, true, 0), 15), kNone},
      {JpegWithOrientation(false, 6), kNone},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ReadMediaBrand(cases[i].file), cases[i].brand) << i;
}

// An upright 3 x 2 picture whose pixels are all different.
RgbaImage Reference() {
  RgbaImage img = RgbaImage::Create(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) img.Pixel(x, y)[0] = static_cast<uint8_t>(10 * y + x);
  return img;
}

// What a camera stores for each orientation, from the EXIF reading of the tag: the visual side
// the stored 0th row lies along, and the one its 0th column lies along.
RgbaImage AsStored(const RgbaImage& ref, int orientation) {
  enum Side { kTop, kBottom, kLeft, kRight };
  static constexpr Side kRowSide[] = {kTop, kTop, kBottom, kBottom, kLeft, kRight, kRight, kLeft};
  static constexpr Side kColSide[] = {kLeft, kRight, kRight, kLeft, kTop, kTop, kBottom, kBottom};
  const Side rs = kRowSide[orientation - 1], cs = kColSide[orientation - 1];
  const bool rows_across = rs == kTop || rs == kBottom;
  RgbaImage out =
      RgbaImage::Create(rows_across ? ref.width : ref.height, rows_across ? ref.height : ref.width);
  // A stored index counts away from its side: which visual axis (0 x, 1 y) it runs along, and
  // the coordinate it gives there.
  auto along = [&](Side side, int i) -> std::pair<int, int> {
    switch (side) {
      case kTop:
        return {1, i};
      case kBottom:
        return {1, ref.height - 1 - i};
      case kLeft:
        return {0, i};
      default:
        return {0, ref.width - 1 - i};
    }
  };
  for (int r = 0; r < out.height; ++r) {
    for (int c = 0; c < out.width; ++c) {
      int xy[2] = {};
      const auto [row_axis, row_at] = along(rs, r);
      const auto [col_axis, col_at] = along(cs, c);
      xy[row_axis] = row_at;
      xy[col_axis] = col_at;
      out.Pixel(c, r)[0] = ref.Pixel(xy[0], xy[1])[0];
    }
  }
  return out;
}

TEST(Upright, EachOrientationGivesThePictureTheCameraSaw) {
  const RgbaImage ref = Reference();
  for (int o = 1; o <= 8; ++o) {
    const RgbaImage up = Upright(AsStored(ref, o), o);
    EXPECT_EQ(up.width, 3) << o;
    EXPECT_EQ(up.height, 2) << o;
    EXPECT_EQ(up.bgra, ref.bgra) << o;
  }
  EXPECT_EQ(Upright(ref, 0).bgra, ref.bgra);
  EXPECT_EQ(Upright(ref, 9).bgra, ref.bgra);
}

class FakeDecoder : public PixelDecoder {
 public:
  DecodedPixels DecodePixels(std::span<const uint8_t>) override {
    ++calls;
    if (refusal) throw ImportError(refusal);
    return {picture, orientation};
  }
  RgbaImage picture;
  int orientation = 0;
  const char* refusal = nullptr;
  int calls = 0;
};

std::string Refusal(std::span<const uint8_t> file, PixelDecoder& decoder) {
  try {
    DecodeUpright(file, decoder);
  } catch (const ImportError& e) {
    return e.what();
  }
  return "";
}

// A platform without the decoder: the format is named with its remedy; any other failure, and
// any other file, keeps its own reason. With the decoder, HEIF comes upright by the
// orientation the decoder reports, as its container has no EXIF of ours to read.
TEST(Upright, HeifAndAvifTheDecoderCannotReadSayWhatToDo) {
  FakeDecoder decoder;
  struct Case {
    Bytes file;
    const char* decoder_says;
    const char* reason;
  };
  const Case cases[] = {
      {Ftyp("heicmif1heic"), kMsgNotAPicture, kMsgHeifPhoto},
      {Ftyp("avifmif1miaf"), kMsgNotAPicture, kMsgAvifPicture},
      {Ftyp("isommp41"), kMsgNotAPicture, kMsgNotAPicture},
      {Jpeg({}), kMsgNotAPicture, kMsgNotAPicture},
      {Ftyp("heicmif1heic"), kMsgNoImagingComponent, kMsgNoImagingComponent},
      {Ftyp("heicmif1heic"), kMsgOutOfMemory, kMsgOutOfMemory},
  };
  for (const Case& c : cases) {
    decoder.refusal = c.decoder_says;
    EXPECT_EQ(Refusal(c.file, decoder), c.reason) << c.decoder_says;
  }
  decoder.refusal = nullptr;
  decoder.picture = AsStored(Reference(), 6);
  decoder.orientation = 6;
  EXPECT_EQ(DecodeUpright(Ftyp("heicmif1heic"), decoder).bgra, Reference().bgra);
  decoder.picture = Reference();
  decoder.orientation = 1;  // turned by the decoder itself: the file's EXIF is not applied again
  EXPECT_EQ(DecodeUpright(JpegWithOrientation(false, 6), decoder).bgra, Reference().bgra);
}

TEST(Upright, HugeHeadersAreRefusedBeforeDecodingAndTheRestComeUpright) {
  FakeDecoder decoder;
  for (const Bytes& huge :
       {PngHeader(9000, 8000), PngHeader(kMaxSide + 1, 1), Jpeg({Segment(0xC0, Sof(65535, 65535))}),
        GifHeader(10, 10, 0, 0, 65535, 65535),
        Tiff(false, {{256, 4, 1, 100000}, {257, 4, 1, 1}})}) {
    try {
      DecodeUpright(huge, decoder);
      ADD_FAILURE() << "not refused";
    } catch (const ImportError& e) {
      EXPECT_STREQ(e.what(), kMsgPictureTooLarge);
    }
  }
  EXPECT_EQ(decoder.calls, 0);
  decoder.picture = AsStored(Reference(), 6);
  EXPECT_EQ(DecodeUpright(JpegWithOrientation(false, 6), decoder).bgra, Reference().bgra);
  EXPECT_EQ(DecodeUpright(Bytes{1, 2, 3}, decoder).bgra, decoder.picture.bgra);
}

}  // namespace
}  // namespace coiffure
