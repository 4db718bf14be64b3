// bmpdump FILE: prints "WIDTHxHEIGHT\n" and then the pixels as raw 8-bit RGB, top row first.
#include <cstdio>
#include <exception>
#include <vector>

#include "imaging/picture.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bmpdump FILE\n");
    return 2;
  }
  coiffure::Picture pic;
  try {
    pic.LoadFromFile(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::printf("%dx%d\n", pic.Width(), pic.Height());
  std::vector<unsigned char> row(static_cast<size_t>(pic.Width()) * 3);
  for (int y = 0; y < pic.Height(); ++y) {
    pic.ReadRowBgr(y, row.data());
    for (size_t i = 0; i + 2 < row.size(); i += 3) std::swap(row[i], row[i + 2]);
    std::fwrite(row.data(), 1, row.size(), stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
