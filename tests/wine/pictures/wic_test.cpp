// Pictures through the platform's decoder: turned upright and huge ones refused from files the
// platform's own encoders wrote.
#include <windows.h>

#include <wincodec.h>

#include <gtest/gtest.h>

#include "native/exif_builder.h"
#include "pictures/wic_win.h"
#include "wine/picture_files.h"
#include "wine/wine_helpers.h"

namespace coiffure {
namespace {

using namespace testing;

TEST(DeskPictures, TiffOrientationAndHugeHeadersAreReadFromTheFilesOwnBytes) {
  TempFolder folder;
  ScopedCom com;
  WicPictureSource wic;
  // Orientation 8: stored a quarter turn clockwise, so the stored top-right pixel is the
  // upright top-left one.
  RgbaImage stored = Plain(30, 20, {0, 0, 0, 255});
  stored.Pixel(29, 0)[2] = 255;
  const std::string tiff = folder.Path("turned.tif");
  WriteWithWic(tiff, GUID_ContainerFormatTiff, stored);
  AddTiffOrientation(tiff, 8);
  const RgbaImage up = wic.Decode(tiff);
  ASSERT_EQ(up.width, 20);
  ASSERT_EQ(up.height, 30);
  EXPECT_EQ(up.Pixel(0, 0)[2], 255);
  EXPECT_EQ(up.Pixel(19, 0)[2], 0);

  // Headers that claim a huge picture over data cut short: the platform's decoders fail on the
  // data (they decode PNG, JPEG and GIF whole before telling the size), so only a refusal from
  // the header says "too large".
  using namespace exiftest;
  Bytes png = PngHeader(20000, 20000);
  png.insert(png.end(), {0, 0, 0, 16, 'I', 'D', 'A', 'T', 0x78, 0x9C, 0x62, 0x60});
  const Bytes jpeg = Jpeg({Segment(0xC0, Sof(30000, 30000))});
  const Bytes gif = GifHeader(30000, 30000, 0, 0, 30000, 30000);
  const Bytes tif = Tiff(false, {{256, 4, 1, 30000},
                                 {257, 4, 1, 30000},
                                 {258, 3, 1, 8},
                                 {262, 3, 1, 1},
                                 {273, 4, 1, 4096},
                                 {279, 4, 1, 900000000}});
  for (const auto& [name, bytes] :
       {std::pair{"huge.png", png}, {"huge.jpg", jpeg}, {"huge.gif", gif}, {"huge.tif", tif}}) {
    WriteBytes(folder.Path(name), std::string(bytes.begin(), bytes.end()));
    try {
      wic.Decode(folder.Path(name));
      ADD_FAILURE() << name;
    } catch (const ImportError& e) {
      EXPECT_STREQ(e.what(), kMsgPictureTooLarge) << name;
    }
  }
}

// The start of a file as a phone writes it: the ftyp box, then a meta box with its handler
// ("pict") and primary item, then item data the decoder would need.
std::string IsoMediaFile(const std::string& brands) {
  auto box = [](const std::string& type, const std::string& body) {
    const uint32_t size = static_cast<uint32_t>(8 + body.size());
    return std::string{char(size >> 24), char(size >> 16), char(size >> 8), char(size)} + type +
           body;
  };
  const std::string full(4, '\0');  // a full box's version and flags
  const std::string hdlr =
      box("hdlr", full + std::string(4, '\0') + "pict" + std::string(13, '\0'));
  const std::string pitm = box("pitm", full + std::string("\0\1", 2));
  return box("ftyp", brands.substr(0, 4) + std::string(4, '\0') + brands.substr(4)) +
         box("meta", full + hdlr + pitm) + box("mdat", std::string(4096, '\x5a'));
}

// This platform has no HEIF or AVIF decoder: each is refused with its own reason, and a video
// in the same container is "not a picture".
TEST(DeskPictures, HeifAndAvifWithoutTheirDecoderAreNamedWithTheRemedy) {
  TempFolder folder;
  ScopedCom com;
  WicPictureSource wic;
  struct Case {
    const char *name, *brands, *reason;
  };
  for (const Case& c : {Case{"IMG_0001.HEIC", "heicmif1heic", kMsgHeifPhoto},
                        Case{"photo.heif", "mif1heic", kMsgHeifPhoto},
                        Case{"photo.avif", "avifmif1miafMA1B", kMsgAvifPicture},
                        Case{"clip.png", "isomiso2avc1mp41", kMsgNotAPicture}}) {
    WriteBytes(folder.Path(c.name), IsoMediaFile(c.brands));
    try {
      wic.Decode(folder.Path(c.name));
      ADD_FAILURE() << c.name;
    } catch (const ImportError& e) {
      EXPECT_STREQ(e.what(), c.reason) << c.name;
    }
  }
}

}  // namespace
}  // namespace coiffure
