// BMP decoder for every layout the platform reads: core, info, V4 and V5 headers; 1, 4, 8, 16, 24
// and 32 bits; uncompressed, RLE4, RLE8 and bitfields. Every header field is checked, and every
// size computed with overflow checks, before anything is allocated.
#include <cstring>
#include <limits>

#include "imaging/picture.h"

namespace coiffure {

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;
constexpr size_t kFileHeaderSize = 14;

[[noreturn]] void Invalid() {
  throw PictureError(kMsgInvalidBitmap);
}

// a * b, or invalid when it does not fit.
size_t Mul(size_t a, size_t b) {
  if (a != 0 && b > std::numeric_limits<size_t>::max() / a) Invalid();
  return a * b;
}

// a + b, or invalid when it does not fit.
size_t Add(size_t a, size_t b) {
  if (b > std::numeric_limits<size_t>::max() - a) Invalid();
  return a + b;
}

// Little-endian reads that treat any access past the end as an invalid file.
class Bytes {
 public:
  explicit Bytes(std::span<const uint8_t> b) : b_(b) {}
  size_t size() const { return b_.size(); }
  const uint8_t* at(size_t pos, size_t len) const {
    if (pos > b_.size() || len > b_.size() - pos) Invalid();
    return b_.data() + pos;
  }
  uint16_t U16(size_t pos) const {
    const uint8_t* p = at(pos, 2);
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
  }
  uint32_t U32(size_t pos) const {
    const uint8_t* p = at(pos, 4);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
  }

 private:
  std::span<const uint8_t> b_;
};

struct Header {
  uint32_t header_size = 0;
  int width = 0, height = 0;  // height made positive
  bool top_down = false;
  int bpp = 0;
  uint32_t compression = kBiRgb;
  uint32_t colours_used = 0;
  uint32_t masks[3] = {};  // red, green, blue
  size_t palette_at = 0;
  size_t pixels_at = 0;
};

bool KnownHeaderSize(uint32_t size) {
  switch (size) {
    case 12:   // OS/2 core header
    case 40:   // info header
    case 52:   // info header with RGB masks
    case 56:   // info header with RGBA masks
    case 64:   // OS/2 2.x header: its first 40 bytes read as an info header
    case 108:  // V4
    case 124:  // V5
      return true;
    default:
      return false;
  }
}

void ReadCoreHeader(const Bytes& b, Header& h) {
  h.width = b.U16(18);
  h.height = b.U16(20);
  if (b.U16(22) != 1) Invalid();
  h.bpp = b.U16(24);
  if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 24) Invalid();
}

void ReadInfoHeader(const Bytes& b, Header& h) {
  const int64_t w = static_cast<int32_t>(b.U32(18));
  int64_t ht = static_cast<int32_t>(b.U32(22));
  if (b.U16(26) != 1) Invalid();
  h.bpp = b.U16(28);
  h.compression = b.U32(30);
  h.colours_used = b.U32(46);
  h.top_down = ht < 0;
  if (h.top_down) ht = -ht;
  if (w <= 0 || w > kMaxSide || ht > kMaxSide) Invalid();
  h.width = static_cast<int>(w);
  h.height = static_cast<int>(ht);
  switch (h.bpp) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      Invalid();
  }
  const bool fits = (h.compression == kBiRgb) || (h.compression == kBiRle8 && h.bpp == 8) ||
                    (h.compression == kBiRle4 && h.bpp == 4) ||
                    (h.compression == kBiBitfields && (h.bpp == 16 || h.bpp == 32));
  if (!fits) Invalid();
  // Compressed rows are only defined from the bottom up.
  if (h.top_down && (h.compression == kBiRle8 || h.compression == kBiRle4)) Invalid();
}

