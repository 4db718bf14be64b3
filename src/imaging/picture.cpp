#include "imaging/picture.h"

#include <algorithm>
#include <bit>
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

// Spreads a value of `bits` bits over 8 bits by repeating its high bits below it, so that the
// largest value maps to 255, as the platform expands bitfields.
uint8_t Replicate(uint32_t v, int bits) {
  uint32_t out = 0;
  for (int filled = 0; filled < 8; filled += bits) {
    const int sh = 8 - filled - bits;
    out |= sh >= 0 ? (v << sh) : (v >> -sh);
  }
  return static_cast<uint8_t>(out & 0xFF);
}

uint32_t Load32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
}

}  // namespace

void swap(Picture& a, Picture& b) noexcept {
  std::swap(a.width_, b.width_);
  std::swap(a.height_, b.height_);
  std::swap(a.bpp_, b.bpp_);
  std::swap(a.stride_, b.stride_);
  std::swap(a.layout_, b.layout_);
  std::swap(a.pixels_, b.pixels_);
  std::swap(a.lookups_, b.lookups_);
}

void Picture::BuildLookups() {
  lookups_ = Lookups();
  if (bpp_ == 1 || bpp_ == 4 || bpp_ == 8) {
    lookups_.colours.assign(size_t{1} << bpp_, Bgr{});
    const size_t n = std::min(layout_.palette.size(), lookups_.colours.size());
    std::copy_n(layout_.palette.begin(), n, lookups_.colours.begin());
    return;
  }
  if (bpp_ != 16 && bpp_ != 32) return;
  const uint32_t masks[3] = {layout_.mask_b, layout_.mask_g, layout_.mask_r};
  for (int i = 0; i < 3; ++i) {
    Channel& c = lookups_.channels[i];
    if (masks[i] == 0) continue;  // the channel reads as 0
    int shift = std::countr_zero(masks[i]);
    int bits = std::countr_one(masks[i] >> shift);
    if (bits > 8) {  // only the top 8 bits reach the result
      shift += bits - 8;
      bits = 8;
    }
    c.shift = shift;
    c.mask = (1u << bits) - 1;
    for (uint32_t v = 0; v <= c.mask; ++v) c.scale[v] = Replicate(v, bits);
  }
  lookups_.plain32 = bpp_ == 32 && layout_.mask_r == 0xFF0000 && layout_.mask_g == 0xFF00 &&
                     layout_.mask_b == 0xFF;
}

