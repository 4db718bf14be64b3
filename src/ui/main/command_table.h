// The main window's menu bar as data: captions, shortcuts, enabled states and the command each
// entry runs. The Win32 layer builds the real menu from it, and shortcut resolution uses it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace coiffure {

// Commands of the main window. Toolbar buttons and menu entries send these ids.
enum CommandId : uint16_t {
  kCmdNone = 0,
  // Toolbar buttons, named after the buttons.
  kToolButton1 = 101,   // start the camera preview
  kToolButton10 = 102,  // snapshot
  kToolButton2 = 103,   // stop the camera preview
  kToolButton5 = 104,   // contrast up
  kToolButton7 = 105,   // contrast down
  kToolButton12 = 106,  // brightness up
  kToolButton6 = 107,   // brightness down
  kToolButton15 = 108,  // reload the photo
  kToolButton13 = 109,  // enlarge mode
  kToolButton11 = 110,  // shrink mode
  kToolButton9 = 111,   // rotate: disabled for good
  kToolButton3 = 112,   // move mode
  kToolButton14 = 113,  // help
  // Menu entries with handlers of their own.
  kMenuS1 = 201,
  kMenuU1,
  kMenuBMPB1,
  kMenuN9,
  kMenuP1,
  kMenuR1,
  kMenuT1,
  kMenuE1,
  kMenuC2,
  kMenuN10,
  kMenuN11,
  kMenuN13,
  kMenuN14,
  kMenuN6,
  kMenuN7,
  kMenuN15,
  kMenuN17,
  kMenuU2,
  kMenuA1,
};

// A Ctrl shortcut: the virtual-key code pressed with Ctrl alone; 0 for none.
struct Shortcut {
  uint16_t vk = 0;
  std::string text;  // as shown in the menu, e.g. "Ctrl+Q"
};

struct MenuEntry {
  const char* name;     // the entry's name, e.g. "S1"
  std::string caption;  // empty for a separator
  CommandId id = kCmdNone;
  Shortcut shortcut;
  bool enabled = true;
  CommandId forwards_to = kCmdNone;  // the toolbar button whose click the handler performs
  std::vector<MenuEntry> children;
  bool IsSeparator() const { return caption.empty(); }
};

struct ToolButtonInfo {
  const char* name;
  CommandId id;
  int icon;          // index in ImageList1, -1 for a separator
  std::string hint;  // tooltip
  bool enabled = true;
};

// Menus left to right: 控制台, 编辑, 帮助.
const std::vector<MenuEntry>& MainMenu();
// ToolBar1's and ToolBar2's buttons, left to right.
const std::vector<ToolButtonInfo>& ToolBar1Buttons();
const std::vector<ToolButtonInfo>& ToolBar2Buttons();

// Depth-first in menu order; the first entry bearing the shortcut wins. Returns nullptr when no
// entry bears it. The caller runs the entry only when it is enabled.
const MenuEntry* ResolveShortcut(std::span<const MenuEntry> menus, uint16_t vk);

// Finds an entry by id anywhere in the menu tree.
const MenuEntry* FindMenuEntry(std::span<const MenuEntry> menus, CommandId id);

// The splitter's rule for the paint box's width: at most 730, and 30 or less collapses to 0.
int SplitterPaintBoxWidth(int proposed);

}  // namespace coiffure
