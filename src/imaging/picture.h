// An in-memory bitmap that keeps the depth of the file it came from.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace coiffure {

// Every failure of the picture type carries the exact text the user sees.
class PictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kMsgCannotOpen = "Cannot open file %s";
inline constexpr const char* kMsgInvalidBitmap = "Bitmap image is not valid";

// "Cannot open file <path>"
std::string CannotOpenMessage(const std::string& path);

// Pictures larger than this many pixels are refused before any allocation:
// a 12-megapixel camera photo passes with a wide margin.
inline constexpr int64_t kMaxPixels = int64_t{1} << 26;  // 67,108,864
inline constexpr int32_t kMaxSide = 32768;
// The largest file a picture within the cap can need: 4 bytes a pixel plus headers and palette.
inline constexpr int64_t kMaxFileBytes = 4 * kMaxPixels + (int64_t{1} << 20);

// The bytes of a row of width pixels at bpp bits each, padded to 4 bytes, as bitmap files and
// device-independent bitmaps store their rows.
constexpr size_t PaddedRowBytes(size_t width, size_t bpp) {
  return (width * bpp + 31) / 32 * 4;
}

struct Bgr {
  uint8_t b = 0, g = 0, r = 0;
  friend bool operator==(const Bgr&, const Bgr&) = default;
};

class Picture {
 public:
  Picture() = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // 0 for an empty picture, else 1, 4, 8, 16, 24 or 32.
  int BitsPerPixel() const { return bpp_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Bytes per stored row (rows are packed, no padding beyond what the depth needs).
  size_t Stride() const { return stride_; }

  // Row y, 0 being the top row, in the stored depth (3 bytes BGR per pixel at 24 bits).
  uint8_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * stride_; }
  const uint8_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * stride_; }

  // Converts to 24 bits per pixel keeping size and look; nothing happens at 24 bits.
  void ConvertTo24();
  // Writes row y as BGR triplets into out (3 * Width() bytes), whatever the stored depth.
  void ReadRowBgr(int y, uint8_t* out) const;
  Bgr PixelBgr(int x, int y) const;

  // A fresh 24-bit picture of the given size, filled with fill.
  static Picture Create24(int width, int height, Bgr fill = {});
  // Gives the picture a size: a 24-bit picture filled with black.
  void SetSize(int width, int height);

  // Replaces the content from a BMP file image. Zero bytes give an empty picture.
  // Throws PictureError(kMsgInvalidBitmap) and leaves the picture unchanged on any fault.
  void LoadFromBytes(std::span<const uint8_t> bytes);
  // Reads the file (UTF-8 path) and loads it. A file that cannot be opened throws
  // PictureError(CannotOpenMessage(path)). The picture is unchanged on any failure.
  void LoadFromFile(const std::string& path);

  // Gives up the pixels' memory (the picture becomes empty), for a later decode to reuse.
  std::vector<uint8_t> ReleaseStorage();

  // A 24-bit bottom-up BMP of the picture (converted copy when not 24-bit).
  std::vector<uint8_t> EncodeBmp24() const;
  // Writes EncodeBmp24() to path; throws PictureError on failure.
  void SaveBmp24(const std::string& path) const;

  // Internal representation, set by the decoder. Pixel rows are stored top row first, packed
  // to Stride() bytes; at 1 and 4 bits the leftmost pixel is in the high bits of a byte.
  struct Layout {
    int width = 0, height = 0, bpp = 0;
    std::vector<Bgr> palette;                     // for 1, 4, 8 bits; missing entries are black
    uint32_t mask_r = 0, mask_g = 0, mask_b = 0;  // for 16 and 32 bits, contiguous bits
  };
  const Layout& GetLayout() const { return layout_; }
  static Picture FromLayout(Layout layout, std::vector<uint8_t> pixels);

  friend void swap(Picture& a, Picture& b) noexcept;

 private:
  // A masked channel turned into 0..255 by one shift, one AND and one table read.
  struct Channel {
    int shift = 0;
    uint32_t mask = 0;
    std::array<uint8_t, 256> scale{};
  };
  // Tables derived from the layout once, so that row reads do no per-pixel decisions.
  struct Lookups {
    std::vector<Bgr> colours;         // 2^bpp entries for palette depths
    std::array<Channel, 3> channels;  // blue, green, red
    bool plain32 = false;             // 32 bits with the usual 8-8-8 masks
  };
  void BuildLookups();
  void ReadPaletteRow(const uint8_t* row, uint8_t* out) const;
  void ReadMaskedRow(const uint8_t* row, uint8_t* out) const;

  int width_ = 0, height_ = 0, bpp_ = 0;
  size_t stride_ = 0;
  Layout layout_;
  std::vector<uint8_t> pixels_;
  Lookups lookups_;
};

// Decodes a BMP file image; throws PictureError(kMsgInvalidBitmap) on any fault. The pixels are
// placed in the memory of `storage` when it is large enough (its bytes do not matter).
Picture DecodeBmp(std::span<const uint8_t> bytes, std::vector<uint8_t> storage = {});

// Reads a whole file (UTF-8 path); throws PictureError(CannotOpenMessage(path)).
std::vector<uint8_t> ReadWholeFile(const std::string& path);
// The same into `into`, reusing its memory.
void ReadWholeFile(const std::string& path, std::vector<uint8_t>& into);

// Loads pictures one after another as Picture::LoadFromFile does, but keeps the memory of the
// file and of each picture it replaces for the next: fresh blocks this large cost a page fault
// every 4 KB, which outweighs reading and decoding them (the library scan loads hundreds).
class RecyclingLoader {
 public:
  // The file, in the loader's memory, until the next Read.
  const std::vector<uint8_t>& Read(const std::string& path);
  // Replaces picture with the file last read; on failure the picture is unchanged.
  void Decode(Picture& picture);
  void Load(const std::string& path, Picture& picture) {
    Read(path);
    Decode(picture);
  }

 private:
  std::vector<uint8_t> file_, spare_;
};

}  // namespace coiffure
