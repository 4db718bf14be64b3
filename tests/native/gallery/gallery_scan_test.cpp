#include <gtest/gtest.h>

#include "gallery/scan.h"
#include "native/gallery_fakes.h"

namespace coiffure {
namespace {

using testing::BmpOf;
using testing::FakeDirectory;
using testing::FakeGallery;
using testing::Node;
using Strings = std::vector<std::string>;

const Bgr kRed{0, 0, 255}, kGreen{0, 255, 0}, kBlue{255, 0, 0}, kGrey{90, 90, 90};

Node Library() {
  Node root;
  root.attributes = kAttrDirectory;
  root.id = "root";
  return root;
}

std::string Message(DirectoryPort& dir, GalleryPort& gallery) {
  try {
    ScanHairLibrary(dir, gallery);
  } catch (const PictureError& e) {
    return e.what();
  }
  return "no error";
}

TEST(LibraryScan, PicturesListedInDirectoryOrderMasksLeftOut) {
  Node root = Library();
  root.AddFile("b.bmp", BmpOf(200, 200, kRed));
  root.AddFile("bmask.bmp", BmpOf(200, 200, kGrey));
  root.AddFile("a.bmp", BmpOf(210, 230, kGreen));
  root.AddFile("amask.bmp", BmpOf(200, 200, kGrey));
  FakeDirectory dir(&root);
  FakeGallery g;
  ScanHairLibrary(dir, g);

  EXPECT_EQ(g.captions, (Strings{"b.bmp", "a.bmp"}));
  EXPECT_EQ(g.image_index, (std::vector<int>{0, 1}));
  EXPECT_EQ(g.cell_colour, (std::vector<Bgr>{kRed, kGreen}));
  // The background goes to black before every addition; the mask files are never read.
  EXPECT_EQ(g.log, (Strings{"bk 0", "thumb", "entry b.bmp", "bk 0", "thumb", "entry a.bmp"}));
  EXPECT_EQ(dir.loads, 2);
  EXPECT_EQ(dir.patterns, (Strings{"*.bmp"}));
  EXPECT_EQ(dir.masks, (std::vector<uint32_t>{0x37}));
  EXPECT_EQ(dir.Where(), "");
}

TEST(LibraryScan, NameRulesDotMaskAndAttributes) {
  Node root = Library();
  const auto pic = BmpOf(200, 200, kBlue);
  for (const char* n : {".x.bmp", "photomask2.bmp", "damask.bmp", "发型mask.bmp", "Mask.bmp",
                        "MASK.bmp", "发型.bmp", "UPPER.BMP", "notes.txt", "a.b.bmp"})
    root.AddFile(n, pic);
  root.AddFile("hidden.bmp", pic, kAttrHidden | kAttrArchive);
  root.AddFile("system.bmp", pic, kAttrSystem | kAttrReadOnly);
  root.AddFile("normal.bmp", pic, 0x80 | 0x2000);  // normal, not content-indexed
  root.AddFile("label.bmp", pic, kAttrVolume);
  FakeDirectory dir(&root);
  FakeGallery g;
  ScanHairLibrary(dir, g);
  EXPECT_EQ(g.captions, (Strings{"Mask.bmp", "MASK.bmp", "发型.bmp", "UPPER.BMP", "a.b.bmp",
                                 "hidden.bmp", "system.bmp", "normal.bmp"}));
}

TEST(LibraryScan, AttributeMaskFiltersOnlyHiddenSystemVolumeAndFolderBits) {
  EXPECT_TRUE(AttributesPass(0x01 | 0x02 | 0x04 | 0x10 | 0x20, kLibraryAttrMask));
  EXPECT_TRUE(AttributesPass(0x80 | 0x400 | 0x800 | 0x2000, kLibraryAttrMask));
  EXPECT_FALSE(AttributesPass(kAttrVolume, kLibraryAttrMask));
  EXPECT_FALSE(AttributesPass(kAttrHidden | kAttrArchive, kAttrArchive));
  EXPECT_FALSE(AttributesPass(kAttrDirectory, kAttrArchive | kAttrHidden));
  EXPECT_TRUE(AttributesPass(kAttrReadOnly | kAttrArchive, 0));
}

TEST(LibraryScan, OnlyFoldersNamedLikePicturesAreSearched) {
  Node root = Library();
  root.AddFile("a.bmp", BmpOf(200, 200, kRed));
  Node* extra = root.AddFolder("extra.bmp", "extra.bmp");
  extra->AddFile("c.bmp", BmpOf(200, 200, kGreen));
  extra->AddFile("cmask.bmp", BmpOf(200, 200, kGrey));
  root.AddFolder("extra", "extra")->AddFile("d.bmp", BmpOf(200, 200, kGrey));
  root.AddFolder(".hidden.bmp", "h")->AddFile("e.bmp", BmpOf(200, 200, kGrey));
  // The mask rule is for files: a folder whose name holds "mask" is still searched.
  root.AddFolder("masks.bmp", "m")->AddFile("f.bmp", BmpOf(200, 200, kBlue));
  root.AddFile("b.bmp", BmpOf(200, 200, kBlue));
  FakeDirectory dir(&root);
  FakeGallery g;
  ScanHairLibrary(dir, g);
  EXPECT_EQ(g.captions, (Strings{"a.bmp", "c.bmp", "f.bmp", "b.bmp"}));
  EXPECT_EQ(g.image_index, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(dir.change_calls.count("extra"), 0u);
  EXPECT_EQ(dir.change_calls.count(".hidden.bmp"), 0u);
  EXPECT_EQ(dir.change_calls[".."], 2);
  EXPECT_EQ(dir.Where(), "");
}

TEST(LibraryScan, NestedLevelsNumberTheWholeGallery) {
  Node root = Library();
  root.AddFile("a.bmp", BmpOf(200, 200, kRed));
  Node* one = root.AddFolder("one.bmp", "1");
  one->AddFile("b.bmp", BmpOf(200, 200, kGreen));
  Node* two = one->AddFolder("two.bmp", "2");
  two->AddFile("c.bmp", BmpOf(200, 200, kBlue));
  one->AddFile("d.bmp", BmpOf(200, 200, kGrey));
  root.AddFile("e.bmp", BmpOf(200, 200, kRed));
  FakeDirectory dir(&root);
  FakeGallery g;
  ScanHairLibrary(dir, g);
  ASSERT_EQ(g.captions, (Strings{"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"}));
  EXPECT_EQ(g.image_index, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(g.cell_colour, (std::vector<Bgr>{kRed, kGreen, kBlue, kGrey, kRed}));
  EXPECT_EQ(dir.Where(), "");
}

TEST(LibraryScanErrors, SmallOrEmptyPicturesStopWithEntriesOnTheFirstThumbnail) {
  struct Case {
    const char* what;
    testing::Bytes bad;
    const char* message;
  };
  const Case cases[] = {
      {"199 x 300", BmpOf(199, 300, kGrey), "Invalid image size"},
      {"300 x 199", BmpOf(300, 199, kGrey), "Invalid image size"},
      {"0 bytes", std::make_shared<const std::vector<uint8_t>>(), "Invalid image size"},
      {"not a bitmap", std::make_shared<const std::vector<uint8_t>>(300, 'x'),
       "Bitmap image is not valid"},
      {"vanished", nullptr, "Cannot open file bad.bmp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Node root = Library();
    root.AddFile("a.bmp", BmpOf(200, 200, kRed));
    root.AddFile("b.bmp", BmpOf(200, 200, kGreen));
    root.AddFile("bad.bmp", c.bad);
    root.AddFile("z.bmp", BmpOf(200, 200, kBlue));
    FakeDirectory dir(&root);
    FakeGallery g;
    EXPECT_EQ(Message(dir, g), c.message);
    EXPECT_EQ(g.captions, (Strings{"a.bmp", "b.bmp"}));
    EXPECT_EQ(g.image_index, (std::vector<int>{0, 0}));
    EXPECT_EQ(g.ThumbnailCount(), 2);
  }
}

TEST(LibraryScanErrors, ErrorInSubFolderKeepsNumbersOfCompletedLevelsAndLeavesFolder) {
  Node root = Library();
  root.AddFile("a.bmp", BmpOf(200, 200, kRed));
  root.AddFolder("one.bmp", "1")->AddFile("b.bmp", BmpOf(200, 200, kGreen));
  root.AddFile("c.bmp", BmpOf(200, 200, kBlue));
  Node* two = root.AddFolder("two.bmp", "2");
  Node* deeper = two->AddFolder("deeper.bmp", "3");
  deeper->AddFile("d.bmp", BmpOf(200, 200, kGrey));
  deeper->AddFile("tiny.bmp", BmpOf(20, 20, kGrey));
  FakeDirectory dir(&root);
  FakeGallery g;
  EXPECT_EQ(Message(dir, g), "Invalid image size");
  EXPECT_EQ(g.captions, (Strings{"a.bmp", "b.bmp", "c.bmp", "d.bmp"}));
  EXPECT_EQ(g.image_index, (std::vector<int>{0, 1, 0, 0}));
  EXPECT_EQ(dir.Where(), "two.bmp/deeper.bmp");
}

TEST(Thumbnails, TopLeftCellOnlyAndWhiteBecomesTransparentBlack) {
  for (const int width : {200, 300, 399}) {
    SCOPED_TRACE(width);
    Picture p = Picture::Create24(width, 250, kGreen);
    for (int y = 0; y < 250; ++y)
      for (int x = 0; x < width; ++x)
        if (x >= 200 || y >= 200) p.Row(y)[3 * x + 2] = 200;  // outside the cell: other colour
    for (int x = 0; x < 8; ++x) std::fill_n(p.Row(5) + 3 * (x + 10), 3, 255);  // white run
    p.Row(6)[3 * 10] = 254;
    p.Row(6)[3 * 10 + 1] = p.Row(6)[3 * 10 + 2] = 255;  // nearly white stays
    std::fill_n(p.Row(199) + 3 * 199, 3, 255);          // last pixel of the cell white

    const Thumbnail t = MakeThumbnail(p);
    ASSERT_EQ(t.image.Width(), 200);
    ASSERT_EQ(t.image.Height(), 200);
    ASSERT_EQ(t.image.BitsPerPixel(), 24);
    ASSERT_EQ(t.mask_stride % 2, 0u);
    int transparent = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) transparent += t.Transparent(x, y);
    EXPECT_EQ(transparent, 9);
    EXPECT_TRUE(t.Transparent(10, 5) && t.Transparent(17, 5) && t.Transparent(199, 199));
    EXPECT_FALSE(t.Transparent(9, 5) || t.Transparent(18, 5) || t.Transparent(10, 6));
    EXPECT_EQ(t.image.PixelBgr(12, 5), (Bgr{0, 0, 0}));
    EXPECT_EQ(t.image.PixelBgr(10, 6), (Bgr{254, 255, 255}));
    EXPECT_EQ(t.image.PixelBgr(199, 198), kGreen);
    EXPECT_EQ(t.image.PixelBgr(0, 199), kGreen);
  }
}

TEST(Thumbnails, WidePictureIsReducedWholeIntoOneCell) {
  // 800 x 400: red left half, blue right half, a white band at the top. Reduced to 200 x 100,
  // centred: rows 50 to 149.
  Picture p = Picture::Create24(800, 400, kBlue);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 400; ++x) {
      uint8_t* px = p.Row(y) + 3 * x;
      px[0] = 0, px[1] = 0, px[2] = 255;
    }
  for (int y = 0; y < 40; ++y) std::fill_n(p.Row(y), 800 * 3, 255);
  const Thumbnail t = MakeThumbnail(p);
  EXPECT_EQ(t.image.PixelBgr(50, 100), (Bgr{0, 0, 255}));
  EXPECT_EQ(t.image.PixelBgr(150, 100), kBlue);
  EXPECT_EQ(t.image.PixelBgr(99, 149), (Bgr{0, 0, 255}));
  EXPECT_EQ(t.image.PixelBgr(100, 149), kBlue);
  // Beside the reduced picture, and its white band, are transparent.
  EXPECT_TRUE(t.Transparent(100, 49));
  EXPECT_TRUE(t.Transparent(100, 150));
  EXPECT_TRUE(t.Transparent(10, 52));  // source rows 8..11: white
  EXPECT_FALSE(t.Transparent(10, 60));
  EXPECT_FALSE(t.Transparent(100, 100));
  int transparent = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) transparent += t.Transparent(x, y);
  EXPECT_EQ(transparent, 200 * 100 + 200 * 10);

  // A picture whose height is the larger side fills the height.
  const Picture tall = ReduceToFit(Picture::Create24(400, 1000, kRed), 200);
  EXPECT_EQ(tall.PixelBgr(100, 0), kRed);
  EXPECT_EQ(tall.PixelBgr(100, 199), kRed);
  EXPECT_EQ(tall.PixelBgr(59, 100), (Bgr{255, 255, 255}));
  EXPECT_EQ(tall.PixelBgr(60, 100), kRed);
  EXPECT_EQ(tall.PixelBgr(139, 100), kRed);
  EXPECT_EQ(tall.PixelBgr(140, 100), (Bgr{255, 255, 255}));
}

TEST(Thumbnails, WidePictureAddsExactlyOneCell) {
  Node root = Library();
  root.AddFile("wide.bmp", BmpOf(650, 650, kBlue));
  root.AddFile("next.bmp", BmpOf(200, 200, kRed));
  FakeDirectory dir(&root);
  FakeGallery g;
  ScanHairLibrary(dir, g);
  EXPECT_EQ(g.ThumbnailCount(), 2);
  EXPECT_EQ(g.image_index, (std::vector<int>{0, 1}));
  EXPECT_EQ(g.cell_colour, (std::vector<Bgr>{kBlue, kRed}));
}

}  // namespace
}  // namespace coiffure
