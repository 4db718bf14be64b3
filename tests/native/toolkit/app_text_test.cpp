#include "toolkit/app_text.h"

#include <gtest/gtest.h>

namespace coiffure {
namespace {

TEST(AppText, TitleIsExeNameUpToFirstDotWithLowerCaseTail) {
  EXPECT_EQ(AppTitleFromExePath("C:\\Program Files\\Salon\\Coiffure.exe"), "Coiffure");
  EXPECT_EQ(AppTitleFromExePath("C:\\x\\COIFFURE.V2.EXE"), "Coiffure");
  EXPECT_EQ(AppTitleFromExePath("noext"), "noext");
}

TEST(AppText, FullStopOnlyWhenLastCharacterSortsAfterDot) {
  EXPECT_EQ(ErrorBoxText("Bitmap image is not valid"), "Bitmap image is not valid.");
  EXPECT_EQ(ErrorBoxText("Cannot open file C:\\a\\\\ml_data\\test.bmp"),
            "Cannot open file C:\\a\\\\ml_data\\test.bmp.");
  EXPECT_EQ(ErrorBoxText("ends with a dot."), "ends with a dot.");
  EXPECT_EQ(ErrorBoxText("ends with a dash-"), "ends with a dash-");  // '-' sorts before '.'
  EXPECT_EQ(ErrorBoxText("空"), "空.");
  EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(AppText, FolderKeepsTrailingBackslash) {
  EXPECT_EQ(FolderOf("C:\\Salon\\Coiffure.exe"), "C:\\Salon\\");
  EXPECT_EQ(FolderOf("Coiffure.exe"), "");
}

}  // namespace
}  // namespace coiffure
