#include "pictures/picture_header.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "imaging/picture.h"

namespace coiffure {

namespace {

using Bytes = std::span<const uint8_t>;

// Reads integers at offsets, each checked against the end; big or little endian.
class Reader {
 public:
  Reader(Bytes b, bool big) : b_(b), big_(big) {}
  std::optional<uint32_t> U16(uint64_t at) const {
    if (at > b_.size() || b_.size() - at < 2) return std::nullopt;
    const uint32_t x = b_[at], y = b_[at + 1];
    return big_ ? x << 8 | y : y << 8 | x;
  }
  std::optional<uint32_t> U32(uint64_t at) const {
    const auto hi = U16(big_ ? at : at + 2), lo = U16(big_ ? at + 2 : at);
    if (!hi || !lo) return std::nullopt;
    return *hi << 16 | *lo;
  }

 private:
  Bytes b_;
  bool big_;
};

bool StartsWith(Bytes b, const char* text) {
  const size_t n = std::strlen(text);
  return b.size() >= n && std::memcmp(b.data(), text, n) == 0;
}

// The single SHORT or LONG value of a tag in IFD0 of a TIFF structure. Only IFD0 is read, so
// no chain of offsets can loop; an IFD that claims more entries than there are bytes for is
// not trusted at all.
std::optional<uint32_t> TiffTag(Bytes tiff, uint16_t tag) {
  if (!StartsWith(tiff, "II") && !StartsWith(tiff, "MM")) return std::nullopt;
  const Reader r(tiff, tiff[0] == 'M');
  if (r.U16(2) != 42u) return std::nullopt;
  const auto ifd = r.U32(4);
  const auto count = ifd ? r.U16(*ifd) : std::nullopt;
  if (!count || *ifd + 2 + 12 * uint64_t{*count} > tiff.size()) return std::nullopt;
  for (uint64_t i = 0; i < *count; ++i) {
    const uint64_t entry = *ifd + 2 + 12 * i;
    const auto id = r.U16(entry), type = r.U16(entry + 2), n = r.U32(entry + 4);
    if (*id != tag) continue;
    if (*n != 1) return std::nullopt;
    if (*type == 3) return r.U16(entry + 8);
    if (*type == 4) return r.U32(entry + 8);
    return std::nullopt;
  }
  return std::nullopt;
}

// Calls visit(marker, payload) for each marker segment of a JPEG file before its scan data,
// until visit returns true. Every step moves forward, so the walk ends.
template <typename Visit>
void WalkJpegSegments(Bytes b, Visit visit) {
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return;
  size_t at = 2;
  while (at + 4 <= b.size()) {
    if (b[at] != 0xFF) return;
    const uint8_t marker = b[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return;                // end of image, start of scan
    if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {  // no length follows
      at += 2;
      continue;
    }
    const size_t length = size_t{b[at + 2]} << 8 | b[at + 3];
    if (length < 2) return;
    const size_t end = std::min(at + 2 + length, b.size());
    if (visit(marker, b.subspan(at + 4, end - (at + 4)))) return;
    at += 2 + length;
  }
}

bool IsStartOfFrame(uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<HeaderSize> JpegSize(Bytes b) {
  std::optional<HeaderSize> size;
  WalkJpegSegments(b, [&](uint8_t marker, Bytes p) {
    if (!IsStartOfFrame(marker)) return false;
    const Reader r(p, true);
    const auto h = r.U16(1), w = r.U16(3);
    // A height of 0 is given later in the scan: unknown here.
    if (h && w && *h > 0) size = HeaderSize{*w, *h};
    return true;
  });
  return size;
}

std::optional<HeaderSize> PngSize(Bytes b) {
  if (!StartsWith(b, "\x89PNG\r\n\x1a\n") || b.size() < 24 || std::memcmp(&b[12], "IHDR", 4) != 0)
    return std::nullopt;
  const Reader r(b, true);
  return HeaderSize{*r.U32(16), *r.U32(20)};
}

// The screen, then the first image descriptor after any colour table and extensions.
std::optional<HeaderSize> GifSize(Bytes b) {
  if (!StartsWith(b, "GIF87a") && !StartsWith(b, "GIF89a")) return std::nullopt;
  const Reader r(b, false);
  const auto sw = r.U16(6), sh = r.U16(8);
  if (!sw || !sh || b.size() < 13) return std::nullopt;
  HeaderSize size{*sw, *sh};
  size_t at = 13 + ((b[10] & 0x80) ? 3u << ((b[10] & 7) + 1) : 0);
  while (at < b.size() && b[at] == 0x21) {  // extension: label, then sub-blocks up to a 0
    at += 2;
    while (at < b.size() && b[at] != 0) at += size_t{b[at]} + 1;
    ++at;
  }
  if (at < b.size() && b[at] == 0x2C) {
    const auto x = r.U16(at + 1), y = r.U16(at + 3), w = r.U16(at + 5), h = r.U16(at + 7);
    if (x && y && w && h) {
      size.width = std::max<int64_t>(size.width, *x + *w);
      size.height = std::max<int64_t>(size.height, *y + *h);
    }
  }
  return size;
}

std::optional<HeaderSize> TiffSize(Bytes b) {
  const auto w = TiffTag(b, 256), h = TiffTag(b, 257);
  if (!w || !h) return std::nullopt;
  return HeaderSize{*w, *h};
}

std::optional<HeaderSize> BmpSize(Bytes b) {
  const Reader r(b, false);
  const auto header = r.U32(14);
  if (!StartsWith(b, "BM") || !header) return std::nullopt;
  if (*header == 12) {
    const auto w = r.U16(18), h = r.U16(20);
    if (!w || !h) return std::nullopt;
    return HeaderSize{*w, *h};
  }
  const auto w = r.U32(18), h = r.U32(22);
  if (!w || !h) return std::nullopt;
  // Signed fields; a negative height means rows stored top first.
  const int64_t sw = static_cast<int32_t>(*w), sh = static_cast<int32_t>(*h);
  return HeaderSize{sw < 0 ? -sw : sw, sh < 0 ? -sh : sh};
}

bool IsBrand(Bytes brand, std::initializer_list<const char*> names) {
  return std::any_of(names.begin(), names.end(),
                     [&](const char* n) { return std::memcmp(brand.data(), n, 4) == 0; });
}

}  // namespace

MediaBrand ReadMediaBrand(std::span<const uint8_t> file) {
  if (file.size() < 16 || std::memcmp(&file[4], "ftyp", 4) != 0) return MediaBrand::kNone;
  const Reader r(file, true);
  uint64_t size = *r.U32(0), at = 8;
  if (size == 1) {  // a 64-bit size follows the type
    const auto high = r.U32(8), low = r.U32(12);
    if (!high || !low) return MediaBrand::kNone;
    size = uint64_t{*high} << 32 | *low;
    at = 16;
  } else if (size == 0) {  // the box runs to the end of the file
    size = file.size();
  }
  // The major brand, the minor version, then compatible brands to the end of the box (or of
  // the bytes there are).
  const uint64_t end = std::min<uint64_t>(size, file.size());
  bool hevc = false, av1 = false, general = false;
  for (uint64_t b = at; b + 4 <= end; b += b == at ? 8 : 4) {
    const Bytes brand = file.subspan(b, 4);
    hevc |= IsBrand(brand, {"heic", "heix", "hevc", "hevx", "heim", "heis", "hevm", "hevs"});
    av1 |= IsBrand(brand, {"avif", "avis"});
    general |= IsBrand(brand, {"mif1", "msf1"});
  }
  if (hevc) return MediaBrand::kHeif;
  if (av1) return MediaBrand::kAvif;
  return general ? MediaBrand::kHeif : MediaBrand::kNone;
}

std::optional<HeaderSize> ReadHeaderSize(std::span<const uint8_t> file) {
  for (auto read : {PngSize, JpegSize, GifSize, TiffSize, BmpSize})
    if (auto size = read(file)) return size;
  return std::nullopt;
}

bool ExceedsPictureLimits(int64_t width, int64_t height) {
  return width > kMaxSide || height > kMaxSide || width * height > kMaxPixels;
}

int ReadOrientation(std::span<const uint8_t> file) {
  std::optional<uint32_t> value = TiffTag(file, 0x0112);
  WalkJpegSegments(file, [&](uint8_t marker, Bytes p) {
    if (marker != 0xE1 || p.size() < 6 || std::memcmp(p.data(), "Exif\0\0", 6) != 0) return false;
    value = TiffTag(p.subspan(6), 0x0112);
    return true;
  });
  return value && *value >= 1 && *value <= 8 ? static_cast<int>(*value) : 1;
}

}  // namespace coiffure
