// A shade change on the customer's own hair: the 529 x 444 customer photo, its hair under a
// soft matte, recoloured from one shade to the next as the swatches are clicked. The reading
// of the photo's hair is made once, before, as the desk makes it once a photo. No peer does this
// work; the floor is copying the photo.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "bench.h"
#include "colour/own_shade.h"
#include "colour/palette.h"
#include "hair_photo.h"

namespace coiffure::bench {
namespace {

struct OwnShadeState {
  art::HairPhoto photo;
  std::unique_ptr<OwnHair> hair;
  Picture out;
  std::vector<uint8_t> floor_dst;
  int turn = 0;
};

// Off the hair the photo must stay as it was before the time means anything.
void Verify(const OwnShadeState& s) {
  for (int y = 0; y < s.out.Height(); ++y)
    for (int x = 0; x < s.out.Width(); ++x)
      if (s.photo.matte[static_cast<size_t>(y) * s.out.Width() + x] == 0 &&
          s.out.PixelBgr(x, y) != s.photo.photo.PixelBgr(x, y)) {
        std::fprintf(stderr, "own_shade: the photo changed off the hair at %d,%d\n", x, y);
        std::exit(2);
      }
}

}  // namespace

std::vector<Workload> OwnShadeWorkloads() {
  auto s = std::make_shared<OwnShadeState>();
  art::PhotoRecipe recipe = art::PhotoRecipes()[0];
  recipe.width = 529, recipe.height = 444;
  s->photo = art::DrawHairPhoto(recipe);
  s->hair = std::make_unique<OwnHair>(s->photo.photo, s->photo.matte);
  s->hair->Recolour(FindShade("浅金")->mean, s->out);
  Verify(*s);
  s->floor_dst.resize(3 * size_t{529} * 444);
  Workload w;
  w.name = "own_shade_photo";
  // Two shades in turn, as an operator trying them would.
  w.ours = [s] { s->hair->Recolour(ShadePalette()[(s->turn++ & 1) ? 6 : 9].mean, s->out); };
  w.floor = [s] { std::memcpy(s->floor_dst.data(), s->photo.photo.Row(0), s->floor_dst.size()); };
  return {w};
}

}  // namespace coiffure::bench
