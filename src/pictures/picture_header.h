// What a picture file's own bytes say before any decoder runs: the size its header claims and
// the way up its camera stored it. Every read is bounded by the bytes there are, so missing,
// truncated or hostile data gives "unknown" (or "as stored"), never a fault or a long search.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace coiffure {

struct HeaderSize {
  int64_t width = 0, height = 0;
  friend bool operator==(const HeaderSize&, const HeaderSize&) = default;
};

// The size in the header of a PNG, JPEG, GIF, TIFF or BMP file; nothing for any other file or
// when the header is cut short. For a GIF the larger of its screen and its first image on each
// side, as a decoder may allocate either.
std::optional<HeaderSize> ReadHeaderSize(std::span<const uint8_t> file);

// What the ftyp box at the start of an ISO base media file says it holds, by its major and
// compatible brands: a HEIF picture coded with HEVC (an iPhone's HEIC, or any of the general
// HEIF brands mif1 and msf1), an AVIF picture (HEIF coded with AV1, whose remedy is not the
// iPhone's), or neither (a video, or not such a file at all).
enum class MediaBrand { kNone, kHeif, kAvif };
MediaBrand ReadMediaBrand(std::span<const uint8_t> file);

// True when a picture of this size is beyond what the program decodes (the picture type's caps).
bool ExceedsPictureLimits(int64_t width, int64_t height);

// The EXIF orientation, 1 to 8, of a JPEG (first APP1 "Exif" segment) or TIFF file (IFD0, tag
// 0x0112); 1, "as stored", when there is none or it cannot be trusted.
int ReadOrientation(std::span<const uint8_t> file);

}  // namespace coiffure
