#include "ui/main/command_table.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace coiffure {
namespace {

TEST(CommandTable, SharedCtrlRStartsThePreviewNotTheRestore) {
  const MenuEntry* e = ResolveShortcut(MainMenu(), 'R');
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->name, "R1");
  EXPECT_EQ(e->forwards_to, kToolButton1);
  // The restore entry still shows Ctrl+R.
  const MenuEntry* n17 = FindMenuEntry(MainMenu(), kMenuN17);
  ASSERT_NE(n17, nullptr);
  EXPECT_EQ(n17->shortcut.text, "Ctrl+R");
}

TEST(CommandTable, ShortcutsResolveDepthFirstIncludingTheSubmenu) {
  struct Case {
    uint16_t vk;
    const char* name;
    bool enabled;
  } cases[] = {{'Q', "S1", true},   {'T', "U1", true},   {'Z', "BMPB1", true}, {'S', "N9", false},
               {'P', "P1", false},  {0x71, "N10", true}, {0x72, "N11", true},  {0x73, "N13", true},
               {0x74, "N14", true}, {'H', "U2", true}};
  for (const Case& c : cases) {
    const MenuEntry* e = ResolveShortcut(MainMenu(), c.vk);
    ASSERT_NE(e, nullptr) << c.name;
    EXPECT_STREQ(e->name, c.name);
    EXPECT_EQ(e->enabled, c.enabled) << c.name;
  }
  EXPECT_EQ(ResolveShortcut(MainMenu(), 'A'), nullptr);
  EXPECT_EQ(ResolveShortcut(MainMenu(), 0), nullptr);
}

TEST(CommandTable, EveryForwardingEntryNamesAnEnabledToolbarButton) {
  std::set<CommandId> buttons;
  for (const auto* bar : {&ToolBar1Buttons(), &ToolBar2Buttons()})
    for (const ToolButtonInfo& b : *bar)
      if (b.enabled && b.id != kCmdNone) buttons.insert(b.id);
  int forwarding = 0;
  std::function<void(const std::vector<MenuEntry>&)> walk = [&](const auto& entries) {
    for (const MenuEntry& e : entries) {
      if (e.forwards_to != kCmdNone) {
        ++forwarding;
        EXPECT_TRUE(buttons.count(e.forwards_to)) << e.name;
      }
      walk(e.children);
    }
  };
  walk(MainMenu());
  EXPECT_EQ(forwarding, 14);  // S1 U1 BMPB1 R1 T1 N10 N11 N13 N14 N6 N7 N15 N17 U2
}

TEST(CommandTable, RotateButtonIsTheOnlyDisabledButton) {
  int disabled = 0;
  for (const auto* bar : {&ToolBar1Buttons(), &ToolBar2Buttons()})
    for (const ToolButtonInfo& b : *bar)
      if (!b.enabled) {
        ++disabled;
        EXPECT_EQ(b.hint, "旋转发型");
      }
  EXPECT_EQ(disabled, 1);
}

TEST(CommandTable, SplitterLimits) {
  EXPECT_EQ(SplitterPaintBoxWidth(-50), 0);
  EXPECT_EQ(SplitterPaintBoxWidth(30), 0);
  EXPECT_EQ(SplitterPaintBoxWidth(31), 31);
  EXPECT_EQ(SplitterPaintBoxWidth(529), 529);
  EXPECT_EQ(SplitterPaintBoxWidth(730), 730);
  EXPECT_EQ(SplitterPaintBoxWidth(900), 730);
}

}  // namespace
}  // namespace coiffure
