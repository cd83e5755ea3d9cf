// The main window started at a known moment, with helpers to schedule an action a few seconds
// ahead and to find the countdown window once the schedule has fired.
#pragma once

#include <string>

#include "countdown/frmAction.h"
#include "support/Harness.h"

namespace testing_support {

class FiringTest : public MainWindowTest {
 protected:
  // 21:00:00 at elapsed time 0: a schedule activated now for N seconds fires at the tick of
  // elapsed N seconds.
  void SetUp() override {
    clock.SetWallClock(base::MakeLocalTime({2026, 12, 6, 21, 0, 0}));
    Start();
  }
  void Countdown(const std::string& seconds) { M().txtTimeout.SetText(seconds); }
  void ActivateIn(int seconds) {
    backend.Choose(M().cboTimeUnit, 2);
    M().txtPeriod.SetText(std::to_string(seconds));
    ASSERT_TRUE(backend.Click(M().cmdActivate));
  }
  // The countdown window, once the schedule has fired with a countdown.
  countdown::frmAction* Warning() {
    for (ui::Form* form : runtime.Forms())
      if (form->Name() == "frmAction") return static_cast<countdown::frmAction*>(form);
    return nullptr;
  }
  // Lets the schedule fire; the countdown window it opened.
  countdown::frmAction& Fire() {
    backend.RunUntil([&] { return Warning() != nullptr || runtime.Ended(); }, std::chrono::hours(2));
    EXPECT_NE(Warning(), nullptr) << "the countdown window did not open";
    return *Warning();
  }
  std::uint64_t Now() { return clock.ElapsedMs(); }
};

}  // namespace testing_support
