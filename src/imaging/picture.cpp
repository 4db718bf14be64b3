#include "imaging/picture.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

namespace coiffure {

std::string CannotOpenMessage(const std::string& path) {
  return "Cannot open file " + path;
}

namespace {

size_t StrideFor(int width, int bpp) {
  return (static_cast<size_t>(width) * static_cast<size_t>(bpp) + 7) / 8;
}

std::filesystem::path PathFromUtf8(const std::string& s) {
  return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

// Value of a masked channel scaled to 0..255, as the platform expands bitfields.
uint8_t ExpandChannel(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1u) == 0) ++shift;
  uint32_t m = mask >> shift;
  int bits = 0;
  while ((m >> bits) & 1u) ++bits;
  uint32_t v = (value & mask) >> shift;
  if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
  // Replicate the high bits into the low ones so that the maximum maps to 255.
  uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    int sh = 8 - filled - bits;
    out |= sh >= 0 ? (v << sh) : (v >> -sh);
    filled += bits;
  }
  return static_cast<uint8_t>(out & 0xFF);
}

}  // namespace

void swap(Picture& a, Picture& b) noexcept {
  std::swap(a.width_, b.width_);
  std::swap(a.height_, b.height_);
  std::swap(a.bpp_, b.bpp_);
  std::swap(a.stride_, b.stride_);
  std::swap(a.layout_, b.layout_);
  std::swap(a.pixels_, b.pixels_);
}

Picture Picture::FromLayout(Layout layout, std::vector<uint8_t> pixels) {
  Picture p;
  p.width_ = layout.width;
  p.height_ = layout.height;
  p.bpp_ = layout.bpp;
  p.stride_ = StrideFor(layout.width, layout.bpp);
  p.layout_ = std::move(layout);
  p.pixels_ = std::move(pixels);
  return p;
}

Picture Picture::Create24(int width, int height, Bgr fill) {
  if (width < 0 || height < 0 || int64_t{width} * height > kMaxPixels)
    throw PictureError(kMsgInvalidBitmap);
  Layout l;
  l.width = width;
  l.height = height;
  l.bpp = width > 0 && height > 0 ? 24 : 0;
  std::vector<uint8_t> px(StrideFor(width, 24) * static_cast<size_t>(height));
  for (size_t i = 0; i + 2 < px.size(); i += 3) {
    px[i] = fill.b;
    px[i + 1] = fill.g;
    px[i + 2] = fill.r;
  }
  return FromLayout(std::move(l), std::move(px));
}

void Picture::SetSize(int width, int height) {
  Picture p = Create24(width, height);
  swap(*this, p);
}

void Picture::ReadRowBgr(int y, uint8_t* out) const {
  const uint8_t* row = Row(y);
  switch (bpp_) {
    case 24:
      std::memcpy(out, row, static_cast<size_t>(width_) * 3);
      return;
    case 1:
    case 4:
    case 8: {
      const int per_byte = 8 / bpp_;
      const unsigned mask = (1u << bpp_) - 1;
      for (int x = 0; x < width_; ++x) {
        const int shift = 8 - bpp_ * (x % per_byte + 1);
        const unsigned idx = (row[x / per_byte] >> shift) & mask;
        const Bgr c = idx < layout_.palette.size() ? layout_.palette[idx] : Bgr{};
        out[3 * x] = c.b;
        out[3 * x + 1] = c.g;
        out[3 * x + 2] = c.r;
      }
      return;
    }
    case 16:
    case 32: {
      const int bytes = bpp_ / 8;
      for (int x = 0; x < width_; ++x) {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= uint32_t{row[x * bytes + i]} << (8 * i);
        out[3 * x] = ExpandChannel(v, layout_.mask_b);
        out[3 * x + 1] = ExpandChannel(v, layout_.mask_g);
        out[3 * x + 2] = ExpandChannel(v, layout_.mask_r);
      }
      return;
    }
    default:
      return;
  }
}

Bgr Picture::PixelBgr(int x, int y) const {
  std::vector<uint8_t> row(static_cast<size_t>(width_) * 3);
  ReadRowBgr(y, row.data());
  return {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
}

void Picture::ConvertTo24() {
  if (bpp_ == 24 || Empty()) return;
  Picture out = Create24(width_, height_);
  for (int y = 0; y < height_; ++y) ReadRowBgr(y, out.Row(y));
  swap(*this, out);
}

void Picture::LoadFromBytes(std::span<const uint8_t> bytes) {
  Picture p = bytes.empty() ? Picture() : DecodeBmp(bytes);
  swap(*this, p);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  if (!in) throw PictureError(CannotOpenMessage(path));
  std::vector<uint8_t> data;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) throw PictureError(CannotOpenMessage(path));
  data.resize(static_cast<size_t>(size));
  in.seekg(0, std::ios::beg);
  if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), size))
    throw PictureError(CannotOpenMessage(path));
  return data;
}

void Picture::LoadFromFile(const std::string& path) {
  LoadFromBytes(ReadWholeFile(path));
}

std::vector<uint8_t> Picture::EncodeBmp24() const {
  const size_t row_bytes = static_cast<size_t>(width_) * 3;
  const size_t padded = (row_bytes + 3) & ~size_t{3};
  const size_t image = padded * static_cast<size_t>(height_);
  std::vector<uint8_t> out(54 + image, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width_));
  put32(22, static_cast<uint32_t>(height_));
  out[26] = 1;
  out[28] = 24;
  put32(34, static_cast<uint32_t>(image));
  put32(38, 2835);
  put32(42, 2835);
  std::vector<uint8_t> row(row_bytes);
  for (int y = 0; y < height_; ++y) {
    ReadRowBgr(y, row.data());
    if (!row.empty())
      std::memcpy(&out[54 + padded * static_cast<size_t>(height_ - 1 - y)], row.data(), row_bytes);
  }
  return out;
}

void Picture::SaveBmp24(const std::string& path) const {
  const std::vector<uint8_t> bytes = EncodeBmp24();
  std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  if (!out) throw PictureError("Unable to write to " + path);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw PictureError("Unable to write to " + path);
}

}  // namespace coiffure
