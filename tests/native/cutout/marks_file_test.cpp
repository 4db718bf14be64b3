// Marks kept between uses come back only onto the photo they were drawn on.
#include "cutout/marks_file.h"

#include <functional>
#include <gtest/gtest.h>

namespace coiffure::cutout {
namespace {

Marks Drawn() {
  Sketch sketch;
  sketch.box = Box{20, 10, 300, 200};
  sketch.strokes = {{{{40, 40}, {200, 60}}, 6, Mark::kHair}, {{{250, 180}}, 9, Mark::kNotHair}};
  return MarksOf(sketch, 320, 240);
}

TEST(MarksFile, BackExactlyOnTheSamePhotoAndOnNoOther) {
  const Marks marks = Drawn();
  const std::vector<uint8_t> file = EncodeMarks(marks, 0xC0FFEE);
  EXPECT_LT(file.size(), 2000u);  // runs, not a byte a pixel
  const std::optional<Marks> back = DecodeMarks(file, 0xC0FFEE, 320, 240);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->labels, marks.labels);
  EXPECT_FALSE(DecodeMarks(file, 0xC0FFEF, 320, 240));
  EXPECT_FALSE(DecodeMarks(file, 0xC0FFEE, 240, 320));
}

// Files that are not quite what EncodeMarks wrote, each refused rather than half read.
TEST(MarksFile, AnyDamageIsRefused) {
  const std::vector<uint8_t> good = EncodeMarks(Drawn(), 7);
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
  };
  const Case cases[] = {
      {"empty", [](auto& f) { f.clear(); }},
      {"magic", [](auto& f) { f[0] = 'X'; }},
      {"cut in the header", [](auto& f) { f.resize(10); }},
      {"cut in the runs", [](auto& f) { f.resize(f.size() - 1); }},
      {"a run too many",
       [](auto& f) {
         f.insert(f.end(), {0, 1});
       }},
      {"no label of that kind", [](auto& f) { f[20] = 4; }},
      {"a run of none",
       [](auto& f) {
         f.insert(f.begin() + 20, {0, 0});
       }},
      {"a count without end", [](auto& f) { f.insert(f.end(), 11, 0xFF); }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = good;
    c.damage(file);
    EXPECT_FALSE(DecodeMarks(file, 7, 320, 240)) << c.what;
  }
}

}  // namespace
}  // namespace coiffure::cutout
