#include "pictures/png_write.h"

#include <array>
#include <stdexcept>
#include <string_view>

namespace coiffure {

namespace {

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (uint8_t b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

// Bits go out least significant first, as deflate packs them.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Bits(uint32_t value, int count) {
    acc_ |= static_cast<uint64_t>(value) << used_;
    used_ += count;
    while (used_ >= 8) {
      out_.push_back(static_cast<uint8_t>(acc_));
      acc_ >>= 8;
      used_ -= 8;
    }
  }
  // A Huffman code: its bits go out most significant first.
  void Code(uint32_t code, int length) {
    uint32_t reversed = 0;
    for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1) << (length - 1 - i);
    Bits(reversed, length);
  }
  void Flush() {
    if (used_ > 0) Bits(0, 8 - used_);
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t acc_ = 0;
  int used_ = 0;
};

// The fixed literal/length code of deflate.
void Symbol(BitWriter& w, int s) {
  if (s < 144)
    w.Code(0x30 + s, 8);
  else if (s < 256)
    w.Code(0x190 + (s - 144), 9);
  else if (s < 280)
    w.Code(s - 256, 7);
  else
    w.Code(0xC0 + (s - 280), 8);
}

// A copy of the byte before, length 3 to 258 (distance 1: code 0, no extra bits).
void RepeatLast(BitWriter& w, int length) {
  static constexpr int kBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static constexpr int kExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                   2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  int code = 28;
  while (kBase[code] > length) --code;
  Symbol(w, 257 + code);
  if (kExtra[code]) w.Bits(static_cast<uint32_t>(length - kBase[code]), kExtra[code]);
  w.Code(0, 5);
}

// The zlib stream of the rows, each after its filter byte 0 (none).
std::vector<uint8_t> Deflate(int width, int height, std::span<const uint8_t> grey) {
  std::vector<uint8_t> out{0x78, 0x01};
  BitWriter w(out);
  w.Bits(1, 1);  // the last block
  w.Bits(1, 2);  // fixed codes
  // Adler-32, its sums reduced every 5552 bytes, the most that cannot overflow 32 bits.
  uint32_t a = 1, b = 0;
  int pending = 0, last = -1;
  const auto adler = [&](uint8_t v, int n) {
    for (int i = 0; i < n; ++i) {
      a += v;
      b += a;
      if (++pending == 5552) a %= 65521, b %= 65521, pending = 0;
    }
  };
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = grey.data() + static_cast<size_t>(y) * width;
    // The filter byte, then the row: a run goes on across them when they are equal.
    for (int x = -1; x < width;) {
      const uint8_t v = x < 0 ? 0 : row[x];
      int run = 1;
      if (v == last && x >= 0)
        while (run < 258 && x + run < width && row[x + run] == v) ++run;
      if (v == last && run >= 3) {
        RepeatLast(w, run);
      } else {
        run = 1;
        Symbol(w, v);
      }
      adler(v, run);
      last = v;
      x += run;
    }
  }
  Symbol(w, 256);
  w.Flush();
  a %= 65521, b %= 65521;
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<uint8_t>((b << 16 | a) >> shift));
  return out;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(std::vector<uint8_t>& out, std::string_view type, std::span<const uint8_t> data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  const size_t from = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  Put32(out, Crc32(std::span(out).subspan(from), 0));
}

}  // namespace

std::vector<uint8_t> EncodeGreyPng(int width, int height, std::span<const uint8_t> grey) {
  if (width <= 0 || height <= 0 ||
      grey.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
    throw std::invalid_argument("grey picture of another size");
  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  Put32(header, static_cast<uint32_t>(width));
  Put32(header, static_cast<uint32_t>(height));
  header.insert(header.end(),
                {8, 0, 0, 0, 0});  // 8 bits, grey, deflate, no filter set, no interlace
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", Deflate(width, height, grey));
  Chunk(png, "IEND", {});
  return png;
}

}  // namespace coiffure
