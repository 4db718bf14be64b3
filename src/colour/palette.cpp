#include "colour/palette.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace coiffure {

const std::vector<Shade>& ShadePalette() {
  static const std::vector<Shade> palette = {
      {"自然黑", {0x1A, 0x1B, 0x1F}}, {"深棕", {0x22, 0x2B, 0x3D}},
      {"栗棕", {0x26, 0x3A, 0x5C}},   {"蜜糖棕", {0x3C, 0x5E, 0x8B}},
      {"奶茶棕", {0x5F, 0x7A, 0x9C}}, {"亚麻金", {0x7A, 0x9B, 0xB3}},
      {"浅金", {0x8C, 0xB9, 0xD2}},   {"铜橙", {0x2E, 0x53, 0xA5}},
      {"酒红", {0x2A, 0x1F, 0x5E}},   {"玫瑰粉", {0x8F, 0x82, 0xC4}},
      {"雾霾蓝", {0x7A, 0x66, 0x56}}, {"银灰", {0xAB, 0xA9, 0xA9}},
  };
  return palette;
}

const Shade* FindShade(std::string_view name) {
  for (const Shade& s : ShadePalette())
    if (s.name == name) return &s;
  return nullptr;
}

Shade CustomShade(Bgr mean) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X", mean.r, mean.g, mean.b);
  return {std::string("自选") + hex, mean};
}

std::optional<Shade> ParseShade(const std::string& text) {
  if (const Shade* s = FindShade(text)) return *s;
  if (text.size() != 7 || text[0] != '#' || !std::all_of(text.begin() + 1, text.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) != 0;
      }))
    return std::nullopt;
  const unsigned long rgb = std::stoul(text.substr(1), nullptr, 16);
  return CustomShade(
      {static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb >> 16)});
}

std::string UnknownShadeMessage(const std::string& text) {
  std::string names;
  for (const Shade& s : ShadePalette()) names += (names.empty() ? "" : "、") + s.name;
  const std::string asked = text.empty() ? "" : "：" + text;
  return kMsgNoSuchShade + asked + "。可选的发色：" + names + "，或自选颜色 #RRGGBB";
}

std::string ShadeArgument(const Shade& shade) {
  if (FindShade(shade.name)) return shade.name;
  // A custom shade's name is "自选" and the six digits.
  std::string text = "#";
  text += CustomShade(shade.mean).name.substr(std::string_view("自选").size());
  return text;
}

}  // namespace coiffure
