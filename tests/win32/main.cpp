// The Windows test program: GoogleTest under Wine, with the common controls ready.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
