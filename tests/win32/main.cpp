// The Windows test program: GoogleTest under Wine, with the common controls ready.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  // Started with --child-sleep-ms=N, the program is only a child process for the tests that
  // wait for one: it sleeps that long and ends with exit code 3.
  const char kChild[] = "--child-sleep-ms=";
  if (argc == 2 && std::strncmp(argv[1], kChild, sizeof kChild - 1) == 0) {
    Sleep(static_cast<DWORD>(std::atoi(argv[1] + sizeof kChild - 1)));
    return 3;
  }
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
