#include "support/Harness.h"

namespace {

using testing_support::MainWindowTest;

TEST_F(MainWindowTest, FirstStartShowsTheDesignedState) {
  auto& m = Start();
  EXPECT_EQ(m.Caption(), ":: Quenlar 1.3 ::");
}

}  // namespace
