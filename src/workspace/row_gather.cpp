#include "workspace/row_gather.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "workspace/vector_level.h"

#if defined(__x86_64__) || defined(_M_X64) || defined(__i386__) || defined(_M_IX86)
#define COIFFURE_X86 1
#include <immintrin.h>
#if defined(_MSC_VER) && !defined(__clang__)
#define COIFFURE_TARGET_SSSE3
#else
// Only these functions use the byte shuffle; they run when the processor has it.
#define COIFFURE_TARGET_SSSE3 __attribute__((target("ssse3")))
#endif
#endif

namespace coiffure {

namespace {

constexpr int kGroupPixels = 5;  // 15 bytes: the most a 16-byte vector holds whole

bool HasShuffle() {
  return AvailableVectorLevel() != VectorLevel::kBaseline;
}

}  // namespace

RowGather::RowGather(std::span<const int32_t> src_index, int src_width)
    : src_bytes_(static_cast<size_t>(src_width) * 3), offs_(src_index.size()) {
  for (size_t i = 0; i < offs_.size(); ++i) offs_[i] = static_cast<uint32_t>(src_index[i]) * 3;
  if (!HasShuffle() || src_bytes_ < 16) return;
  // Greedy groups: as many consecutive pixels (up to five) as fit one 16-byte load. Enlarging
  // and mild shrinking keep five to a group; strong shrinking falls to fewer.
  const size_t n = src_index.size();
  for (size_t i = 0; i < n;) {
    int32_t lo = src_index[i], hi = lo;
    size_t k = 1;
    for (; k < kGroupPixels && i + k < n; ++k) {
      const int32_t s = src_index[i + k];
      if (3 * (int64_t{std::max(hi, s)} - std::min(lo, s) + 1) > 16) break;
      lo = std::min(lo, s), hi = std::max(hi, s);
    }
    // Near the row's end the load starts earlier so that it stays inside the row.
    const size_t base = std::min(size_t(lo) * 3, src_bytes_ - 16);
    groups_.push_back({static_cast<uint32_t>(base), static_cast<uint32_t>(i * 3)});
    // A set top bit gives 0 in the bytes after the group; the next group overwrites them.
    uint8_t shuffle[16];
    std::memset(shuffle, 0x80, sizeof shuffle);
    for (size_t p = 0; p < k; ++p)
      for (int c = 0; c < 3; ++c)
        shuffle[3 * p + c] = static_cast<uint8_t>(offs_[i + p] - base + c);
    shuffles_.insert(shuffles_.end(), shuffle, shuffle + 16);
    i += k;
  }
}

BlendPlan::BlendPlan(std::span<const int32_t> src_index, int src_width) {
  const size_t n = src_index.size() * 3, src_bytes = static_cast<size_t>(src_width) * 3;
  if (!HasShuffle() || n < 16 || src_bytes < 16) return;
  src_.reserve((n + 15) / 16);
  shuffles_.reserve(src_.capacity() * 16);
  for (size_t at = 0;; at += 16) {
    at = std::min(at, n - 16);  // the last chunk ends with the row
    size_t from[16], lo = SIZE_MAX, hi = 0;
    for (size_t b = 0, px = at / 3, c = at % 3; b < 16; ++b) {
      from[b] = size_t(src_index[px]) * 3 + c;
      lo = std::min(lo, from[b]), hi = std::max(hi, from[b]);
      if (++c == 3) c = 0, ++px;
    }
    if (hi - lo >= 16) {
      src_.clear(), shuffles_.clear();
      return;
    }
    const size_t base = std::min(lo, src_bytes - 16);  // inside the row near its end
    src_.push_back(static_cast<uint32_t>(base));
    for (size_t b = 0; b < 16; ++b) shuffles_.push_back(static_cast<uint8_t>(from[b] - base));
    if (at + 16 == n) break;
  }
  bytes_ = n;
}

void RowGather::Run(const uint8_t* src, uint8_t* dst) const {
  if (groups_.empty()) {
    RunScalar(src, dst);
  } else {
    RunShuffled(src, dst);
  }
}

// Each pixel moves as one 4-byte word; the fourth byte is overwritten by the next pixel or lands
// in the slack. Only a pixel at the very end of the source row is copied bytewise, since the word
// would reach past it.
void RowGather::RunScalar(const uint8_t* src, uint8_t* dst) const {
  for (const uint32_t o : offs_) {
    if (o + 4 <= src_bytes_) {
      uint32_t v;
      std::memcpy(&v, src + o, 4);
      std::memcpy(dst, &v, 4);
    } else {
      dst[0] = src[o], dst[1] = src[o + 1], dst[2] = src[o + 2];
    }
    dst += 3;
  }
}

#if defined(COIFFURE_X86)

namespace {

__m128i Load(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

void Store(uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// (under AND the shuffled mask window) OR the shuffled colour window, for 16 bytes.
COIFFURE_TARGET_SSSE3 inline __m128i Blend16(__m128i under, __m128i m, __m128i c, __m128i ms,
                                             __m128i cs) {
  return _mm_or_si128(_mm_and_si128(under, _mm_shuffle_epi8(m, ms)), _mm_shuffle_epi8(c, cs));
}

}  // namespace

COIFFURE_TARGET_SSSE3 void RowGather::RunShuffled(const uint8_t* src, uint8_t* dst) const {
  const Group* g = groups_.data();
  const uint8_t* shuffle = shuffles_.data();
  for (size_t i = 0, n = groups_.size(); i < n; ++i, shuffle += 16)
    Store(dst + g[i].dst, _mm_shuffle_epi8(Load(src + g[i].src), Load(shuffle)));
}

// The plans' arrays are read through local pointers: stores into the frame could otherwise
// alias them and force a reload of each on every chunk.
COIFFURE_TARGET_SSSE3 void MaskThenColour(const BlendPlan& mp, const uint8_t* m,
                                          const BlendPlan& cp, const uint8_t* c,
                                          const uint8_t* under, uint8_t* d) {
  const size_t full = mp.bytes_ / 16, last = mp.bytes_ - 16;
  const uint32_t *msrc = mp.src_.data(), *csrc = cp.src_.data();
  const uint8_t *mshuf = mp.shuffles_.data(), *cshuf = cp.shuffles_.data();
  size_t i = 0;
  if (&mp == &cp) {  // a pair of one width: one shuffle serves both
    for (; i < full; ++i) {
      const __m128i s = Load(mshuf + 16 * i);
      Store(d + 16 * i, Blend16(Load(under + 16 * i), Load(m + msrc[i]), Load(c + msrc[i]), s, s));
    }
  }
  for (; i < full; ++i)
    Store(d + 16 * i, Blend16(Load(under + 16 * i), Load(m + msrc[i]), Load(c + csrc[i]),
                              Load(mshuf + 16 * i), Load(cshuf + 16 * i)));
  // The row's last 16 bytes, overlapping the chunk before them unless the row is a multiple
  // of 16 long.
  if (full * 16 == mp.bytes_) return;
  Store(d + last, Blend16(Load(under + last), Load(m + msrc[full]), Load(c + csrc[full]),
                          Load(mshuf + 16 * full), Load(cshuf + 16 * full)));
}

#else

void RowGather::RunShuffled(const uint8_t* src, uint8_t* dst) const {
  RunScalar(src, dst);
}

// Never called: without the byte shuffle every plan is empty.
void MaskThenColour(const BlendPlan&, const uint8_t*, const BlendPlan&, const uint8_t*,
                    const uint8_t*, uint8_t*) {}

#endif

}  // namespace coiffure
