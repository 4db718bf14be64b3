// Writes the starting corpus: one small valid file of every kind the decoder reads, and for the
// composite target the same files followed by bytes that pick frame, pictures and rectangles.
#include <cstdio>
#include <string>

#include "native/bmp_builder.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_seeds BMP_DIR COMPOSITE_DIR\n");
    return 2;
  }
  for (const auto& s : coiffure::bmptest::SampleBmps()) {
    std::vector<uint8_t> bytes = s.bytes;
    auto write = [&](const std::string& dir) {
      const std::string path = dir + "/" + s.name + ".bmp";
      FILE* f = std::fopen(path.c_str(), "wb");
      if (!f) return false;
      const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
      return std::fclose(f) == 0 && ok;
    };
    if (!write(argv[1])) return 1;
    for (uint8_t i = 0; i < 40; ++i) bytes.push_back(static_cast<uint8_t>(i * 37 + 5));
    if (!write(argv[2])) return 1;
  }
  return 0;
}
