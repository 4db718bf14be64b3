// Writes the starting corpus: one small valid file of every kind the decoder reads, and for the
// composite target the same files followed by bytes that pick frame, pictures and rectangles;
// for the header readers, the headers of each format and EXIF orientations in both byte orders.
#include <cstdio>
#include <string>

#include "native/bmp_builder.h"
#include "native/exif_builder.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool WriteHeaderSeeds(const std::string& dir) {
  using namespace coiffure::exiftest;
  const std::vector<std::pair<std::string, Bytes>> seeds = {
      {"jpeg_ii_6", JpegWithOrientation(false, 6)},
      {"jpeg_mm_8", JpegWithOrientation(true, 8)},
      {"tiff_ii_3", OrientationTiff(false, 3)},
      {"tiff_mm_5", OrientationTiff(true, 5)},
      {"png", PngHeader(640, 480)},
      {"gif", GifHeader(10, 10, 2, 3, 40, 50)},
  };
  for (const auto& [name, bytes] : seeds)
    if (!WriteFile(dir + "/" + name, bytes)) return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: make_seeds BMP_DIR COMPOSITE_DIR [HEADER_DIR]\n");
    return 2;
  }
  for (const auto& s : coiffure::bmptest::SampleBmps()) {
    std::vector<uint8_t> bytes = s.bytes;
    if (!WriteFile(std::string(argv[1]) + "/" + s.name + ".bmp", bytes)) return 1;
    for (uint8_t i = 0; i < 40; ++i) bytes.push_back(static_cast<uint8_t>(i * 37 + 5));
    if (!WriteFile(std::string(argv[2]) + "/" + s.name + ".bmp", bytes)) return 1;
  }
  if (argc == 4 && !WriteHeaderSeeds(argv[3])) return 1;
  return 0;
}
