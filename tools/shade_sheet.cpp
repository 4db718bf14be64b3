// shade_sheet [--own] OUTDIR [SHADE...]: the colour tests' photos with their hair recoloured, as
// PNG sheets to look at: per photo one row of the whole head in each shade (the photo first),
// and one of a patch of the hair's edge at 4x, where bands, specks, blocks and fringes would
// show. Without --own the hair is made a style (its mask the matte's half) and recoloured as the
// colour variants are; with it, the photo's own hair is, under its soft matte.
#include <cstdio>
#include <string>
#include <vector>

#include "colour/own_shade.h"
#include "colour/palette.h"
#include "colour/recolour.h"
#include "native/colour/hair_photos.h"

using namespace coiffure;

namespace {

// The style variant put back where the hair was: what the customer sees of a style made from
// their photo.
Picture OverPhoto(const test::TestPhoto& t, const Picture& variant) {
  Picture out = t.photo;
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x)
      if (t.style_mask.PixelBgr(x, y) == Bgr{})
        for (int c = 0; c < 3; ++c) out.Row(y)[3 * x + c] = variant.Row(y)[3 * x + c];
  return out;
}

void Paste(Picture& sheet, const Picture& p, int left, int top, int sx, int sy, int w, int h,
           int zoom) {
  for (int y = 0; y < h * zoom; ++y)
    for (int x = 0; x < w * zoom; ++x) {
      const Bgr c = p.PixelBgr(sx + x / zoom, sy + y / zoom);
      uint8_t* o = sheet.Row(top + y) + 3 * (left + x);
      o[0] = c.b, o[1] = c.g, o[2] = c.r;
    }
}

}  // namespace

int main(int argc, char** argv) {
  const bool own = argc > 1 && std::string(argv[1]) == "--own";
  if (argc < 2 + own) {
    std::fprintf(stderr, "usage: shade_sheet [--own] OUTDIR [SHADE...]\n");
    return 2;
  }
  const std::string folder = argv[1 + own];
  std::vector<Shade> shades;
  for (int i = 2 + own; i < argc; ++i)
    if (auto s = ParseShade(argv[i])) shades.push_back(*s);
  if (shades.empty())
    for (const char* n : {"自然黑", "栗棕", "奶茶棕", "浅金", "铜橙", "银灰"})
      shades.push_back(*FindShade(n));
  int index = 0;
  for (const test::PhotoRecipe& recipe : test::PhotoRecipes()) {
    const test::TestPhoto t = test::MakePhoto(recipe);
    std::vector<Picture> results{t.photo};
    const OwnHair hair(t.photo, t.matte);
    for (const Shade& s : shades) {
      if (!own) {
        results.push_back(OverPhoto(t, RecolourHair(t.style_colour, t.style_mask, s.mean)));
        continue;
      }
      hair.Recolour(s.mean, results.emplace_back());
    }
    const int W = t.photo.Width(), H = t.photo.Height(), crop = 80, zoom = 4;
    const int n = static_cast<int>(results.size());
    Picture sheet = Picture::Create24(n * (W + 4), H + 4 + crop * zoom, {255, 255, 255});
    for (int i = 0; i < n; ++i) {
      Paste(sheet, results[i], i * (W + 4), 0, 0, 0, W, H, 1);
      // Hair beside the face, in the shadow under the crown.
      Paste(sheet, results[i], i * (W + 4), H + 4, W / 2 - 150, H / 2 - 40, crop, crop, zoom);
    }
    const std::string path = folder + (own ? "/own" : "/sheet") + std::to_string(index++) + ".png";
    test::SavePng(sheet, path);
    std::printf("%s: %s\n", path.c_str(), recipe.name.c_str());
  }
  return 0;
}
