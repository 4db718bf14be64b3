// Builds the headers of JPEG, TIFF, PNG and GIF files byte by byte, so that header and EXIF
// readers can be fed any structure, valid or not, without a codec.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace coiffure::exiftest {

using Bytes = std::vector<uint8_t>;

struct Entry {
  uint16_t tag, type;
  uint32_t count, value;  // a SHORT value sits in the first two bytes of the field
};

inline void PutInt(Bytes& out, uint64_t v, int bytes, bool big) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * (big ? bytes - 1 - i : i))));
}

// A TIFF structure with IFD0 at offset 8 holding these entries (and no next IFD).
inline Bytes Tiff(bool big, const std::vector<Entry>& entries) {
  Bytes out = {uint8_t(big ? 'M' : 'I'), uint8_t(big ? 'M' : 'I')};
  PutInt(out, 42, 2, big);
  PutInt(out, 8, 4, big);
  PutInt(out, entries.size(), 2, big);
  for (const Entry& e : entries) {
    PutInt(out, e.tag, 2, big);
    PutInt(out, e.type, 2, big);
    PutInt(out, e.count, 4, big);
    if (e.type == 3) {
      PutInt(out, e.value, 2, big);
      PutInt(out, 0, 2, big);
    } else {
      PutInt(out, e.value, 4, big);
    }
  }
  PutInt(out, 0, 4, big);
  return out;
}

inline Bytes OrientationTiff(bool big, uint32_t orientation) {
  return Tiff(big, {{0x0100, 4, 1, 64}, {0x0112, 3, 1, orientation}, {0x0131, 2, 4, 0}});
}

// A marker segment: FF, marker, big-endian length (2 + payload), payload.
inline Bytes Segment(uint8_t marker, const Bytes& payload) {
  const size_t n = payload.size() + 2;
  Bytes out = {0xFF, marker, uint8_t(n >> 8), uint8_t(n)};
  for (uint8_t b : payload) out.push_back(b);
  return out;
}

inline Bytes ExifPayload(const Bytes& tiff) {
  Bytes p = {'E', 'x', 'i', 'f', 0, 0};
  p.insert(p.end(), tiff.begin(), tiff.end());
  return p;
}

// Start of frame (baseline): precision, height, width, one component.
inline Bytes Sof(uint16_t width, uint16_t height) {
  Bytes p = {8};
  PutInt(p, height, 2, true);
  PutInt(p, width, 2, true);
  p.insert(p.end(), {1, 1, 0x11, 0});
  return p;
}

// SOI, the given segments in order, then a scan start and EOI.
inline Bytes Jpeg(const std::vector<Bytes>& segments) {
  Bytes out = {0xFF, 0xD8};
  for (const Bytes& s : segments) out.insert(out.end(), s.begin(), s.end());
  const Bytes sos = Segment(0xDA, {1, 1, 0, 0, 63, 0});
  out.insert(out.end(), sos.begin(), sos.end());
  out.insert(out.end(), {0x12, 0x34, 0xFF, 0xD9});
  return out;
}

inline Bytes JpegWithOrientation(bool big, uint32_t orientation) {
  return Jpeg({Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}),
               Segment(0xE1, ExifPayload(OrientationTiff(big, orientation))),
               Segment(0xC0, Sof(40, 30))});
}

// A PNG's signature and IHDR chunk (CRC not checked by a header reader), no image data.
inline Bytes PngHeader(uint32_t width, uint32_t height) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutInt(out, 13, 4, true);
  out.insert(out.end(), {'I', 'H', 'D', 'R'});
  PutInt(out, width, 4, true);
  PutInt(out, height, 4, true);
  out.insert(out.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
  return out;
}

// A GIF's screen (with a 2-entry colour table), a comment extension, then an image descriptor.
inline Bytes GifHeader(uint16_t sw, uint16_t sh, uint16_t x, uint16_t y, uint16_t w, uint16_t h) {
  Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
  PutInt(out, sw, 2, false);
  PutInt(out, sh, 2, false);
  out.insert(out.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});
  out.insert(out.end(), {0x21, 0xFE, 3, 'h', 'i', '!', 0});
  out.push_back(0x2C);
  for (uint16_t v : {x, y, w, h}) PutInt(out, v, 2, false);
  out.insert(out.end(), {0, 2, 2, 0x4C, 0x01, 0, 0x3B});
  return out;
}

}  // namespace coiffure::exiftest