Picture Picture::FromLayout(Layout layout, std::vector<uint8_t> pixels) {
  Picture p;
  p.width_ = layout.width;
  p.height_ = layout.height;
  p.bpp_ = layout.bpp;
  p.stride_ = StrideFor(layout.width, layout.bpp);
  p.layout_ = std::move(layout);
  p.pixels_ = std::move(pixels);
  p.BuildLookups();
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
  if (fill == Bgr{}) return FromLayout(std::move(l), std::move(px));  // already black
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

void Picture::ReadPaletteRow(const uint8_t* row, uint8_t* out) const {
  const Bgr* colours = lookups_.colours.data();
  auto put = [&](int x, unsigned idx) {
    const Bgr c = colours[idx];
    out[3 * x] = c.b;
    out[3 * x + 1] = c.g;
    out[3 * x + 2] = c.r;
  };
  if (bpp_ == 8) {
    for (int x = 0; x < width_; ++x) put(x, row[x]);
  } else if (bpp_ == 4) {
    int x = 0;
    for (; x + 1 < width_; x += 2) {
      put(x, row[x >> 1] >> 4);
      put(x + 1, row[x >> 1] & 0x0F);
    }
    if (x < width_) put(x, row[x >> 1] >> 4);
  } else {
    for (int x = 0; x < width_; ++x) put(x, (row[x >> 3] >> (7 - (x & 7))) & 1);
  }
}

void Picture::ReadMaskedRow(const uint8_t* row, uint8_t* out) const {
  if (lookups_.plain32) {
    for (int x = 0; x < width_; ++x) {
      out[3 * x] = row[4 * x];
      out[3 * x + 1] = row[4 * x + 1];
      out[3 * x + 2] = row[4 * x + 2];
    }
    return;
  }
  const Channel& b = lookups_.channels[0];
  const Channel& g = lookups_.channels[1];
  const Channel& r = lookups_.channels[2];
  auto put = [&](int x, uint32_t v) {
    out[3 * x] = b.scale[(v >> b.shift) & b.mask];
    out[3 * x + 1] = g.scale[(v >> g.shift) & g.mask];
    out[3 * x + 2] = r.scale[(v >> r.shift) & r.mask];
  };
  if (bpp_ == 32) {
    for (int x = 0; x < width_; ++x) put(x, Load32(row + 4 * x));
  } else {
    for (int x = 0; x < width_; ++x) put(x, row[2 * x] | (row[2 * x + 1] << 8));
  }
}

void Picture::ReadRowBgr(int y, uint8_t* out) const {
  const uint8_t* row = Row(y);
  switch (bpp_) {
    case 24:
      std::memcpy(out, row, static_cast<size_t>(width_) * 3);
      return;
    case 1:
    case 4:
    case 8:
      ReadPaletteRow(row, out);
      return;
    case 16:
    case 32:
      ReadMaskedRow(row, out);
      return;
    default:
      return;
  }
}

Bgr Picture::PixelBgr(int x, int y) const {
  const uint8_t* row = Row(y);
  switch (bpp_) {
    case 24:
      return {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    case 1:
    case 4:
    case 8: {
      const int shift = 8 - bpp_ * (x % (8 / bpp_) + 1);
      return lookups_.colours[(row[x * bpp_ / 8] >> shift) & ((1u << bpp_) - 1)];
    }
    case 16:
    case 32: {
      const uint8_t* p = row + x * (bpp_ / 8);
      const uint32_t v = bpp_ == 32 ? Load32(p) : p[0] | (p[1] << 8);
      const Channel& b = lookups_.channels[0];
      const Channel& g = lookups_.channels[1];
      const Channel& r = lookups_.channels[2];
      if (lookups_.plain32) return {p[0], p[1], p[2]};
      return {b.scale[(v >> b.shift) & b.mask], g.scale[(v >> g.shift) & g.mask],
              r.scale[(v >> r.shift) & r.mask]};
    }
    default:
      return {};
  }
}

void Picture::ConvertTo24() {
  if (bpp_ == 24 || Empty()) return;
  Layout l;
  l.width = width_;
  l.height = height_;
  l.bpp = 24;
  const size_t stride = StrideFor(width_, 24);
  std::vector<uint8_t> px(stride * static_cast<size_t>(height_));
  for (int y = 0; y < height_; ++y) ReadRowBgr(y, px.data() + stride * static_cast<size_t>(y));
  Picture out = FromLayout(std::move(l), std::move(px));
  swap(*this, out);
}

void Picture::LoadFromBytes(std::span<const uint8_t> bytes) {
  Picture p = bytes.empty() ? Picture() : DecodeBmp(bytes);
  swap(*this, p);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::vector<uint8_t> data;
  ReadWholeFile(path, data);
  return data;
}

void ReadWholeFile(const std::string& path, std::vector<uint8_t>& data) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  if (!in) throw PictureError(CannotOpenMessage(path));
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) throw PictureError(CannotOpenMessage(path));
  // No valid bitmap is larger: refuse before reading, so a huge file costs nothing.
  if (size > kMaxFileBytes) throw PictureError(kMsgInvalidBitmap);
  if (data.capacity() < static_cast<size_t>(size)) data = {};  // no copying of the old bytes
  data.resize(static_cast<size_t>(size));
  in.seekg(0, std::ios::beg);
  if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), size))
    throw PictureError(CannotOpenMessage(path));
}

std::vector<uint8_t> Picture::ReleaseStorage() {
  std::vector<uint8_t> storage = std::move(pixels_);
  Picture empty;
  swap(*this, empty);
  return storage;
}

const std::vector<uint8_t>& RecyclingLoader::Read(const std::string& path) {
  ReadWholeFile(path, file_);
  return file_;
}

void RecyclingLoader::Decode(Picture& picture) {
  Picture p = file_.empty() ? Picture() : DecodeBmp(file_, std::move(spare_));
  swap(picture, p);
  spare_ = p.ReleaseStorage();
}

void Picture::LoadFromFile(const std::string& path) {
  LoadFromBytes(ReadWholeFile(path));
}

std::vector<uint8_t> Picture::EncodeBmp24() const {
  const size_t row_bytes = static_cast<size_t>(width_) * 3;
  const size_t padded = PaddedRowBytes(static_cast<size_t>(width_), 24);
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
