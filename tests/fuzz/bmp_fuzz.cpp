// libFuzzer target: any bytes through the BMP decoder, then the conversions and the encoder. A
// load either succeeds or throws PictureError; what loads must convert and re-encode losslessly.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/picture.h"

using coiffure::Picture;
using coiffure::PictureError;

namespace {

void Require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Picture p;
  try {
    p.LoadFromBytes({data, size});
  } catch (const PictureError& e) {
    Require(std::strcmp(e.what(), coiffure::kMsgInvalidBitmap) == 0);
    return 0;
  }
  if (p.Empty()) return 0;
  // Big pictures are legal but only slow the search down; the decode itself already ran.
  if (int64_t{p.Width()} * p.Height() > (int64_t{1} << 16)) return 0;

  Picture c = p;
  c.ConvertTo24();
  Require(c.Width() == p.Width() && c.Height() == p.Height() && c.BitsPerPixel() == 24);
  std::vector<uint8_t> row(static_cast<size_t>(p.Width()) * 3);
  for (int y = 0; y < p.Height(); ++y) {
    p.ReadRowBgr(y, row.data());
    Require(std::memcmp(row.data(), c.Row(y), row.size()) == 0);
    const int x = (y * 7919) % p.Width();
    Require(p.PixelBgr(x, y) == c.PixelBgr(x, y));
  }

  Picture q;
  q.LoadFromBytes(p.EncodeBmp24());  // must not throw
  Require(q.Width() == p.Width() && q.Height() == p.Height() && q.BitsPerPixel() == 24);
  for (int y = 0; y < p.Height(); ++y)
    Require(std::memcmp(q.Row(y), c.Row(y), static_cast<size_t>(p.Width()) * 3) == 0);
  return 0;
}
