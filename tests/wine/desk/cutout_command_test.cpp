// "/matte" and "/cutout" as the real program runs them: the matte file as the platform's own
// decoder reads it, marks drawn on a phone photo as stored or upright, and every bad input
// refused with its line and exit code 1, leaving what was there.
#include <windows.h>

#include <wincodec.h>

#include <gtest/gtest.h>

#include "pictures/upright.h"
#include "pictures/wic_win.h"
#include "toolkit/text_win.h"
#include "wine/picture_files.h"
#include "wine/wine_helpers.h"

namespace coiffure::testing {
namespace {

struct Grey {
  UINT width = 0, height = 0;
  bool eight_bit_grey = false;
  std::vector<uint8_t> bytes;
};

// The file through the platform's decoder, in the format it reports, as grey bytes.
Grey ReadGrey(const std::string& path) {
  ScopedCom com;
  Grey g;
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICBitmapSource* grey = nullptr;
  WICPixelFormatGUID format{};
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromFilename(Widen(path).c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetPixelFormat(&format)) &&
      SUCCEEDED(frame->GetSize(&g.width, &g.height)) &&
      SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat8bppGray, frame, &grey))) {
    g.eight_bit_grey = format == GUID_WICPixelFormat8bppGray;
    g.bytes.resize(size_t{g.width} * g.height);
    if (FAILED(grey->CopyPixels(nullptr, g.width, UINT(g.bytes.size()), g.bytes.data())))
      g.bytes.clear();
  }
  for (IUnknown* p : std::initializer_list<IUnknown*>{grey, frame, decoder, factory})
    if (p) p->Release();
  return g;
}

// Marks for the astronaut of ml_data\test.bmp (512 x 512): a box around her head, red on the
// top of her hair, blue on her face and on the wall beside her hair; grey elsewhere in the box.
RgbaImage HeadMarks(int w = 512, int h = 512, bool red = true) {
  RgbaImage m = Plain(w, h, {0, 0, 0, 255});
  const auto fill = [&](int x0, int y0, int x1, int y1, std::array<uint8_t, 4> c) {
    for (int y = y0; y < std::min(y1, h); ++y)
      for (int x = x0; x < std::min(x1, w); ++x) std::copy_n(c.begin(), 4, m.Pixel(x, y));
  };
  fill(130, 5, 320, 200, {128, 128, 128, 255});
  if (red) fill(200, 25, 260, 45, {0, 0, 255, 255});
  fill(200, 110, 250, 150, {255, 0, 0, 255});
  fill(135, 10, 150, 40, {255, 0, 0, 255});
  return m;
}

class CutoutCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    exe = StageImportProgram(folder.Path(""));
    photo = folder.Path("ml_data\\test.bmp");
    WriteWithWic(folder.Path("marks.png"), GUID_ContainerFormatPng, HeadMarks());
  }
  DWORD Run(const std::wstring& args, std::string* out) {
    return RunImportProgram(exe, L"/quiet " + args, folder.Path("out.txt"), out);
  }
  std::wstring Q(const std::string& name) { return L"\"" + Widen(folder.Path(name)) + L"\""; }
  TempFolder folder;
  std::string exe, photo;
};

TEST_F(CutoutCommand, TheMatteIsAnEightBitGreyPngOfThePhotosSizeThatKeepsTheStrokes) {
  std::string out;
  ASSERT_EQ(
      Run(L"/matte " + Q("marks.png") + L" " + Q("ml_data\\test.bmp") + L" " + Q("m.png"), &out),
      0u);
  EXPECT_EQ(out, folder.Path("m.png") + "：已写出蒙版（512 × 512）\r\n");
  const Grey g = ReadGrey(folder.Path("m.png"));
  EXPECT_TRUE(g.eight_bit_grey);
  ASSERT_EQ(g.width, 512u);
  ASSERT_EQ(g.height, 512u);
  ASSERT_EQ(g.bytes.size(), 512u * 512u);
  const RgbaImage marks = HeadMarks();
  size_t hair = 0;
  for (size_t i = 0; i < g.bytes.size(); ++i) {
    const uint8_t* m = &marks.bgra[4 * i];
    if (m[2] == 255) {
      EXPECT_GE(g.bytes[i], 128) << i;
    } else if (m[0] != 128) {
      EXPECT_EQ(g.bytes[i], 0) << i;  // not hair, or outside the box
    }
    hair += g.bytes[i] >= 128;
  }
  EXPECT_GT(hair, 60u * 40u) << "more than the stroke";
  // The same marks cut the same hair out as a style named after the photo.
  ASSERT_EQ(Run(L"/cutout " + Q("marks.png") + L" " + Q("ml_data\\test.bmp"), &out), 0u);
  EXPECT_EQ(out, photo + "：已导入为 test.bmp\r\n");
  EXPECT_EQ(FilesIn(folder.Path("ml_fx")), (std::vector<std::string>{"test.bmp", "testmask.bmp"}));
}

