#include <filesystem>
#include <gtest/gtest.h>

#include "desk/desk_rows.h"
#include "desk/preview/preview.h"
#include "pictures/picture_source.h"

namespace coiffure {
namespace {

TEST(Preview, APairFillsTheBoxInsideItsMarginWithItsProportionsKept) {
  struct Case {
    int w, h;
    Rect want;
  };
  for (const Case& c : std::vector<Case>{
           {200, 200, {58, 16, 470, 428}},   // enlarged to the box's height
           {1000, 500, {16, 97, 513, 346}},  // reduced to the box's width
           {497, 412, {16, 16, 513, 428}},
           {1, 1000, {264, 16, 265, 428}},
       }) {
    EXPECT_EQ(PairPreviewRect(c.w, c.h), c.want) << c.w << "x" << c.h;
  }
}

// Values that are not pure black and white show the bitwise rule at work: a blend would differ.
TEST(Preview, APairGoesOverThePhotoByCoiffuresOwnCompositeRule) {
  const Picture photo = Picture::Create24(600, 500, {0xF0, 0x3C, 0xAA});
  Picture mask = Picture::Create24(2, 2, {255, 255, 255}), colour = Picture::Create24(2, 2);
  const Bgr m{0x0F, 0xF0, 0x33}, c{0x40, 0x01, 0x04};
  std::copy_n(&m.b, 3, mask.Row(1) + 3);
  std::copy_n(&c.b, 3, colour.Row(1) + 3);
  Frame frame;
  ComposePairPreview(photo, colour, mask, frame);
  ASSERT_EQ(frame.width, 529);
  ASSERT_EQ(frame.height, 444);
  const Rect r = PairPreviewRect(2, 2);  // (58, 16)-(470, 428): each source pixel 206 wide
  const Bgr p{0xF0, 0x3C, 0xAA};
  EXPECT_EQ(frame.At(r.left, r.top), p);  // white mask, black colour: the photo
  EXPECT_EQ(
      frame.At(r.right - 1, r.bottom - 1),
      (Bgr{uint8_t((p.b & m.b) | c.b), uint8_t((p.g & m.g) | c.g), uint8_t((p.r & m.r) | c.r)}));
  EXPECT_EQ(frame.At(0, 0), p);  // the photo is larger than the box, centred and clipped
}

TEST(Preview, APhotoShowsCentredWithImage3sCornerCovered) {
  const Picture photo = Picture::Create24(333, 444, {1, 2, 3});
  const Picture image3 = Picture::Create24(160, 146, {9, 9, 9});
  Frame frame;
  ComposePhotoPreview(photo, image3, frame);
  struct Case {
    int x, y;
    Bgr want;
  };
  const Bgr ph{1, 2, 3}, i3{9, 9, 9};
  for (const Case& c : std::vector<Case>{{97, 0, kTeal},
                                         {98, 0, ph},
                                         {430, 443, ph},
                                         {431, 10, kTeal},
                                         {100, 297, ph},
                                         {100, 298, i3},
                                         {159, 443, i3},
                                         {160, 443, ph},
                                         {0, 298, i3},
                                         {0, 297, kTeal}}) {
    EXPECT_EQ(frame.At(c.x, c.y), c.want) << c.x << "," << c.y;
  }
  ComposePhotoPreview(photo, Picture(), frame);  // no artwork: still shown as covered
  EXPECT_EQ(frame.At(100, 300), (Bgr{192, 192, 192}));
}

class PreviewFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() / ("coiffure-preview-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    Picture::Create24(300, 300, {0, 0, 0}).SaveBmp24(Path("s.bmp"));
    Picture::Create24(300, 300, {255, 255, 255}).SaveBmp24(Path("smask.bmp"));
    Picture::Create24(529, 444, {5, 6, 7}).SaveBmp24(Path("test.bmp"));
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  std::filesystem::path dir;
};

TEST_F(PreviewFiles, RowsNameTheirFilesAndTheCaptionSaysWhatIsShownOrWhyNot) {
  ImportResult style{"C:\\in\\s.png", true, "s.bmp", ""};
  const DeskRow style_row = StyleRow(style, Path(""));
  EXPECT_EQ(style_row.file, "s.png");
  EXPECT_EQ(style_row.preview.mask, Path("smask.bmp"));
  const DeskRow photo_row = PhotoRow({"D:\\p.jpg", true, {529, 444}, ""}, Path("test.bmp"));
  const DeskRow refused = StyleRow({"x.gif", false, "", kMsgNotAPicture}, Path(""));
  EXPECT_FALSE(refused.ok);
  DeskRow gone = style_row;
  gone.preview.colour = Path("gone.bmp");

  struct Case {
    DeskRow row;
    std::string photo_path, caption_start;
    Bgr centre;
  };
  const Bgr teal = kTeal, photo{5, 6, 7};
  for (const Case& c : std::vector<Case>{
           {style_row, Path("test.bmp"), "发型叠在当前的顾客照片上", photo},
           {style_row, Path("none.bmp"), "没有找到顾客照片", teal},
           {gone, Path("test.bmp"), "无法读取要预览的图片", teal},
           {photo_row, "", "顾客照片在 Coiffure 图片区中的样子", photo},
           {refused, Path("test.bmp"), "没有可以预览的内容", teal},
       }) {
    Frame frame;
    const std::string caption = ComposePreview(c.row.preview, c.photo_path, Picture(), frame);
    EXPECT_EQ(caption.rfind(c.caption_start, 0), 0u) << caption;
    EXPECT_EQ(frame.At(264, 222), c.centre) << caption;  // the white mask lets it through
  }
  const std::vector<DeskRow> rows = {photo_row, style_row, photo_row};
  EXPECT_EQ(RowCaption(rows, 0, "x"), "这张照片已被后来换上的照片取代，下面是现在的顾客照片。x");
  EXPECT_EQ(RowCaption(rows, 1, "x"), "x");
  EXPECT_EQ(RowCaption(rows, 2, "x"), "x");
  // A refusal says what was refused and why, in the words of its kind.
  const DeskRow refused_photo = PhotoRow({"D:\\p.jpg", false, {}, kMsgNotAPicture}, "");
  const DeskRow stopped = StyleRow({"C:\\in\\w.jpg", false, "", kMsgStopped}, Path(""));
  struct Refusal {
    DeskRow row;
    std::string caption;
  };
  for (const Refusal& r : std::vector<Refusal>{
           {refused_photo, std::string("未换照片：") + kMsgNotAPicture + "。顾客照片没有改变。"},
           {stopped, "未导入：已停止。没有可以预览的内容。"},
           {UnusedPhotoRow("D:\\q.jpg"),
            "未使用：一次只能换一张顾客照片。顾客照片只用了第一个文件。"},
       }) {
    EXPECT_EQ(RowCaption({r.row}, 0, "composed"), r.caption);
  }
  EXPECT_EQ(stopped.path, "C:\\in\\w.jpg");
  // An import that looks like a photo of a person says so and offers the cut-out.
  ImportResult person = style;
  person.note = kNoteLooksLikePhoto;
  const DeskRow offer = StyleRow(person, Path(""));
  EXPECT_TRUE(offer.offers_cutout);
  EXPECT_FALSE(style_row.offers_cutout);
  EXPECT_EQ(offer.result, "已导入为 s.bmp（像是人物照片）");
  EXPECT_EQ(RowCaption({offer}, 0, "composed"), kCaptionOffersCutout);
}

TEST(DeskRows, AJobsSummaryCountsWhatWasDoneAndWhatWasNot) {
  using K = DeskRow::Kind;
  struct Case {
    K kind;
    JobCounts counts;
    std::string want;
  };
  for (const Case& c : std::vector<Case>{
           {K::kStyle, {12, 1, 27}, "已停止：已导入 12 个发型，28 个没有导入（见红色行）。"},
           {K::kVariant, {3, 1, 0}, "完成：已生成 3 款新发型，1 款没有生成（见红色行）。"},
           {K::kPhoto, {0, 1, 0}, "完成：顾客照片没有更换（见红色行）。"},
       }) {
    EXPECT_EQ(JobSummary(c.kind, c.counts), c.want);
  }
}

// Whole when it fits, else both ends kept around the mark, whole characters only.
TEST(DeskRows, ALongNameIsShortenedInItsMiddleToWhatFits) {
  const auto at_most = [](size_t n) {
    return [n](const std::string& s) {
      size_t chars = 0;
      for (unsigned char c : s) chars += (c & 0xC0) != 0x80;
      return chars <= n;
    };
  };
  struct Case {
    std::string text;
    size_t room;  // in characters, the mark included
    std::string want;
  };
  for (const Case& c : std::vector<Case>{
           {"short.png", 9, "short.png"},
           {"abcdefghij.png", 9, "ab…ij.png"},
           {"长发波浪卷发型第一款_2.png", 10, "长发波…_2.png"},
           {"长发波浪卷发型第一款_3.png", 10, "长发波…_3.png"},
           {"没有扩展名的很长的名字", 5, "没有…名字"},
           {"x.png", 3, "…ng"},
           {"ab", 1, "…"},
       }) {
    EXPECT_EQ(FitInMiddle(c.text, at_most(c.room)), c.want) << c.text;
  }
}

}  // namespace
}  // namespace coiffure
