// Builds BMP file images byte by byte, so decoder tests can describe any header, valid or not,
// without going through the encoder under test.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/picture.h"

namespace coiffure::bmptest {

struct BmpLayout {
  uint32_t header_size = 40;  // 12, 40, 52, 56, 64, 108, 124 or anything else
  int32_t width = 0;
  int32_t height = 0;  // negative: rows stored top row first
  uint16_t planes = 1;
  uint16_t bpp = 24;
  uint32_t compression = 0;
  uint32_t colours_used = 0;
  std::vector<Bgr> palette;  // written as 4-byte entries, 3-byte after a core header
  std::optional<std::array<uint32_t, 3>> masks;  // red, green, blue
  std::vector<uint8_t> data;                     // the pixel data exactly as stored in the file
  std::optional<uint32_t> pixel_offset;          // default: right after headers, masks and palette
};

inline void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}

inline void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline std::vector<uint8_t> BuildBmp(const BmpLayout& s) {
  std::vector<uint8_t> out(14 + s.header_size, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 14, s.header_size);
  const bool core = s.header_size == 12;
  if (core) {
    Put16(out, 18, static_cast<uint32_t>(s.width));
    Put16(out, 20, static_cast<uint32_t>(s.height));
    Put16(out, 22, s.planes);
    Put16(out, 24, s.bpp);
  } else if (s.header_size >= 40) {
    Put32(out, 18, static_cast<uint32_t>(s.width));
    Put32(out, 22, static_cast<uint32_t>(s.height));
    Put16(out, 26, s.planes);
    Put16(out, 28, s.bpp);
    Put32(out, 30, s.compression);
    Put32(out, 34, static_cast<uint32_t>(s.data.size()));
    Put32(out, 46, s.colours_used);
  }
  if (s.masks) {
    const bool inside = s.header_size >= 52 && s.header_size != 64;
    size_t at = 14 + 40;
    if (!inside) {
      at = out.size();
      out.resize(out.size() + 12);
    }
    for (int i = 0; i < 3; ++i) Put32(out, at + 4 * i, (*s.masks)[i]);
  }
  for (const Bgr& c : s.palette) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    if (!core) out.push_back(0);
  }
  const uint32_t offset = s.pixel_offset.value_or(static_cast<uint32_t>(out.size()));
  Put32(out, 10, offset);
  if (out.size() < offset) out.resize(offset, 0);
  out.insert(out.end(), s.data.begin(), s.data.end());
  Put32(out, 2, static_cast<uint32_t>(out.size()));
  return out;
}

// Packs one row of values (palette indexes, or whole pixels at 16/24/32 bits, little-endian)
// at the given depth, leftmost pixel in the high bits, padded to 4 bytes.
inline std::vector<uint8_t> PackRow(const std::vector<uint32_t>& values, int bpp) {
  const size_t bits = values.size() * static_cast<size_t>(bpp);
  std::vector<uint8_t> row((bits + 31) / 32 * 4, 0);
  for (size_t x = 0; x < values.size(); ++x) {
    if (bpp < 8) {
      const size_t bit = x * bpp;
      row[bit / 8] |= static_cast<uint8_t>(values[x] << (8 - bpp - bit % 8));
    } else {
      for (int i = 0; i < bpp / 8; ++i)
        row[x * (bpp / 8) + i] = static_cast<uint8_t>(values[x] >> (8 * i));
    }
  }
  return row;
}

// Pixel data for rows given top row first: stored bottom-up unless top_down.
inline std::vector<uint8_t> PackRows(const std::vector<std::vector<uint32_t>>& rows, int bpp,
                                     bool top_down = false) {
  std::vector<uint8_t> data;
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& r = rows[top_down ? i : rows.size() - 1 - i];
    const std::vector<uint8_t> packed = PackRow(r, bpp);
    data.insert(data.end(), packed.begin(), packed.end());
  }
  return data;
}

struct NamedBmp {
  const char* name;
  std::vector<uint8_t> bytes;
};

// One small valid file of every kind the decoder reads.
inline std::vector<NamedBmp> SampleBmps() {
  std::vector<Bgr> pal(16);
  for (size_t i = 0; i < pal.size(); ++i) pal[i] = {uint8_t(i * 16), uint8_t(255 - i), uint8_t(i)};
  const std::vector<std::vector<uint32_t>> idx = {
      {0, 1, 2, 3, 4}, {5, 6, 7, 8, 9}, {1, 0, 1, 0, 1}};
  const std::vector<std::vector<uint32_t>> rgb = {{0x102030, 0xFFFFFF}, {0, 0x7F7F7F}};
  const std::vector<std::vector<uint32_t>> w16 = {{0x7FFF, 0x1234}, {0x8000, 0xF81F}};
  std::vector<NamedBmp> out;
  auto add = [&](const char* name, BmpLayout s) { out.push_back({name, BuildBmp(s)}); };
  for (uint16_t bpp : {1, 4, 8}) {
    std::vector<std::vector<uint32_t>> v = idx;
    for (auto& r : v)
      for (auto& x : r) x &= (1u << bpp) - 1;
    const char* names[] = {"pal1", "pal4", "pal8"};
    add(names[bpp == 1   ? 0
              : bpp == 4 ? 1
                         : 2],
        {.width = 5,
         .height = 3,
         .bpp = bpp,
         .colours_used = bpp == 1 ? 2u : 16u,
         .palette = std::vector<Bgr>(pal.begin(), pal.begin() + (bpp == 1 ? 2 : 16)),
         .data = PackRows(v, bpp)});
  }
  add("core4", {.header_size = 12,
                .width = 5,
                .height = 3,
                .bpp = 4,
                .palette = pal,
                .data = PackRows(idx, 4)});
  add("core24", {.header_size = 12, .width = 2, .height = 2, .data = PackRows(rgb, 24)});
  add("rgb24", {.width = 2, .height = 2, .data = PackRows(rgb, 24)});
  add("rgb24_topdown", {.width = 2, .height = -2, .data = PackRows(rgb, 24, true)});
  add("rgb32_v5",
      {.header_size = 124, .width = 2, .height = 2, .bpp = 32, .data = PackRows(rgb, 32)});
  add("rgb16", {.width = 2, .height = 2, .bpp = 16, .data = PackRows(w16, 16)});
  add("bitfields565", {.width = 2,
                       .height = 2,
                       .bpp = 16,
                       .compression = 3,
                       .masks = std::array<uint32_t, 3>{0xF800, 0x07E0, 0x001F},
                       .data = PackRows(w16, 16)});
  add("bitfields32_v4", {.header_size = 108,
                         .width = 2,
                         .height = -2,
                         .bpp = 32,
                         .compression = 3,
                         .masks = std::array<uint32_t, 3>{0x3FF00000, 0xFFC00, 0x3FF},
                         .data = PackRows(rgb, 32, true)});
  add("rle8", {.width = 5,
               .height = 3,
               .bpp = 8,
               .compression = 1,
               .colours_used = 16,
               .palette = pal,
               .data = {2, 1, 0, 3, 4, 5, 6, 0, 0, 0, 0, 2, 1, 1, 2, 9, 0, 1}});
  add("rle4", {.width = 5,
               .height = 3,
               .bpp = 4,
               .compression = 2,
               .palette = pal,
               .data = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 2, 1, 0, 1, 0xF0, 0, 1}});
  return out;
}

}  // namespace coiffure::bmptest
