// The top-most helper: the exact window-placement request for each direction.
#include <gtest/gtest.h>

#include "platform/TopMost.h"
#include "support/Harness.h"

namespace {

using os::fake::Calls;
namespace user32 = os::fake::user32;

class TopMost : public ::testing::Test, public testing_support::Harness {};

TEST_F(TopMost, OnShowsAboveAllOthersAndOffOnlyLeavesTheTopBand) {
  ui::Form form(runtime, "frmAny");
  form.Load();
  platform::SetTopMost(fake.user32, form, true);
  platform::SetTopMost(fake.user32, form, false);
  EXPECT_EQ(fake.log.Only<user32::SetWindowPos>(),
            (Calls{user32::SetWindowPos{form.hWnd(), static_cast<os::HWnd>(-1), 0, 0, 0, 0, 0x43},
                   user32::SetWindowPos{form.hWnd(), static_cast<os::HWnd>(-2), 0, 0, 0, 0, 3}}));
}

}  // namespace
