#include "desk/picture_paths.h"

#include <gtest/gtest.h>
#include <map>

#include "import/naming.h"

namespace coiffure {
namespace {

using Names = std::vector<std::string>;

// Folders by their full path; names matched without regard to case, * and ? as the platform
// matches them on long names.
class FakePaths : public PathLister {
 public:
  bool IsFolder(const std::string& path) override {
    std::string p = path;
    while (p.size() > 3 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
    return folders.count(LowerAscii(p)) > 0;
  }
  std::vector<Entry> Find(const std::string& pattern) override {
    const size_t cut = pattern.find_last_of("\\/:");
    const std::string folder = cut == std::string::npos ? "" : pattern.substr(0, cut + 1);
    std::string key = LowerAscii(folder);
    if (key.size() > 3 && key.back() == '\\') key.pop_back();
    std::vector<Entry> found;
    if (!folders.count(key)) return found;
    for (const Entry& e : folders[key])
      if (Matches(LowerAscii(pattern.substr(folder.size())), LowerAscii(e.name)))
        found.push_back(e);
    return found;
  }
  static bool Matches(std::string_view p, std::string_view n) {
    if (p.empty()) return n.empty();
    if (p[0] == '*') return Matches(p.substr(1), n) || (!n.empty() && Matches(p, n.substr(1)));
    return !n.empty() && (p[0] == '?' || p[0] == n[0]) && Matches(p.substr(1), n.substr(1));
  }
  std::map<std::string, std::vector<Entry>> folders = {
      {"c:\\in",
       {{"b.png"}, {"IMG_10.JPG"}, {"notes.txt"}, {"sub", true}, {"IMG_2.jpg"}, {"A.heic"}}},
      {"c:\\in\\sub", {{"deep.png"}}},
      {"c:\\empty", {{"readme.txt"}, {"pics.png", true}}},
      {"", {{"z.png"}, {"x1.png"}, {"x10.png"}, {"x2.gif"}}},
      {"d:", {{"y.png"}}},
  };
};

TEST(PictureFiles, FoldersGiveThePicturesInThemAndWildcardsWhatTheyMatch) {
  FakePaths paths;
  struct Case {
    Names args, want;
  };
  const Case cases[] = {
      {{"C:\\in"}, {"C:\\in\\A.heic", "C:\\in\\b.png", "C:\\in\\IMG_2.jpg", "C:\\in\\IMG_10.JPG"}},
      {{"c:\\IN\\"},
       {"c:\\IN\\A.heic", "c:\\IN\\b.png", "c:\\IN\\IMG_2.jpg", "c:\\IN\\IMG_10.JPG"}},
      {{"C:\\in\\sub", "C:\\in\\b.png"}, {"C:\\in\\sub\\deep.png", "C:\\in\\b.png"}},
      {{"C:\\empty"}, {"C:\\empty"}},  // no picture (a folder named like one is none)
      {{"C:\\in\\*.png"}, {"C:\\in\\b.png"}},
      {{"C:\\in\\IMG_?.jpg"}, {"C:\\in\\IMG_2.jpg"}},
      {{"C:\\in\\*"},
       {"C:\\in\\A.heic", "C:\\in\\b.png", "C:\\in\\IMG_2.jpg", "C:\\in\\IMG_10.JPG",
        "C:\\in\\notes.txt"}},           // what a wildcard matches, pictures or not
      {{"C:\\in\\s*"}, {"C:\\in\\s*"}},  // a folder only: kept, as nothing matched
      {{"C:\\in\\*.gif"}, {"C:\\in\\*.gif"}},
      {{"x*.png", "*.bmp"}, {"x1.png", "x10.png", "*.bmp"}},
      {{"x*"}, {"x1.png", "x2.gif", "x10.png"}},
      {{"D:*.png"}, {"D:y.png"}},
      {{"C:\\nope\\a.png", "", "C:\\no*\\a.png"}, {"C:\\nope\\a.png", "", "C:\\no*\\a.png"}},
  };
  for (const Case& c : cases) EXPECT_EQ(PictureFiles(c.args, paths), c.want) << c.args[0];
}

TEST(PictureFiles, NamesInExplorersOrder) {
  const std::pair<const char*, const char*> ordered[] = {
      {"IMG_2.jpg", "IMG_10.jpg"}, {"img_1.jpg", "IMG_2.jpg"}, {"a.png", "B.png"},
      {"_x.png", "1.png"},         {"9.png", "a.png"},         {"z.png", "发型.png"},
      {"发型2.png", "发型10.png"}, {"x.png", "x1.png"},        {"Photo (3).png", "photo (12).png"},
      {"A01.png", "a1.png"},  // equal but for case and zeros: still ordered, one way only
  };
  for (const auto& [a, b] : ordered) {
    EXPECT_TRUE(NameLess(a, b)) << a << " " << b;
    EXPECT_FALSE(NameLess(b, a)) << a << " " << b;
  }
  EXPECT_FALSE(NameLess("a.png", "a.png"));
  EXPECT_NE(PictureDialogFilter().find("*.heic;*.heif"), std::string::npos);
}

}  // namespace
}  // namespace coiffure
