#include <gtest/gtest.h>
#include <map>

#include "gallery/selection.h"

namespace coiffure {
namespace {

using enum EditModeValue;

using Strings = std::vector<std::string>;

TEST(HairPairNaming, MaskIsTheNameBeforeTheFirstDotPlusMask) {
  EXPECT_EQ(MaskNameFor("short1.bmp"), "short1mask.bmp");
  EXPECT_EQ(MaskNameFor("a.b.bmp"), "amask.bmp");
  EXPECT_EQ(MaskNameFor("abc"), "mask.bmp");  // no "." at all: empty base
  EXPECT_EQ(MaskNameFor(".x.bmp"), "mask.bmp");
  EXPECT_EQ(MaskNameFor(""), "mask.bmp");
  EXPECT_EQ(MaskNameFor("短发.卷.bmp"), "短发mask.bmp");
  EXPECT_EQ(MaskNameFor("Bob Chestnut.BMP"), "Bob Chestnutmask.bmp");
}

TEST(HairPairNaming, PathsKeepTheDoubledSeparator) {
  EXPECT_EQ(HairMaskPath("C:\\Salon\\", "a.b.bmp"), "C:\\Salon\\\\ml_fx\\amask.bmp");
  EXPECT_EQ(HairImagePath("C:\\Salon\\", "a.b.bmp"), "C:\\Salon\\\\ml_fx\\a.b.bmp");
  EXPECT_EQ(HairImagePath("C:\\发廊\\", "abc"), "C:\\发廊\\\\ml_fx\\abc");
}

class FakeList : public GallerySelectionPort {
 public:
  int EntryCount() override { return static_cast<int>(captions.size()); }
  bool IsSelected(int i) override {
    asked.push_back(i);
    return i == selected;
  }
  int ItemIndex() override { return selected; }
  std::string Caption(int i) override { return captions.at(static_cast<size_t>(i)); }

  Strings captions;
  int selected = -1;
  std::vector<int> asked;
};

// Files by absolute path; a load records the path and fails for anything not present.
struct FakeFiles {
  std::map<std::string, Picture> files;
  Strings loaded;
  PictureLoader Loader() {
    return [this](Picture& p, const std::string& path) {
      loaded.push_back(path);
      auto it = files.find(path);
      if (it == files.end()) throw PictureError(CannotOpenMessage(path));
      p = it->second;
    };
  }
};

class Selection : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.Reset();
    ws.SetHairRect({-5, 7, 120, 333});
    ws.UpdateHandles();
    ws.HairMask = Picture::Create24(3, 3, {1, 1, 1});
    ws.HairImage = Picture::Create24(3, 3, {2, 2, 2});
    ws.Photo = Picture::Create24(4, 4, {9, 9, 9});
    list.captions = {"short1.bmp", "a.b.bmp", "c.bmp"};
  }
  std::string Click() {
    try {
      LoadSelectedHairstyle(
          list, "C:\\App\\", ws, [this] { ++repaints; }, files.Loader());
    } catch (const PictureError& e) {
      return e.what();
    }
    return "";
  }
  Bgr MaskColour() const { return ws.HairMask.PixelBgr(0, 0); }
  Bgr ImageColour() const { return ws.HairImage.PixelBgr(0, 0); }

  Workspace ws;
  FakeList list;
  FakeFiles files;
  int repaints = 0;
};

TEST_F(Selection, LoadsMaskThenPictureThenRepaintsLeavingTheRestAlone) {
  files.files["C:\\App\\\\ml_fx\\amask.bmp"] = Picture::Create24(5, 5, {10, 10, 10});
  files.files["C:\\App\\\\ml_fx\\a.b.bmp"] = Picture::Create24(5, 5, {20, 20, 20});
  list.selected = 1;
  const auto handles = ws.HairHandles;
  EXPECT_EQ(Click(), "");
  EXPECT_EQ(files.loaded, (Strings{"C:\\App\\\\ml_fx\\amask.bmp", "C:\\App\\\\ml_fx\\a.b.bmp"}));
  EXPECT_EQ(MaskColour(), (Bgr{10, 10, 10}));
  EXPECT_EQ(ImageColour(), (Bgr{20, 20, 20}));
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(ws.HairHandles, handles);
  EXPECT_EQ(ws.Photo.PixelBgr(0, 0), (Bgr{9, 9, 9}));
  EXPECT_EQ(ws.EditMode, emMove);
  EXPECT_FALSE(ws.HairSelected);

  // The same entry again loads the same files again.
  EXPECT_EQ(Click(), "");
  EXPECT_EQ(files.loaded.size(), 4u);
  EXPECT_EQ(repaints, 2);
}

TEST_F(Selection, NoSelectedEntryChangesNothing) {
  list.selected = -1;
  EXPECT_EQ(Click(), "");
  EXPECT_EQ(list.asked, (std::vector<int>{0, 1, 2}));  // every entry was asked
  EXPECT_TRUE(files.loaded.empty());
  EXPECT_EQ(repaints, 0);

  list.captions.clear();
  EXPECT_EQ(Click(), "");
  EXPECT_TRUE(files.loaded.empty());
}

TEST_F(Selection, MissingMaskChangesNeitherPicture) {
  files.files["C:\\App\\\\ml_fx\\c.bmp"] = Picture::Create24(5, 5, {20, 20, 20});
  list.selected = 2;
  EXPECT_EQ(Click(), "Cannot open file C:\\App\\\\ml_fx\\cmask.bmp");
  EXPECT_EQ(files.loaded.size(), 1u);
  EXPECT_EQ(MaskColour(), (Bgr{1, 1, 1}));
  EXPECT_EQ(ImageColour(), (Bgr{2, 2, 2}));
  EXPECT_EQ(repaints, 0);
}

TEST_F(Selection, MissingPictureLeavesTheNewMaskWithTheOldPicture) {
  files.files["C:\\App\\\\ml_fx\\short1mask.bmp"] = Picture::Create24(5, 5, {10, 10, 10});
  list.selected = 0;
  EXPECT_EQ(Click(), "Cannot open file C:\\App\\\\ml_fx\\short1.bmp");
  EXPECT_EQ(MaskColour(), (Bgr{10, 10, 10}));
  EXPECT_EQ(ImageColour(), (Bgr{2, 2, 2}));
  EXPECT_EQ(repaints, 0);
}

TEST_F(Selection, EditedCaptionIsUsedAsItStands) {
  list.captions[1] = "abc";
  list.selected = 1;
  files.files["C:\\App\\\\ml_fx\\mask.bmp"] = Picture::Create24(5, 5, {10, 10, 10});
  files.files["C:\\App\\\\ml_fx\\abc"] = Picture::Create24(5, 5, {20, 20, 20});
  EXPECT_EQ(Click(), "");
  EXPECT_EQ(files.loaded, (Strings{"C:\\App\\\\ml_fx\\mask.bmp", "C:\\App\\\\ml_fx\\abc"}));
  EXPECT_EQ(repaints, 1);
}

}  // namespace
}  // namespace coiffure
