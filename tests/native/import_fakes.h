// Fakes of the import's ports: a folder in memory and a decoder that knows given pictures.
#pragma once

#include <cctype>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "colour/variants.h"
#include "gallery/selection.h"
#include "import/importer.h"
#include "import/naming.h"
#include "native/bmp_builder.h"

namespace coiffure::importtest {

// Case-insensitive file names, as on Windows; failures on demand.
class FakeFolder : public LibraryFolder {
 public:
  static std::string Key(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }
  void Prepare() override {
    if (!can_create) throw ImportError(kMsgFolderNotWritable);
  }
  bool Exists(const std::string& name) override { return files.count(Key(name)) > 0; }
  std::string WriteTemporary(const std::string& role, std::span<const uint8_t> bytes) override {
    if (writes_left-- == 0) throw ImportError(kMsgFolderNotWritable);
    std::string name;
    for (uint32_t serial = 0; name.empty() || Exists(name); ++serial)
      name = TemporaryName(process, serial, role);
    files[Key(name)] = {name, std::vector<uint8_t>(bytes.begin(), bytes.end())};
    return name;
  }
  bool MoveNoReplace(const std::string& from, const std::string& to) override {
    if (before_move) before_move(to);
    if (!Exists(from) || Exists(to) || moves_left-- == 0) return false;
    Rename(from, to);
    return true;
  }
  bool MoveReplacing(const std::string& from, const std::string& to) override {
    if (!Exists(from) || moves_left-- == 0) return false;
    files.erase(Key(to));
    Rename(from, to);
    return true;
  }
  void Remove(const std::string& name) override { files.erase(Key(name)); }

  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const auto& [key, file] : files) out.push_back(file.first);
    return out;
  }
  Picture Load(const std::string& name) const {
    Picture p;
    p.LoadFromBytes(files.at(Key(name)).second);
    return p;
  }

  void Rename(const std::string& from, const std::string& to) {
    auto node = files.extract(Key(from));
    node.key() = Key(to);
    node.mapped().first = to;
    files.insert(std::move(node));
  }

  std::map<std::string, std::pair<std::string, std::vector<uint8_t>>> files;
  bool can_create = true;
  int writes_left = 1000, moves_left = 1000;
  uint32_t process = 7;
  std::function<void(const std::string&)> before_move;
};

// A refusal to check: the file, a fault put into the folder first (or none), the reason expected.
struct RefusalCase {
  std::string path;
  std::function<void(FakeFolder&)> fault;
  const char* message;
};

class FakeSource : public PictureSource {
 public:
  RgbaImage Decode(const std::string& path) override {
    auto it = pictures.find(path);
    if (it == pictures.end()) throw ImportError(kMsgNotAPicture);
    return it->second;
  }
  std::map<std::string, RgbaImage> pictures;
};

// A library style: an oval of hair graded in lightness, its mask an 8-bit file (so that the
// mask's own bytes differ from any re-encoding of it), as the scan pairs them.
inline void AddStyle(FakeFolder& f, const std::string& name, int w = 220, int h = 240) {
  Picture colour = Picture::Create24(w, h);
  bmptest::BmpLayout mask{.width = w, .height = -h, .bpp = 8};
  mask.palette = {{0, 0, 0}, {255, 255, 255}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double dx = (x - w / 2.0) / (w * 0.4), dy = (y - h / 2.0) / (h * 0.4);
      const bool hair = dx * dx + dy * dy <= 1;
      mask.data.push_back(!hair);
      if (hair) std::fill_n(colour.Row(y) + 3 * x, 3, static_cast<uint8_t>(20 + (x * 7 + y) % 60));
    }
  f.files[FakeFolder::Key(name)] = {name, colour.EncodeBmp24()};
  f.files[FakeFolder::Key(MaskNameFor(name))] = {MaskNameFor(name), bmptest::BuildBmp(mask)};
}

inline ReadLibraryFile ReaderOf(FakeFolder& f) {
  return [&f](const std::string& name) {
    if (!f.Exists(name)) throw PictureError(CannotOpenMessage(name));
    return f.files.at(FakeFolder::Key(name)).second;
  };
}

// An opaque square of inner x inner pixels at (5, 5) on a transparent side x side picture.
inline RgbaImage Square(int side, int inner) {
  RgbaImage img = RgbaImage::Create(side, side);
  for (int y = 0; y < inner; ++y)
    for (int x = 0; x < inner; ++x) img.Pixel(x + 5, y + 5)[3] = 255;
  return img;
}

// A folder and a source holding a picture to import and one with nothing visible.
class Import : public ::testing::Test {
 protected:
  void SetUp() override {
    source.pictures["C:\\in\\Bob.png"] = Square(300, 250);
    source.pictures["C:\\in\\clear.png"] = RgbaImage::Create(50, 50);
  }
  FakeFolder folder;
  FakeSource source;
};

}  // namespace coiffure::importtest
