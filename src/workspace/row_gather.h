// Gathers the 3-byte pixels of one source row into a contiguous row by a fixed column map: the
// horizontal half of a nearest-neighbour stretch, planned once and run for every row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace coiffure {

class RowGather {
 public:
  // Run may write this many bytes beyond Bytes() (whole vectors are stored).
  static constexpr size_t kSlack = 16;

  RowGather() = default;
  // Destination pixel i takes source pixel src_index[i]; every index lies in [0, src_width).
  RowGather(std::span<const int32_t> src_index, int src_width);

  size_t Bytes() const { return offs_.size() * 3; }
  // Writes Bytes() bytes to dst, which must have room for Bytes() + kSlack.
  void Run(const uint8_t* src, uint8_t* dst) const;

 private:
  void RunScalar(const uint8_t* src, uint8_t* dst) const;
  void RunShuffled(const uint8_t* src, uint8_t* dst) const;

  size_t src_bytes_ = 0;
  std::vector<uint32_t> offs_;  // source byte offset per destination pixel
  // Shuffle plan: each group moves up to five pixels that lie within 16 source bytes with one
  // load, one byte shuffle and one store. Empty when the processor (see vector_level.h) or the
  // row cannot use it.
  struct Group {
    uint32_t src, dst;
  };
  std::vector<Group> groups_;
  std::vector<uint8_t> shuffles_;  // 16 bytes per group
};

// A whole destination row as 16-byte chunks, each taken from one 16-byte window of the source
// row by one byte shuffle: the plan for blending a stretched picture straight from its rows,
// with no gathered copy in between. Only maps that do not shrink fit (a chunk's bytes must come
// from 16 neighbouring source bytes); the plan is empty for others, for rows shorter than 16
// bytes and without the byte shuffle (see vector_level.h).
class BlendPlan {
 public:
  BlendPlan() = default;
  BlendPlan(std::span<const int32_t> src_index, int src_width);

  bool Empty() const { return src_.empty(); }
  size_t Bytes() const { return bytes_; }

 private:
  friend void MaskThenColour(const BlendPlan&, const uint8_t*, const BlendPlan&, const uint8_t*,
                             const uint8_t*, uint8_t*);
  size_t bytes_ = 0;
  std::vector<uint32_t> src_;      // where each chunk's window starts in the source row
  std::vector<uint8_t> shuffles_;  // 16 bytes per chunk
};

// out[i] = (under[i] AND mask byte) OR colour byte over one row, the two pictures' bytes chosen
// by their plans (of the same length; they may be one plan). under may be out itself: the last
// chunk may overlap the one before it, and the operation gives the same bytes when repeated.
void MaskThenColour(const BlendPlan& mask_plan, const uint8_t* mask_row,
                    const BlendPlan& colour_plan, const uint8_t* colour_row, const uint8_t* under,
                    uint8_t* out);

}  // namespace coiffure