TEST_F(CutoutCommand, MarksOnAPhoneFileAsStoredOrUprightGiveTheSameMatte) {
  RgbaImage stored = Plain(64, 48, {200, 210, 220, 255});
  for (int y = 10; y < 40; ++y)
    for (int x = 5; x < 30; ++x) std::copy_n("\x1e\x28\x3c\xff", 4, stored.Pixel(x, y));
  WriteWithWic(folder.Path("phone.jpg"), GUID_ContainerFormatJpeg, stored);
  AddJpegOrientation(folder.Path("phone.jpg"), 6);
  RgbaImage marks = Plain(64, 48, {128, 128, 128, 255});
  for (int y = 20; y < 30; ++y)
    for (int x = 10; x < 20; ++x) std::copy_n("\x00\x00\xff\xff", 4, marks.Pixel(x, y));
  for (int y = 20; y < 30; ++y)
    for (int x = 45; x < 55; ++x) std::copy_n("\xff\x00\x00\xff", 4, marks.Pixel(x, y));
  WriteWithWic(folder.Path("stored.png"), GUID_ContainerFormatPng, marks);
  WriteWithWic(folder.Path("upright.png"), GUID_ContainerFormatPng, Upright(marks, 6));
  std::string out;
  EXPECT_EQ(Run(L"/matte " + Q("stored.png") + L" " + Q("phone.jpg") + L" " + Q("a.png") +
                    L" /matte " + Q("upright.png") + L" " + Q("phone.jpg") + L" " + Q("b.png"),
                &out),
            0u);
  EXPECT_EQ(out, folder.Path("a.png") + "：已写出蒙版（48 × 64）\r\n" + folder.Path("b.png") +
                     "：已写出蒙版（48 × 64）\r\n");
  EXPECT_EQ(ReadBytes(folder.Path("a.png")), ReadBytes(folder.Path("b.png")));
  EXPECT_EQ(ReadGrey(folder.Path("a.png")).width, 48u);
}

TEST_F(CutoutCommand, BadInputIsRefusedWithItsLineAndLeavesWhatWasThere) {
  WriteWithWic(folder.Path("small.png"), GUID_ContainerFormatPng, HeadMarks(511, 512));
  WriteWithWic(folder.Path("blue.png"), GUID_ContainerFormatPng, HeadMarks(512, 512, false));
  WriteBytes(folder.Path("text.png"), "not a picture");
  WriteBytes(folder.Path("m.png"), "kept");
  const std::string no = "：未写出蒙版：";
  struct Case {
    std::wstring args;
    std::string line;
  };
  const std::wstring photo_arg = L" " + Q("ml_data\\test.bmp") + L" " + Q("m.png");
  const Case cases[] = {
      {L"/matte " + Q("small.png") + photo_arg,
       folder.Path("small.png") + no + "标记图的大小与照片不同"},
      {L"/matte " + Q("blue.png") + photo_arg,
       folder.Path("blue.png") + no + "标记图上没有头发笔画（纯红色）"},
      {L"/matte " + Q("text.png") + photo_arg, folder.Path("text.png") + no + kMsgNotAPicture},
      {L"/matte " + Q("marks.png") + L" " + Q("none.jpg") + L" " + Q("m.png"),
       folder.Path("none.jpg") + no + kMsgCannotOpenPicture},
      {L"/matte " + Q("marks.png") + L" " + Q("ml_data\\test.bmp") + L" " + Q("no\\m.png"),
       folder.Path("no\\m.png") + no + "无法写入这个文件"},
      {L"/matte " + Q("marks.png") + L" " + Q("ml_data\\test.bmp"),
       "/matte：需要三个文件：标记图、照片和要写出的 PNG 文件"},
      {L"/cutout " + Q("blue.png") + L" " + Q("ml_data\\test.bmp"),
       folder.Path("blue.png") + "：未导入：标记图上没有头发笔画（纯红色）"},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(Run(c.args, &out), 1u) << c.line;
    EXPECT_EQ(out, c.line + "\r\n");
  }
  EXPECT_EQ(ReadBytes(folder.Path("m.png")), "kept");
  EXPECT_TRUE(FilesIn(folder.Path("ml_fx")).empty());
}

}  // namespace
}  // namespace coiffure::testing
