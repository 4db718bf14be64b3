// Decoding a 12-megapixel BMP held in memory, against stb_image.
#include <stb_image.h>

#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>

#include "bench.h"
#include "imaging/picture.h"

namespace coiffure::bench {
namespace {

constexpr int kW = 4000, kH = 3000;
constexpr size_t kOutBytes = size_t{kW} * kH * 3;

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A bottom-up 8-bit BMP with a full 256-entry palette.
std::vector<uint8_t> Bmp8(int w, int h) {
  const size_t padded = PaddedRowBytes(size_t(w), 8);
  const size_t off = 54 + 1024;
  std::vector<uint8_t> b(off + padded * size_t(h), 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, static_cast<uint32_t>(off));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(w));
  Put32(b, 22, static_cast<uint32_t>(h));
  b[26] = 1;
  b[28] = 8;
  Put32(b, 34, static_cast<uint32_t>(padded * size_t(h)));
  Put32(b, 46, 256);
  FillNoise(&b[54], 1024, 7);
  for (int i = 0; i < 256; ++i) b[54 + 4 * i + 3] = 0;
  for (int y = 0; y < h; ++y) FillNoise(&b[off + padded * size_t(y)], size_t(w), 99u + y);
  return b;
}

struct StbImage {
  int w = 0, h = 0, n = 0;
  uint8_t* px = nullptr;
  explicit StbImage(const std::vector<uint8_t>& bytes)
      : px(stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &n, 3)) {}
  ~StbImage() { stbi_image_free(px); }
};

// Ours gives BGR rows, stb RGB: compare with the channels swapped back.
void VerifyAgainstStb(const std::string& name, const Picture& ours, const StbImage& stb) {
  if (!stb.px || stb.w != ours.Width() || stb.h != ours.Height()) {
    std::fprintf(stderr, "%s: stb_image and ours disagree on the size\n", name.c_str());
    std::exit(2);
  }
  std::vector<uint8_t> row(size_t(kW) * 3);
  for (int y = 0; y < kH; ++y) {
    ours.ReadRowBgr(y, row.data());
    for (int x = 0; x < kW; ++x) std::swap(row[3 * size_t(x)], row[3 * size_t(x) + 2]);
    RequireSame(name, row.data(), stb.px + size_t(y) * kW * 3, row.size());
  }
}

Workload Make(const std::string& name, std::vector<uint8_t> file) {
  auto bytes = std::make_shared<std::vector<uint8_t>>(std::move(file));
  Workload w;
  w.name = name;
  Picture ours;
  try {
    ours = DecodeBmp(*bytes);
    ours.ConvertTo24();
  } catch (const std::exception& e) {
    w.skipped = std::string("our decoder refuses this file for now (") + e.what() + ")";
    return w;
  }
  VerifyAgainstStb(name, ours, StbImage(*bytes));
  // Ours yields 24-bit BGR like the peer's RGB: the same amount of work.
  w.ours = [bytes] {
    Picture p = DecodeBmp(*bytes);
    p.ConvertTo24();
    benchmark::DoNotOptimize(p.Row(0));
  };
  w.peer_name = "stb_image";
  w.peer = [bytes] {
    StbImage img(*bytes);
    benchmark::DoNotOptimize(img.px);
  };
  auto src = std::make_shared<std::vector<uint8_t>>(kOutBytes);
  auto dst = std::make_shared<std::vector<uint8_t>>(kOutBytes);
  FillNoise(src->data(), src->size(), 5);
  w.floor = [src, dst] { std::memcpy(dst->data(), src->data(), src->size()); };
  return w;
}

}  // namespace

std::vector<Workload> DecodeWorkloads() {
  Picture photo = Picture::Create24(kW, kH);
  for (int y = 0; y < kH; ++y) FillNoise(photo.Row(y), size_t{kW} * 3, 500u + y);
  std::vector<Workload> out;
  out.push_back(Make("decode_bmp24_4000x3000", photo.EncodeBmp24()));
  out.push_back(Make("decode_bmp8_4000x3000", Bmp8(kW, kH)));
  return out;
}

}  // namespace coiffure::bench
