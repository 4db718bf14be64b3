// A colour variant of a 1000 x 1000 style: a shipped style enlarged to that size, turned 浅金.
// No peer does this work; the floor is copying the two pictures it must read.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "bench.h"
#include "colour/palette.h"
#include "colour/recolour.h"
#include "hair.h"
#include "imaging/oklab.h"

namespace coiffure::bench {
namespace {

constexpr int kSide = 1000;

struct RecolourState {
  art::HairPair style;
  Picture out;
  std::vector<uint8_t> floor_src, floor_dst;
};

// The variant must be the shade's on the hair and black off it before its time means anything.
void Verify(const RecolourState& s, Bgr shade) {
  double n = 0, L = 0, a = 0, b = 0;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const Bgr m = s.style.mask.PixelBgr(x, y), c = s.out.PixelBgr(x, y);
      if (m == Bgr{255, 255, 255} && c != Bgr{}) {
        std::fprintf(stderr, "recolour: colour off the hair at %d,%d\n", x, y);
        std::exit(2);
      }
      if (m != Bgr{}) continue;
      const Oklab o = BgrToOklab(c);
      n += 1, L += o.L, a += o.a, b += o.b;
    }
  const Oklab want = BgrToOklab(shade);
  if (std::hypot(L / n - want.L, a / n - want.a, b / n - want.b) > 0.04) {
    std::fprintf(stderr, "recolour: the hair's mean colour is not the shade's\n");
    std::exit(2);
  }
}

}  // namespace

std::vector<Workload> RecolourWorkloads() {
  auto s = std::make_shared<RecolourState>();
  s->style = art::Enlarge(art::RenderHair(art::LibraryStyles()[2]), kSide, kSide);
  const Bgr shade = FindShade("浅金")->mean;
  RecolourHair(s->style.colour, s->style.mask, shade, s->out);
  Verify(*s, shade);
  const size_t picture = size_t{kSide} * kSide * 3;
  s->floor_src.resize(2 * picture);
  std::memcpy(s->floor_src.data(), s->style.colour.Row(0), picture);
  std::memcpy(s->floor_src.data() + picture, s->style.mask.Row(0), picture);
  s->floor_dst.resize(s->floor_src.size());
  Workload w;
  w.name = "recolour_1000x1000";
  // Into the same picture each time, as the floor copies into the same bytes.
  w.ours = [s, shade] { RecolourHair(s->style.colour, s->style.mask, shade, s->out); };
  w.floor = [s] { std::memcpy(s->floor_dst.data(), s->floor_src.data(), s->floor_src.size()); };
  return {w};
}

}  // namespace coiffure::bench
