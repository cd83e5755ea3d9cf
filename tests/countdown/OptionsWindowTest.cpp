// The beep frequency window: the clamp, the key filter, the spin button and the test tone.
#include "countdown/frmOptions.h"
#include "support/Harness.h"

namespace {

namespace kernel32 = os::fake::kernel32;
using testing_support::MainWindowTest;
using namespace std::chrono_literals;

class OptionsWindow : public MainWindowTest {
 protected:
  void SetUp() override { Start(); }
  // The window as the menu opens it, with what the user does in it.
  void WhileOpen(std::function<void(countdown::frmOptions&)> steps) {
    bool ran = false;
    backend.WhileModal([&](ui::Form& form) {
      ran = true;
      auto* options = dynamic_cast<countdown::frmOptions*>(&form);
      ASSERT_NE(options, nullptr) << form.Name();
      steps(*options);
      if (options->IsLoaded()) backend.CloseBox(*options);
    });
    ASSERT_TRUE(backend.Choose(M().mnu_options));
    EXPECT_TRUE(ran);
  }
  std::vector<kernel32::Beep> Tones() { return fake.log.Of<kernel32::Beep>(); }
};

TEST_F(OptionsWindow, OpensModallyWithoutOwnerShowingTheMainWindowsFrequency) {
  state.BeepFrequencyText = "2500";
  WhileOpen([&](countdown::frmOptions& w) {
    EXPECT_EQ(w.Caption(), "Beep Frequency");
    EXPECT_TRUE(w.IsModal());
    EXPECT_EQ(w.Owner(), nullptr);
    EXPECT_FALSE(runtime.TakesInput(M()));
    EXPECT_EQ(w.txtFreq.Text(), "2500");
    EXPECT_EQ(w.scrFreq.Value(), 2500);
    EXPECT_EQ(w.cmdPlay.Caption(), "&Test");
    EXPECT_FALSE(w.tmrPlay.Enabled());
  });
  EXPECT_TRUE(runtime.TakesInput(M()));
  EXPECT_EQ(state.BeepFrequencyText, "2500");

  state.BeepFrequencyText = "123456";  // a hand-edited settings file
  WhileOpen([&](countdown::frmOptions& w) { EXPECT_EQ(w.txtFreq.Text(), "10000"); });
  EXPECT_EQ(state.BeepFrequencyText, "10000");
}

// The highest frequency applies at once, the lowest once the value is taken (here: the box is
// left), so that a frequency can be typed digit by digit.
TEST_F(OptionsWindow, TheHighestAppliesAtOnceAndTheLowestWhenTheValueIsTaken) {
  WhileOpen([&](countdown::frmOptions& w) {
    struct Case {
      const char* typed;
      const char* meanwhile;
      const char* taken;
    };
    for (Case c : {Case{"99999", "10000", "10000"}, Case{"10001", "10000", "10000"}, Case{"50", "50", "100"},
                   Case{"", "", "100"}, Case{"abc", "abc", "100"}, Case{"100", "100", "100"},
                   Case{"777", "777", "777"}, Case{"123456", "10000", "10000"}}) {
      backend.Focus(w.txtFreq);
      w.txtFreq.SetText(c.typed);
      EXPECT_EQ(w.txtFreq.Text(), c.meanwhile) << c.typed;
      backend.Focus(w.cmdPlay);
      EXPECT_EQ(w.txtFreq.Text(), c.taken) << c.typed;
      EXPECT_EQ(w.scrFreq.Value(), std::stoi(c.taken)) << c.typed;
      EXPECT_EQ(state.BeepFrequencyText, c.taken) << "while the window is still open: " << c.typed;
    }
  });
}

TEST_F(OptionsWindow, AFrequencyIsTypedDigitByDigitAndEnterOrClosingTakesIt) {
  WhileOpen([&](countdown::frmOptions& w) {
    auto selectBox = [&] {
      backend.Focus(w.txtFreq);
      ASSERT_TRUE(backend.Press(w, ui::Shortcut::Ctrl('A')));
    };
    selectBox();
    backend.Type(w.txtFreq, "500");
    EXPECT_EQ(w.txtFreq.Text(), "500");
    EXPECT_EQ(state.BeepFrequencyText, "500");
    selectBox();
    backend.Type(w.txtFreq, "99");
    EXPECT_EQ(w.txtFreq.Text(), "99");
    backend.Key(w.txtFreq, ui::vbKeyReturn);
    EXPECT_EQ(w.txtFreq.Text(), "100");
    EXPECT_EQ(w.txtFreq.SelStart(), 3) << "the caret stays at the end";
    selectBox();
    backend.Type(w.txtFreq, "25000");
    EXPECT_EQ(w.txtFreq.Text(), "10000");
    backend.Type(w.txtFreq, "7");
    EXPECT_EQ(w.txtFreq.Text(), "10000") << "a sixth digit does not fit";
    selectBox();
    backend.Type(w.txtFreq, "4");
    ASSERT_TRUE(backend.KeyDown(w, ui::vbKeyEscape));
    EXPECT_FALSE(w.IsLoaded()) << "Esc closes the window";
  });
  EXPECT_EQ(state.BeepFrequencyText, "100") << "closing took the value";
}

TEST_F(OptionsWindow, OnlyDigitsAndBackspaceCanBeTyped) {
  WhileOpen([&](countdown::frmOptions& w) {
    w.txtFreq.SetText("2500");
    w.txtFreq.SetSelStart(4);
    ASSERT_TRUE(backend.Type(w.txtFreq, "x-. +"));
    EXPECT_EQ(w.txtFreq.Text(), "2500");
    backend.Key(w.txtFreq, 8);
    EXPECT_EQ(w.txtFreq.Text(), "250");
    backend.Type(w.txtFreq, "1");
    EXPECT_EQ(w.txtFreq.Text(), "2501");
    EXPECT_EQ(state.BeepFrequencyText, "2501");
  });
}

TEST_F(OptionsWindow, TheSpinButtonStepsByOneUpwardsAndByTenAPageAndStopsAtTheEnds) {
  WhileOpen([&](countdown::frmOptions& w) {
    ASSERT_TRUE(backend.LineUp(w.scrFreq));
    EXPECT_EQ(w.txtFreq.Text(), "4001") << "up raises";
    backend.LineDown(w.scrFreq);
    backend.LineDown(w.scrFreq);
    EXPECT_EQ(w.txtFreq.Text(), "3999");
    w.scrFreq.UserPageUp();
    EXPECT_EQ(w.txtFreq.Text(), "4009");
    EXPECT_EQ(state.BeepFrequencyText, "4009");
    w.txtFreq.SetText("10000");
    backend.LineUp(w.scrFreq);
    EXPECT_EQ(w.txtFreq.Text(), "10000");
    w.txtFreq.SetText("105");
    w.scrFreq.UserPageDown();
    w.scrFreq.UserPageDown();
    EXPECT_EQ(w.txtFreq.Text(), "100");
  });
}

TEST_F(OptionsWindow, TestSoundsEvery900MsAtTheBoxsFrequencyUntilTheTickAfterStop) {
  WhileOpen([&](countdown::frmOptions& w) {
    ASSERT_TRUE(backend.Click(w.cmdPlay));
    EXPECT_EQ(w.cmdPlay.Caption(), "Sto&p");
    backend.Advance(899ms);
    EXPECT_TRUE(Tones().empty()) << "the first tone comes 900 ms after the press";
    backend.Advance(1ms);
    EXPECT_EQ(Tones(), (std::vector{kernel32::Beep{4000, 100}}));
    w.txtFreq.SetText("1234");
    backend.Advance(900ms);
    EXPECT_EQ(Tones().back(), (kernel32::Beep{1234, 100}));
    backend.Click(w.cmdPlay);
    EXPECT_EQ(w.cmdPlay.Caption(), "&Test");
    EXPECT_TRUE(w.tmrPlay.Enabled()) << "the timer stops at its own next tick";
    backend.Advance(900ms);
    EXPECT_FALSE(w.tmrPlay.Enabled());
    EXPECT_EQ(Tones().size(), 2u);
  });
}

TEST_F(OptionsWindow, TestThenStopWithin900MsGivesNoToneAtAll) {
  WhileOpen([&](countdown::frmOptions& w) {
    backend.Click(w.cmdPlay);
    backend.Advance(500ms);
    backend.Click(w.cmdPlay);
    backend.Advance(5000ms);
    EXPECT_FALSE(w.tmrPlay.Enabled());
  });
  EXPECT_TRUE(Tones().empty());
}

TEST_F(OptionsWindow, ClosingDuringATestStopsTheToneAndKeepsTheLastFrequency) {
  WhileOpen([&](countdown::frmOptions& w) {
    backend.Click(w.cmdPlay);
    backend.Advance(900ms);
    w.txtFreq.SetText("6000");
    ASSERT_TRUE(backend.CloseBox(w));
  });
  backend.Advance(5000ms);
  EXPECT_EQ(Tones().size(), 1u);
  EXPECT_EQ(state.BeepFrequencyText, "6000");
}

}  // namespace
