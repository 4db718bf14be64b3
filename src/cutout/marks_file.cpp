#include "cutout/marks_file.h"

#include <algorithm>

namespace coiffure::cutout {

namespace {

constexpr uint8_t kMagic[4] = {'C', 'M', 'K', '1'};

void Put(std::vector<uint8_t>& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Seven bits a byte, low first; the top bit says another byte follows.
void PutCount(std::vector<uint8_t>& out, uint64_t v) {
  for (; v >= 0x80; v >>= 7) out.push_back(static_cast<uint8_t>(v | 0x80));
  out.push_back(static_cast<uint8_t>(v));
}

struct Reader {
  std::span<const uint8_t> bytes;
  size_t at = 0;
  bool ok = true;

  uint64_t Fixed(int n) {
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= static_cast<uint64_t>(Byte()) << (8 * i);
    return v;
  }
  uint8_t Byte() {
    if (at >= bytes.size()) return ok = false, 0;
    return bytes[at++];
  }
  uint64_t Count() {
    uint64_t v = 0;
    for (int shift = 0; ok && shift < 64; shift += 7) {
      const uint8_t b = Byte();
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    return ok = false, 0;
  }
};

}  // namespace

std::vector<uint8_t> EncodeMarks(const Marks& marks, uint64_t photo) {
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  Put(out, photo, 8);
  Put(out, static_cast<uint32_t>(marks.width), 4);
  Put(out, static_cast<uint32_t>(marks.height), 4);
  for (size_t i = 0; i < marks.labels.size();) {
    size_t end = i + 1;
    while (end < marks.labels.size() && marks.labels[end] == marks.labels[i]) ++end;
    out.push_back(static_cast<uint8_t>(marks.labels[i]));
    PutCount(out, end - i);
    i = end;
  }
  return out;
}

std::optional<Marks> DecodeMarks(std::span<const uint8_t> bytes, uint64_t photo, int width,
                                 int height) {
  Reader in{bytes};
  for (const uint8_t m : kMagic)
    if (in.Byte() != m) return {};
  if (in.Fixed(8) != photo || in.Fixed(4) != static_cast<uint32_t>(width) ||
      in.Fixed(4) != static_cast<uint32_t>(height) || !in.ok || width <= 0 || height <= 0)
    return {};
  Marks marks = Marks::Create(width, height);
  size_t filled = 0;
  while (in.ok && in.at < bytes.size()) {
    const uint8_t label = in.Byte();
    const uint64_t run = in.Count();
    if (!in.ok || label > static_cast<uint8_t>(Mark::kOutside) || run == 0 ||
        run > marks.labels.size() - filled)
      return {};
    std::fill_n(marks.labels.begin() + static_cast<std::ptrdiff_t>(filled), run,
                static_cast<Mark>(label));
    filled += run;
  }
  if (!in.ok || filled != marks.labels.size()) return {};
  return marks;
}

}  // namespace coiffure::cutout
