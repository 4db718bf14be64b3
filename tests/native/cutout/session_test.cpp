#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>

#include "cutout/cutout.h"

namespace coiffure::cutout {
namespace {

// Two colours in stripes, or one flat colour: photos that give the models nothing to hold on to.
RgbaImage Photo(int w, int h, bool stripes) {
  RgbaImage img = RgbaImage::Create(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = img.Pixel(x, y);
      const bool dark = stripes && (x / 3) % 2;
      p[0] = dark ? 30 : 200, p[1] = dark ? 40 : 180, p[2] = dark ? 60 : 160, p[3] = 255;
    }
  return img;
}

TEST(CutoutSession, OddPhotosAndMarksGiveAMatteThatKeepsTheMarks) {
  struct Case {
    int w, h;
    bool stripes, box, not_hair;
  };
  for (const Case& c : std::vector<Case>{
           {1, 1, false, false, false},
           {1, 300, true, true, true},
           {300, 1, true, true, false},
           {2, 2, true, true, true},
           {64, 48, false, true, true},   // flat: nothing tells hair from not
           {64, 48, true, false, false},  // no box and no not-hair stroke
           {2500, 3, true, true, true},   // reduced to cells of several pixels
       }) {
    const Session session(Photo(c.w, c.h, c.stripes));
    Marks marks = Marks::Create(c.w, c.h);
    if (c.box) SetBox(marks, {c.w / 4, c.h / 4, c.w - c.w / 4, c.h - c.h / 4});
    const Point hair[] = {{c.w / 2.f, c.h / 2.f}};
    PaintStroke(marks, hair, 1, Mark::kHair);
    const Point back[] = {{c.w / 2.f + 2, c.h / 2.f + 2}};
    if (c.not_hair) PaintStroke(marks, back, 0.5f, Mark::kNotHair);
    const std::optional<Matte> m = session.Update(marks);
    ASSERT_TRUE(m);
    ASSERT_EQ(m->alpha.size(), static_cast<size_t>(c.w) * c.h);
    for (size_t i = 0; i < m->alpha.size(); ++i) {
      const Mark k = marks.labels[i];
      if (k == Mark::kHair) {
        EXPECT_GE(m->alpha[i], 128) << c.w << "x" << c.h << " at " << i;
      } else if (k != Mark::kUndecided) {
        EXPECT_EQ(m->alpha[i], 0) << c.w << "x" << c.h << " at " << i;
      }
    }
    EXPECT_EQ(session.Update(marks)->alpha, m->alpha) << "the same marks, the same matte";
  }
}

TEST(CutoutSession, RefusesMarksOfAnotherSizeAndStopsWhenCancelled) {
  const Session session(Photo(40, 30, true));
  EXPECT_THROW(session.Update(Marks::Create(30, 40)), std::invalid_argument);
  Marks torn = Marks::Create(40, 30);
  torn.labels.pop_back();
  EXPECT_THROW(session.Update(torn), std::invalid_argument);
  EXPECT_THROW(Session(RgbaImage{}), std::invalid_argument);
  std::atomic<bool> cancel{true};
  EXPECT_FALSE(session.Update(Marks::Create(40, 30), &cancel));
  cancel = false;
  EXPECT_TRUE(session.Update(Marks::Create(40, 30), &cancel));
}

}  // namespace
}  // namespace coiffure::cutout