// Masks live inside the longer headers, or as three DWORDs right after a 40-byte one.
size_t ReadMasks(const Bytes& b, Header& h) {
  const size_t end_of_header = kFileHeaderSize + h.header_size;
  if (h.compression != kBiBitfields) {
    if (h.bpp == 16) {
      h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
    } else if (h.bpp == 32) {
      h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF;
    }
    return end_of_header;
  }
  const bool inside = h.header_size >= 52 && h.header_size != 64;
  const size_t at = inside ? kFileHeaderSize + 40 : end_of_header;
  for (int i = 0; i < 3; ++i) h.masks[i] = b.U32(at + 4 * static_cast<size_t>(i));
  const uint32_t depth_bits = h.bpp == 16 ? 0xFFFFu : 0xFFFFFFFFu;
  uint32_t all = 0;
  for (uint32_t m : h.masks) {
    if ((m & ~depth_bits) != 0) Invalid();
    if (m != 0) {
      const uint32_t low = m & (~m + 1);    // lowest set bit
      if (((m + low) & m) != 0) Invalid();  // bits must be contiguous
    }
    all |= m;
  }
  if (all == 0) Invalid();
  return inside ? end_of_header : end_of_header + 12;
}

Header ReadHeader(const Bytes& b) {
  Header h;
  if (b.size() < kFileHeaderSize + 4 || b.at(0, 2)[0] != 'B' || b.at(0, 2)[1] != 'M') Invalid();
  const uint32_t pixels_at = b.U32(10);
  h.header_size = b.U32(14);
  if (!KnownHeaderSize(h.header_size)) Invalid();
  b.at(kFileHeaderSize, h.header_size);  // the whole header must be present
  if (h.header_size == 12)
    ReadCoreHeader(b, h);
  else
    ReadInfoHeader(b, h);
  if (h.width <= 0 || h.height <= 0 || h.width > kMaxSide || h.height > kMaxSide) Invalid();
  if (Mul(static_cast<size_t>(h.width), static_cast<size_t>(h.height)) >
      static_cast<uint64_t>(kMaxPixels))
    Invalid();
  h.palette_at = ReadMasks(b, h);
  // Pixel data may not overlap the headers, and must start inside the file.
  if (pixels_at < kFileHeaderSize + h.header_size || pixels_at > b.size()) Invalid();
  h.pixels_at = pixels_at;
  return h;
}

// Palette entries are 4 bytes, 3 after a core header. Entries the file does not give stay black,
// and so do indexes past them.
std::vector<Bgr> ReadPalette(const Bytes& b, const Header& h) {
  if (h.bpp > 8) return {};
  const size_t full = size_t{1} << h.bpp;
  size_t count = h.header_size == 12 || h.colours_used == 0 ? full : h.colours_used;
  if (count > full) count = full;  // entries past 2^bpp could never be indexed
  const size_t entry = h.header_size == 12 ? 3 : 4;
  const uint8_t* p = b.at(h.palette_at, Mul(count, entry));
  std::vector<Bgr> palette(count);
  for (size_t i = 0; i < count; ++i, p += entry) palette[i] = {p[0], p[1], p[2]};
  return palette;
}

// Uncompressed and bitfield rows: file rows are padded to 4 bytes, stored rows are not, so
// each row is a single copy. The last row's padding may be missing.
std::vector<uint8_t> ReadPlainRows(const Bytes& b, const Header& h, std::vector<uint8_t> px) {
  const size_t bits = Mul(static_cast<size_t>(h.width), static_cast<size_t>(h.bpp));
  const size_t row_bytes = Add(bits, 7) / 8;
  // The multiplication above is checked; the cap on sides keeps the padding from overflowing.
  const size_t file_stride = PaddedRowBytes(static_cast<size_t>(h.width), h.bpp);
  const size_t rows = static_cast<size_t>(h.height);
  const size_t needed = Add(Mul(file_stride, rows - 1), row_bytes);
  const uint8_t* src = b.at(h.pixels_at, needed);
  // Every byte is written below, so reused memory needs no clearing; too little is replaced
  // rather than grown, which would copy the old bytes.
  const size_t total = Mul(row_bytes, rows);
  if (px.capacity() < total) px = {};
  px.resize(total);
  // Bits past the last pixel of a packed row are cleared so equal pictures hold equal bytes.
  const unsigned spare = static_cast<unsigned>(row_bytes * 8 - bits);
  const uint8_t keep = static_cast<uint8_t>(0xFF << spare);
  for (size_t y = 0; y < rows; ++y) {
    const size_t file_row = h.top_down ? y : rows - 1 - y;
    uint8_t* dst = px.data() + y * row_bytes;
    std::memcpy(dst, src + file_row * file_stride, row_bytes);
    if (spare != 0) dst[row_bytes - 1] &= keep;
  }
  return px;
}

