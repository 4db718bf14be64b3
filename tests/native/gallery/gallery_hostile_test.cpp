// Library trees that could make a naive scan endless or slow.
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

Node Library(const std::string& id = "root") {
  Node root;
  root.attributes = kAttrDirectory;
  root.id = id;
  return root;
}

TEST(HostileLibrary, LinksBackUpOrAcrossAreSearchedOnce) {
  const auto pic = BmpOf(200, 200, {1, 2, 3});
  Node root = Library();
  root.AddFile("a.bmp", pic);
  root.AddLink("up.bmp", &root);  // a junction to the library itself
  Node* x = root.AddFolder("x.bmp", "x");
  Node* y = root.AddFolder("y.bmp", "y");
  x->AddFile("b.bmp", pic);
  x->AddLink("to_y.bmp", y);
  y->AddFile("c.bmp", pic);
  y->AddLink("to_x.bmp", x);
  y->AddLink("self.bmp", y);
  FakeDirectory dir(&root);
  FakeGallery g;
  ScanHairLibrary(dir, g);
  EXPECT_EQ(g.captions, (Strings{"a.bmp", "b.bmp", "c.bmp"}));
  EXPECT_EQ(g.image_index, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(dir.Where(), "");
  // Every descent is paired with a return.
  int downs = 0;
  for (const auto& [name, n] : dir.change_calls)
    if (name != "..") downs += n;
  EXPECT_EQ(dir.change_calls[".."], downs);
}

TEST(HostileLibrary, DepthIsLimitedEvenWhenFoldersCannotBeIdentified) {
  const auto pic = BmpOf(200, 200, {1, 2, 3});
  // A loop whose folders give no identity: only the depth limit can stop it.
  Node root = Library("");
  root.AddFile("a.bmp", pic);
  root.AddLink("again.bmp", &root);
  FakeDirectory dir(&root);
  FakeGallery g;
  ScanHairLibrary(dir, g);
  EXPECT_EQ(dir.max_depth, kMaxFolderDepth);
  EXPECT_EQ(g.EntryCount(), kMaxFolderDepth + 1);
  EXPECT_EQ(dir.Where(), "");

  // A genuine chain of distinct folders far deeper than the limit.
  Node deep = Library();
  Node* level = &deep;
  for (int i = 0; i < 200; ++i) {
    level->AddFile("p" + std::to_string(i) + ".bmp", pic);
    level = level->AddFolder("d.bmp", "d" + std::to_string(i));
  }
  FakeDirectory dir2(&deep);
  FakeGallery g2;
  g2.keep_cells = false;
  ScanHairLibrary(dir2, g2);
  EXPECT_EQ(g2.EntryCount(), kMaxFolderDepth + 1);
  EXPECT_EQ(g2.captions.back(), "p" + std::to_string(kMaxFolderDepth) + ".bmp");
  EXPECT_EQ(dir2.Where(), "");
}

TEST(HostileLibrary, BranchingLoopWithoutIdentitiesStopsAtTheFolderBudget) {
  const auto pic = BmpOf(200, 200, {1, 2, 3});
  // Two links back to the library at every level: 2^32 folders without a budget.
  Node root = Library("");
  root.AddFile("a.bmp", pic);
  root.AddLink("one.bmp", &root);
  root.AddLink("two.bmp", &root);
  FakeDirectory dir(&root);
  FakeGallery g;
  g.keep_cells = false;
  ScanHairLibrary(dir, g);
  EXPECT_EQ(dir.change_calls["one.bmp"] + dir.change_calls["two.bmp"], kMaxFoldersEntered);
  ASSERT_EQ(g.EntryCount(), kMaxFoldersEntered + 1);
  for (int i = 0; i < g.EntryCount(); ++i) ASSERT_EQ(g.image_index[static_cast<size_t>(i)], i);
  EXPECT_EQ(dir.Where(), "");
}

TEST(HostileLibrary, FolderThatCannotBeEnteredIsSkippedOnce) {
  const auto pic = BmpOf(200, 200, {1, 2, 3});
  Node root = Library();
  root.AddFile("a.bmp", pic);
  Node* locked = root.AddFolder("locked.bmp", "locked");
  locked->enterable = false;
  locked->AddFile("hidden_inside.bmp", pic);
  root.AddFile("b.bmp", pic);
  FakeDirectory dir(&root);
  FakeGallery g;
  ScanHairLibrary(dir, g);
  EXPECT_EQ(g.captions, (Strings{"a.bmp", "b.bmp"}));
  EXPECT_EQ(dir.change_calls["locked.bmp"], 1);
  EXPECT_EQ(dir.change_calls[".."], 0);
  EXPECT_EQ(dir.patterns.size(), 1u);
}

TEST(HostileLibrary, FailedReturnStopsListingInsteadOfReadingTheWrongFolder) {
  const auto pic = BmpOf(200, 200, {1, 2, 3});
  Node root = Library();
  root.AddFile("a.bmp", pic);
  Node* sub = root.AddFolder("sub.bmp", "sub");
  sub->AddFile("b.bmp", pic);
  sub->AddFolder("inner.bmp", "inner")->AddFile("c.bmp", pic);
  sub->AddFile("d.bmp", pic);
  root.AddFile("e.bmp", pic);
  FakeDirectory dir(&root);
  dir.fail_up = true;
  FakeGallery g;
  ScanHairLibrary(dir, g);
  EXPECT_EQ(g.captions, (Strings{"a.bmp", "b.bmp", "c.bmp"}));
  EXPECT_EQ(g.image_index, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(dir.change_calls[".."], 1);
}

TEST(HostileLibrary, ThousandsOfPicturesAndLongNames) {
  const auto pic = BmpOf(200, 200, {1, 2, 3});
  Node root = Library();
  const std::string long_name = std::string(240, 'h') + "长发.bmp";
  root.AddFile(long_name, pic);
  for (int i = 0; i < 3000; ++i) root.AddFile("style" + std::to_string(i) + ".bmp", pic);
  FakeDirectory dir(&root);
  FakeGallery g;
  g.keep_cells = false;
  ScanHairLibrary(dir, g);
  ASSERT_EQ(g.EntryCount(), 3001);
  EXPECT_EQ(g.captions[0], long_name);
  for (int i = 0; i < 3001; ++i) ASSERT_EQ(g.image_index[static_cast<size_t>(i)], i);
}

}  // namespace
}  // namespace coiffure
