#include <gtest/gtest.h>

#include "toolkit/text_win.h"

namespace coiffure {
namespace {

TEST(TextWin, ChineseSurvivesTheRoundTrip) {
  const std::string s = "真的要退出吗？";
  EXPECT_EQ(Narrow(Widen(s)), s);
  EXPECT_EQ(Widen(s).size(), 7u);
}

TEST(TextWin, AppFolderEndsInBackslash) {
  const std::string f = AppFolder();
  ASSERT_FALSE(f.empty());
  EXPECT_EQ(f.back(), '\\');
}

}  // namespace
}  // namespace coiffure