// RLE8 and RLE4 streams: pairs (count, value) for runs, and escapes (0, 0) end of line,
// (0, 1) end of picture, (0, 2, dx, dy) delta, (0, n, ...) n literal pixels padded to a 16-bit
// boundary. Pixels the stream skips keep index 0. Every write is checked against the row and
// the picture, and a stream that ends before its end marker is invalid.
class RleDecoder {
 public:
  RleDecoder(const Bytes& b, const Header& h)
      : b_(b),
        pos_(h.pixels_at),
        width_(h.width),
        height_(h.height),
        four_(h.bpp == 4),
        stride_((static_cast<size_t>(h.width) * h.bpp + 7) / 8),
        px_(Mul(stride_, static_cast<size_t>(h.height))) {}

  std::vector<uint8_t> Run() {
    for (;;) {
      const uint8_t* pair = b_.at(pos_, 2);
      pos_ += 2;
      const unsigned n = pair[0], v = pair[1];
      if (n > 0) {
        Fill(n, v);
        continue;
      }
      switch (v) {
        case 0:  // end of line
          x_ = 0;
          if (++y_ > height_) Invalid();
          break;
        case 1:  // end of picture
          return std::move(px_);
        case 2: {  // delta
          const uint8_t* d = b_.at(pos_, 2);
          pos_ += 2;
          x_ += d[0];
          y_ += d[1];
          if (x_ > width_ || y_ > height_) Invalid();
          break;
        }
        default:
          Literal(v);
      }
    }
  }

 private:
  // Start of the stored row for the current line; the stream counts lines from the bottom.
  uint8_t* Target(unsigned count) {
    if (y_ >= height_ || count > static_cast<unsigned>(width_ - x_)) Invalid();
    return px_.data() + static_cast<size_t>(height_ - 1 - y_) * stride_;
  }

  void Put4(uint8_t* row, int x, unsigned index) {
    uint8_t& byte = row[x >> 1];
    byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | index)
                   : static_cast<uint8_t>((byte & 0x0F) | (index << 4));
  }

  void Fill(unsigned n, unsigned v) {
    uint8_t* row = Target(n);
    if (!four_) {
      std::memset(row + x_, static_cast<int>(v), n);
    } else {
      const unsigned pair[2] = {v >> 4, v & 0x0F};  // a run alternates the two nibbles
      for (unsigned i = 0; i < n; ++i) Put4(row, x_ + static_cast<int>(i), pair[i & 1]);
    }
    x_ += static_cast<int>(n);
  }

  void Literal(unsigned n) {
    uint8_t* row = Target(n);
    const size_t bytes = four_ ? (n + 1) / 2 : n;
    const uint8_t* src = b_.at(pos_, (bytes + 1) & ~size_t{1});
    pos_ += (bytes + 1) & ~size_t{1};
    if (!four_) {
      std::memcpy(row + x_, src, n);
    } else {
      for (unsigned i = 0; i < n; ++i)
        Put4(row, x_ + static_cast<int>(i), (i & 1) ? src[i / 2] & 0x0F : src[i / 2] >> 4);
    }
    x_ += static_cast<int>(n);
  }

  const Bytes& b_;
  size_t pos_;
  const int width_, height_;
  const bool four_;
  const size_t stride_;
  std::vector<uint8_t> px_;
  int x_ = 0, y_ = 0;
};

}  // namespace

Picture DecodeBmp(std::span<const uint8_t> bytes, std::vector<uint8_t> storage) {
  const Bytes b(bytes);
  const Header h = ReadHeader(b);
  Picture::Layout l;
  l.width = h.width;
  l.height = h.height;
  l.bpp = h.bpp;
  l.palette = ReadPalette(b, h);
  if (h.bpp == 16 || h.bpp == 32) {
    l.mask_r = h.masks[0];
    l.mask_g = h.masks[1];
    l.mask_b = h.masks[2];
  }
  const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
  std::vector<uint8_t> px = rle ? RleDecoder(b, h).Run() : ReadPlainRows(b, h, std::move(storage));
  return Picture::FromLayout(std::move(l), std::move(px));
}

}  // namespace coiffure
