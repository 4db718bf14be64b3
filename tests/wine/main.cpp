// The integration tests run in one Wine process: common controls are set up once here.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                            ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS |
                                            ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
