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

}  // namespace
}  // namespace coiffure
