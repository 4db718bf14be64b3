#include "ui/main/command_table.h"

namespace coiffure {

namespace {

constexpr uint16_t kVkF2 = 0x71, kVkF3 = 0x72, kVkF4 = 0x73, kVkF5 = 0x74;

MenuEntry Sep(const char* name) {
  return MenuEntry{name, "", kCmdNone, {}, true, kCmdNone, {}};
}

MenuEntry Item(const char* name, const char* caption, CommandId id, Shortcut sc,
               CommandId forwards_to, bool enabled = true) {
  return MenuEntry{name, caption, id, std::move(sc), enabled, forwards_to, {}};
}

Shortcut Ctrl(char key) {
  return {static_cast<uint16_t>(key), std::string("Ctrl+") + key};
}
Shortcut CtrlF(uint16_t vk, const char* text) {
  return {vk, text};
}

std::vector<MenuEntry> BuildMenu() {
  MenuEntry c1{"C1", "控制台[&C]", kCmdNone, {}, true, kCmdNone, {}};
  c1.children = {
      Item("S1", "开始监控[&S]", kMenuS1, Ctrl('Q'), kToolButton1),
      Item("U1", "停止监控[&U]", kMenuU1, Ctrl('T'), kToolButton2),
      Sep("N1"),
      Item("BMPB1", "保存当前帧为BMP图像[&B]", kMenuBMPB1, Ctrl('Z'), kToolButton10),
      Sep("N8"),
      Item("N9", "保存当前图像", kMenuN9, Ctrl('S'), kCmdNone, false),
      Item("P1", "打印输出[&P]", kMenuP1, Ctrl('P'), kCmdNone, false),
      Sep("N2"),
      Item("R1", "开始录像[&R]", kMenuR1, Ctrl('R'), kToolButton1),
      Item("T1", "停止录像[&T]", kMenuT1, {}, kToolButton2),
      Sep("N3"),
      Item("E1", "退出[&E]", kMenuE1, {}, kCmdNone),
  };
  MenuEntry c2 = Item("C2", "底片处理[&C]", kMenuC2, {}, kCmdNone);
  c2.children = {
      Item("N10", "加强对比度", kMenuN10, CtrlF(kVkF2, "Ctrl+F2"), kToolButton5),
      Item("N11", "减弱对比度", kMenuN11, CtrlF(kVkF3, "Ctrl+F3"), kToolButton7),
      Sep("N12"),
      Item("N13", "加强亮度", kMenuN13, CtrlF(kVkF4, "Ctrl+F4"), kToolButton12),
      Item("N14", "减弱亮度", kMenuN14, CtrlF(kVkF5, "Ctrl+F5"), kToolButton6),
  };
  MenuEntry s2{"S2", "编辑[&E]", kCmdNone, {}, true, kCmdNone, {}};
  s2.children = {
      std::move(c2),
      Sep("N5"),
      Item("N6", "放大发型[&F]", kMenuN6, {}, kToolButton13),
      Item("N7", "缩小发型[&S]", kMenuN7, {}, kToolButton11),
      Item("N15", "移动发型图片[&Y]", kMenuN15, {}, kToolButton3),
      Sep("N16"),
      Item("N17", "复原本次底片[&D]", kMenuN17, Ctrl('R'), kToolButton15),
  };
  MenuEntry h1{"H1", "帮助[&H]", kCmdNone, {}, true, kCmdNone, {}};
  h1.children = {
      Item("U2", "如何使用[&U]", kMenuU2, Ctrl('H'), kToolButton14),
      Sep("N4"),
      Item("A1", "关于我们{&A]...", kMenuA1, {}, kCmdNone),
  };
  std::vector<MenuEntry> menus;
  menus.push_back(std::move(c1));
  menus.push_back(std::move(s2));
  menus.push_back(std::move(h1));
  return menus;
}

const MenuEntry* FindFirst(std::span<const MenuEntry> entries, auto pred) {
  for (const MenuEntry& e : entries) {
    if (pred(e)) return &e;
    if (const MenuEntry* inner = FindFirst(e.children, pred)) return inner;
  }
  return nullptr;
}

}  // namespace

const std::vector<MenuEntry>& MainMenu() {
  static const std::vector<MenuEntry> menus = BuildMenu();
  return menus;
}

const std::vector<ToolButtonInfo>& ToolBar1Buttons() {
  static const std::vector<ToolButtonInfo> buttons = {
      {"ToolButton1", kToolButton1, 0, "开始录像"},
      {"ToolButton10", kToolButton10, 1, "暂停并拍片"},
      {"ToolButton2", kToolButton2, 2, "停止录像"},
      {"ToolButton4", kCmdNone, -1, ""},
      {"ToolButton5", kToolButton5, 3, "加对比度"},
      {"ToolButton7", kToolButton7, 4, "减对比度"},
      {"ToolButton8", kCmdNone, -1, ""},
      {"ToolButton12", kToolButton12, 6, "加亮度"},
      {"ToolButton6", kToolButton6, 5, "减亮度"},
      {"ToolButton15", kToolButton15, 12, "重新引入底片"},
  };
  return buttons;
}

const std::vector<ToolButtonInfo>& ToolBar2Buttons() {
  static const std::vector<ToolButtonInfo> buttons = {
      {"ToolButton13", kToolButton13, 8, "放大发型"},
      {"ToolButton11", kToolButton11, 9, "缩小发型"},
      {"ToolButton9", kToolButton9, 11, "旋转发型", false},
      {"ToolButton3", kToolButton3, 10, "移动发型"},
      {"ToolButton14", kToolButton14, 7, "帮助"},
  };
  return buttons;
}

const MenuEntry* ResolveShortcut(std::span<const MenuEntry> menus, uint16_t vk) {
  if (vk == 0) return nullptr;
  return FindFirst(menus, [vk](const MenuEntry& e) { return e.shortcut.vk == vk; });
}

const MenuEntry* FindMenuEntry(std::span<const MenuEntry> menus, CommandId id) {
  if (id == kCmdNone) return nullptr;
  return FindFirst(menus, [id](const MenuEntry& e) { return e.id == id; });
}

int SplitterPaintBoxWidth(int proposed) {
  if (proposed <= 30) return 0;
  return proposed > 730 ? 730 : proposed;
}

}  // namespace coiffure
