// "/matte" and "/cutout" without a window: the marks as drawn on the photo as stored or upright,
// every refusal on the line of the file at fault. (The matte file's bytes are read back by the
// platform's decoder in the integration tests.)

#include <gtest/gtest.h>

#include "cutout/marks.h"
#include "desk/command_run.h"
#include "native/import_fakes.h"
#include "pictures/upright.h"

namespace coiffure {
namespace {

using importtest::FakeFolder;
using Names = std::vector<std::string>;

// A photo the orientation of a phone held upright: dark hair at the top, a light wall around.
RgbaImage Photo() {
  RgbaImage img = RgbaImage::Create(48, 64);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const bool hair = y < 30 && x > 8 && x < 40;
      uint8_t* p = img.Pixel(x, y);
      p[0] = hair ? 30 : 200, p[1] = hair ? 40 : 210, p[2] = hair ? 60 : 220, p[3] = 255;
    }
  return img;
}

// Red on the hair, blue on the wall below it, black outside a box; grey undecided.
RgbaImage Marks(int w, int h, bool red = true) {
  RgbaImage img = RgbaImage::Create(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = img.Pixel(x, y);
      const bool box = x > 2 && x < w - 3 && y > 2 && y < h - 3;
      const uint8_t grey = box ? 128 : 0;
      p[0] = p[1] = p[2] = grey;
      if (red && x >= 20 && x < 28 && y >= 10 && y < 18) p[0] = 0, p[1] = 0, p[2] = 255;
      if (x >= 20 && x < 28 && y >= 44 && y < 50) p[0] = 255, p[1] = 0, p[2] = 0;
    }
  return img;
}

// Pictures handed out upright with the turn they took, as the platform's source does.
class TurningSource : public importtest::FakeSource {
 public:
  TurnedPicture DecodeTurned(const std::string& path) override {
    return {Decode(path), turns.count(path) ? turns[path] : 1};
  }
  std::map<std::string, int> turns;
};

class CutoutCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    source.pictures["photo.jpg"] = Photo();
    source.pictures["phone.jpg"] = Photo();
    source.turns["phone.jpg"] = 6;  // stored lying on its side
    source.pictures["marks.png"] = Marks(48, 64);
    // Drawn on the stored picture: turning it as the photo is turned gives the upright marks.
    source.pictures["stored.png"] = Upright(Marks(48, 64), 8);
    source.pictures["small.png"] = Marks(47, 64);
    source.pictures["blue.png"] = Marks(48, 64, false);
  }
  int Run(const std::vector<CutoutCommand>& cuts) {
    const auto write = [&](const std::string& path, std::span<const uint8_t> bytes) {
      if (path.find("readonly") != std::string::npos) throw ImportError(kMsgCannotWriteFile);
      written[path].assign(bytes.begin(), bytes.end());
    };
    return RunCutouts(cuts, source, library, write, [&](auto l) { lines.push_back(l); });
  }
  TurningSource source;
  FakeFolder library;
  Names lines;
  std::map<std::string, std::vector<uint8_t>> written;
};

TEST_F(CutoutCommands, EachCommandSaysWhatItDidOrWhichFileIsAtFaultAndWhy) {
  struct Case {
    CutoutCommand cut;
    std::string line;
  };
  const std::string no_matte = "：未写出蒙版：", no_import = "：未导入：";
  const Case cases[] = {
      {{false, {"marks.png", "photo.jpg", "o.png"}}, "o.png：已写出蒙版（48 × 64）"},
      {{false, {"stored.png", "phone.jpg", "o.png"}}, "o.png：已写出蒙版（48 × 64）"},
      {{false, {"small.png", "photo.jpg", "o.png"}},
       "small.png" + no_matte + cutout::kMsgMarksOtherSize},
      {{false, {"stored.png", "photo.jpg", "o.png"}},
       "stored.png" + no_matte + cutout::kMsgMarksOtherSize},
      {{false, {"blue.png", "photo.jpg", "o.png"}},
       "blue.png" + no_matte + cutout::kMsgMarksNoHair},
      {{false, {"none.png", "photo.jpg", "o.png"}}, "none.png" + no_matte + kMsgNotAPicture},
      {{false, {"marks.png", "none.jpg", "o.png"}}, "none.jpg" + no_matte + kMsgNotAPicture},
      {{false, {"marks.png", "photo.jpg", "readonly\\o.png"}},
       "readonly\\o.png" + no_matte + kMsgCannotWriteFile},
      {{false, {"marks.png", "photo.jpg"}}, std::string("/matte：") + kMsgMatteFilesMissing},
      {{true, {"marks.png"}}, std::string("/cutout：") + kMsgCutoutFilesMissing},
      {{true, {"blue.png", "photo.jpg"}}, "blue.png" + no_import + cutout::kMsgMarksNoHair},
      {{true, {"marks.png", "photo.jpg"}}, "photo.jpg：已导入为 photo.bmp"},
  };
  for (const Case& c : cases) {
    lines.clear();
    EXPECT_EQ(Run({c.cut}), c.line.find("：已") == std::string::npos ? 1 : 0) << c.line;
    EXPECT_EQ(lines, Names{c.line});
  }
  EXPECT_EQ(library.Names(), (Names{"photo.bmp", "photomask.bmp"}));
}

}  // namespace
}  // namespace coiffure
