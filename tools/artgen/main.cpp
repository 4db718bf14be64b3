// artgen OUTDIR: draws the program's artwork and the shipped hairstyles as BMP files.
// artgen --preview PHOTO.bmp SHEET.bmp: every hairstyle over PHOTO, for checking by eye.
// artgen --shades PHOTO.bmp SHEET.bmp SHADE...: every shipped style in those shades over PHOTO.
// artgen --portrait NAME SCALE OUT.bmp: the cut-out's test portrait of that name, for trying the
// cut-out window by hand and for its screenshots.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "colour/palette.h"
#include "colour/recolour.h"
#include "gallery/selection.h"
#include "hair.h"
#include "icons.h"
#include "portraits.h"
#include "preview.h"
#include "scenes.h"

using namespace coiffure;
using namespace coiffure::art;

namespace {

void WriteHairstyles(const std::string& out) {
  const HairPair def = RenderHair(DefaultStyle());
  def.colour.SaveBmp24(out + "/ml_data/fx1.bmp");
  def.mask.SaveBmp24(out + "/ml_data/" + MaskNameFor("fx1.bmp"));
  for (const HairStyle& s : LibraryStyles()) {
    const HairPair p = RenderHair(s);
    const std::string picture = s.name + ".bmp";
    p.colour.SaveBmp24(out + "/ml_fx/" + picture);
    p.mask.SaveBmp24(out + "/ml_fx/" + MaskNameFor(picture));
  }
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

void WriteResources(const std::string& res) {
  SplashPicture().SaveBmp24(res + "/splash.bmp");
  CameraPanel().SaveBmp24(res + "/image3.bmp");
  BandBackground().SaveBmp24(res + "/band.bmp");
  ToolbarStrip().SaveBmp24(res + "/toolbar.bmp");
  AboutPicture().SaveBmp24(res + "/about_main.bmp");
  AboutLinkIcon().SaveBmp24(res + "/about_link.bmp");
  AboutMailIcon().SaveBmp24(res + "/about_mail.bmp");
  LogGlyphs().SaveBmp24(res + "/bitbtn1.bmp");
  SaveGlyph().SaveBmp24(res + "/bitbtn4.bmp");
  WriteFile(res + "/coiffure.ico", EncodeIco({AppIconImage(16), AppIconImage(32)}));
  WriteFile(res + "/hsplit.cur", EncodeCur(SplitCursorImage(), kSplitHotX, kSplitHotY));
}

int Preview(const std::string& photo_path, const std::string& sheet_path) {
  Picture photo;
  photo.LoadFromFile(photo_path);
  photo.ConvertTo24();
  std::vector<HairPair> pairs{RenderHair(DefaultStyle())};
  for (const HairStyle& s : LibraryStyles()) pairs.push_back(RenderHair(s));
  ContactSheet(photo, pairs).SaveBmp24(sheet_path);
  return 0;
}

// Every shipped style in its own colour and then in each shade named, one style a row.
int ShadeSheet(const std::string& photo_path, const std::string& sheet_path,
               const std::vector<std::string>& names) {
  Picture photo;
  photo.LoadFromFile(photo_path);
  photo.ConvertTo24();
  std::vector<Bgr> shades;
  for (const std::string& n : names) {
    const Shade* s = FindShade(n);
    if (!s) throw std::runtime_error("no shade " + n);
    shades.push_back(s->mean);
  }
  std::vector<HairPair> cells;
  for (const HairStyle& s : LibraryStyles()) {
    HairPair p = RenderHair(s);
    for (Bgr shade : shades) cells.push_back({RecolourHair(p.colour, p.mask, shade), p.mask});
    cells.insert(cells.end() - static_cast<std::ptrdiff_t>(shades.size()), std::move(p));
  }
  ContactSheet(photo, cells, {}, static_cast<int>(shades.size()) + 1).SaveBmp24(sheet_path);
  return 0;
}

int WritePortrait(const std::string& name, float scale, const std::string& out) {
  for (const Sitting& s : PortraitSittings())
    if (s.name == name) {
      DrawPortrait(s, scale).photo.SaveBmp24(out);
      return 0;
    }
  std::fprintf(stderr, "artgen: no portrait %s; there are:", name.c_str());
  for (const Sitting& s : PortraitSittings()) std::fprintf(stderr, " %s", s.name.c_str());
  std::fprintf(stderr, "\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::string(argv[1]) == "--preview") return Preview(argv[2], argv[3]);
    if (argc == 5 && std::string(argv[1]) == "--portrait")
      return WritePortrait(argv[2], std::stof(argv[3]), argv[4]);
    if (argc >= 5 && std::string(argv[1]) == "--shades")
      return ShadeSheet(argv[2], argv[3], std::vector<std::string>(argv + 4, argv + argc));
    if (argc != 2) {
      std::fprintf(stderr,
                   "usage: artgen OUTDIR | artgen --preview PHOTO.bmp SHEET.bmp\n"
                   "       artgen --shades PHOTO.bmp SHEET.bmp SHADE...\n"
                   "       artgen --portrait NAME SCALE OUT.bmp\n");
      return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::string out = argv[1];
    for (const char* d : {"/res", "/ml_data", "/ml_fx"})
      std::filesystem::create_directories(out + d);
    WriteResources(out + "/res");
    WriteHairstyles(out);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("artgen: artwork written to %s in %lld ms\n", out.c_str(),
                static_cast<long long>(ms.count()));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "artgen: %s\n", e.what());
    return 1;
  }
}
