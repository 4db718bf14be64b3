// Marks kept between uses come back only onto the photo they were drawn on.
#include "cutout/marks_file.h"

#include <functional>
#include <gtest/gtest.h>

namespace coiffure::cutout {
namespace {

Sketch Drawn() {
  Sketch sketch;
  sketch.box = Box{20, 10, 300, 200};
  sketch.strokes = {{{{40, 40}, {200, 60}}, 6, Mark::kHair}, {{{250, 180}}, 9, Mark::kNotHair}};
  return sketch;
}

TEST(MarksFile, TheSketchComesBackOnTheSamePhotoAndOnNoOther) {
  const std::vector<uint8_t> file = EncodeSketch(Drawn(), 0xC0FFEE, 320, 240);
  const std::optional<Sketch> back = DecodeSketch(file, 0xC0FFEE, 320, 240);
  ASSERT_TRUE(back);
  EXPECT_EQ(MarksOf(*back, 320, 240).labels, MarksOf(Drawn(), 320, 240).labels);
  EXPECT_EQ(back->strokes.size(), 2u);
  EXPECT_FALSE(DecodeSketch(file, 0xC0FFEF, 320, 240));
  EXPECT_FALSE(DecodeSketch(file, 0xC0FFEE, 240, 320));
  EXPECT_TRUE(DecodeSketch(EncodeSketch({}, 1, 5, 5), 1, 5, 5));
}

// Files that are not quite what EncodeSketch wrote, each refused rather than half read.
TEST(MarksFile, AnyDamageIsRefused) {
  const std::vector<uint8_t> good = EncodeSketch(Drawn(), 7, 320, 240);
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
  };
  const Case cases[] = {
      {"empty", [](auto& f) { f.clear(); }},
      {"magic", [](auto& f) { f[0] = 'X'; }},
      {"cut in the header", [](auto& f) { f.resize(10); }},
      {"cut in a stroke", [](auto& f) { f.resize(f.size() - 1); }},
      {"a byte too many", [](auto& f) { f.push_back(0); }},
      {"a box flag of 2", [](auto& f) { f[20] = 2; }},
      {"a stroke of no kind", [](auto& f) { f[41] = 3; }},
      {"a billion strokes", [](auto& f) { f[40] = 0xFF; }},
      {"a box past the photo", [](auto& f) { f[30] = 0x10; }},
      {"a box turned inside out", [](auto& f) { f[29] = 0, f[30] = 0; }},
      {"a radius that is no number", [](auto& f) { f[44] = 0xC0, f[45] = 0x7F; }},
      {"a point far outside", [](auto& f) { f[52] = 0x80, f[53] = 0x4F; }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = good;
    c.damage(file);
    EXPECT_FALSE(DecodeSketch(file, 7, 320, 240)) << c.what;
  }
}

// A marks picture read from a file becomes a sketch that gives the same marks.
TEST(MarksFile, MarksFromAPictureBecomeASketchOfTheSameMarks) {
  for (const Sketch& drawn : {Drawn(), Sketch{std::nullopt, Drawn().strokes}}) {
    const Marks marks = MarksOf(drawn, 320, 240);
    EXPECT_EQ(MarksOf(SketchOf(marks), 320, 240).labels, marks.labels);
  }
}

}  // namespace
}  // namespace coiffure::cutout
