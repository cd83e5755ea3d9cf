#include <windows.h>

#include <gtest/gtest.h>

TEST(Win32Smoke, Placeholder) { EXPECT_TRUE(true); }
