// artgen OUTDIR: draws the program's artwork and hairstyles as BMP files.
// Provisional: plain pictures of the right sizes.
#include <cstdio>
#include <filesystem>
#include <string>

#include "imaging/picture.h"

using coiffure::Bgr;
using coiffure::Picture;

namespace {
void Save(const std::string& path, int w, int h, Bgr c) {
  Picture::Create24(w, h, c).SaveBmp24(path);
}

void SaveIco(const std::string& path) {
  const int s = 32;
  std::vector<uint8_t> ico(6 + 16 + 40 + s * s * 3 + s * 4, 0);
  auto p16 = [&](size_t at, uint16_t v) {
    ico[at] = v & 0xFF;
    ico[at + 1] = v >> 8;
  };
  auto p32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) ico[at + i] = (v >> (8 * i)) & 0xFF;
  };
  p16(2, 1);
  p16(4, 1);
  ico[6] = s;
  ico[7] = s;
  p16(10, 1);
  p16(12, 24);
  p32(14, static_cast<uint32_t>(ico.size() - 22));
  p32(18, 22);
  p32(22, 40);
  p32(26, s);
  p32(30, s * 2);
  p16(34, 1);
  p16(36, 24);
  for (int i = 0; i < s * s; ++i) {
    ico[62 + 3 * i] = 128;
    ico[62 + 3 * i + 1] = 128;
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(ico.data(), 1, ico.size(), f);
  std::fclose(f);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string out = argv[1];
  for (const char* d : {"/res", "/ml_data", "/ml_fx"}) std::filesystem::create_directories(out + d);
  Save(out + "/res/splash.bmp", 329, 263, {200, 220, 240});
  Save(out + "/res/image3.bmp", 160, 146, {90, 90, 90});
  Save(out + "/res/band.bmp", 248, 306, {230, 230, 230});
  Save(out + "/res/toolbar.bmp", 208, 16, {255, 0, 255});
  Save(out + "/res/about_main.bmp", 329, 263, {200, 220, 240});
  Save(out + "/res/about_link.bmp", 39, 37, {255, 0, 0});
  Save(out + "/res/about_mail.bmp", 36, 42, {0, 0, 255});
  Save(out + "/res/bitbtn1.bmp", 36, 18, {0, 128, 0});
  Save(out + "/res/bitbtn4.bmp", 18, 19, {0, 128, 0});
  SaveIco(out + "/res/coiffure.ico");
  Picture mask = Picture::Create24(300, 300, {255, 255, 255});
  Picture hair = Picture::Create24(300, 300, {0, 0, 0});
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 300; ++x) {
      uint8_t* m = mask.Row(y) + 3 * x;
      uint8_t* h = hair.Row(y) + 3 * x;
      m[0] = m[1] = m[2] = 0;
      h[0] = 30;
      h[1] = 50;
      h[2] = 90;
    }
  mask.SaveBmp24(out + "/ml_data/fx1mask.bmp");
  hair.SaveBmp24(out + "/ml_data/fx1.bmp");
  return 0;
}
