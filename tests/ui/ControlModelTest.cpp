// The shared event rules of the control model, driven through the headless backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <string>
#include <vector>

#include "base/RuntimeError.h"
#include "support/Harness.h"
#include "ui/Controls.h"
#include "ui/Error.h"
#include "ui/Form.h"
#include "ui/Menu.h"

namespace {

struct TestForm : ui::Form {
  explicit TestForm(ui::Runtime& runtime) : ui::Form(runtime, "frmTest") {}
  ui::Frame frame{*this, "frame"};
  ui::TextBox text{frame, "text"};
  ui::ControlArray<ui::OptionButton> left{frame, "left", {0, 1}};
  ui::PictureBox panel{*this, "panel"};
  ui::ControlArray<ui::OptionButton> right{panel, "right", {0, 1}};
  ui::CheckBox check{*this, "check"};
  ui::CommandButton button{*this, "button"};
  ui::ScrollBar spin{*this, "spin"};
  ui::ComboBox list{*this, "list"};
  ui::Timer timer{*this, "timer"};
  ui::Menu menu{*this, "menu", "&Menu"};
  ui::Menu item{menu, "item", "&Item", ui::Shortcut::Ctrl('I')};
  ui::Menu hidden{*this, "hidden", "Hidden"};
  ui::Menu hiddenItem{hidden, "hiddenItem", "H", ui::Shortcut::Ctrl('H')};
};

class ControlModel : public ::testing::Test, public testing_support::Harness {
 protected:
  ControlModel() {
    form.Show();
    form.text.Change = [this] { events.push_back("Change:" + form.text.Text()); };
    form.text.KeyPress = [this](int& key) {
      events.push_back("KeyPress:" + std::string(1, static_cast<char>(key)));
      if (key == 'x') key = 0;
    };
  }
  TestForm form{runtime};
  std::vector<std::string> events;
};

TEST_F(ControlModel, TypedCharactersReplaceTheSelectionWithinMaxLength) {
  form.text.SetMaxLength(2);
  form.text.SetText("12");
  backend.Focus(form.text);
  form.text.SetSelStart(0);
  form.text.SetSelLength(2);
  backend.Type(form.text, "4");
  EXPECT_EQ(form.text.Text(), "4");
  EXPECT_EQ(form.text.SelStart(), 1);
  backend.Type(form.text, "56");  // the third character does not fit
  EXPECT_EQ(form.text.Text(), "45");
  EXPECT_EQ(backend.Beeps(), 1);
}

// A character goes in as its UTF-8, the caret after all of its bytes; Backspace takes them all.
TEST_F(ControlModel, ATypedCharacterOutsideAsciiIsOneCharacterOfTheText) {
  backend.Focus(form.text);
  backend.Type(form.text, "aé😀");
  EXPECT_EQ(form.text.Text(), "aé😀");
  EXPECT_EQ(form.text.SelStart(), 7);
  backend.Key(form.text, 8);
  EXPECT_EQ(form.text.Text(), "aé");
  backend.Key(form.text, 8);
  EXPECT_EQ(form.text.Text(), "a");
  auto keys = std::count_if(events.begin(), events.end(), [](const std::string& e) { return e.rfind("KeyPress:", 0) == 0; });
  EXPECT_EQ(keys, 5) << "one KeyPress a character, not a byte";

  form.text.SetMaxLength(4);  // bytes: "aé" and half of the next "é"
  form.text.SetText("aéé");
  EXPECT_EQ(form.text.Text(), "aé") << "cut before the character that does not fit whole";
  form.text.NativeTextChanged("aéé", 5, 0);  // the control counts its own units, not bytes
  EXPECT_EQ(form.text.Text(), "aé");
  EXPECT_EQ(form.text.SelStart(), 3);
  form.text.NativeTextChanged("éé", 4, 0);
  EXPECT_EQ(form.text.Text(), "éé");
}

TEST_F(ControlModel, PasteIsCutToWhatFitsAndRaisesNoKeyPress) {
  form.text.SetMaxLength(4);
  backend.Paste(form.text, "123456");
  EXPECT_EQ(form.text.Text(), "1234");
  EXPECT_EQ(events, (std::vector<std::string>{"Change:1234"}));
}

TEST_F(ControlModel, OptionButtonsFormOneGroupPerContainer) {
  std::vector<int> clicks;
  form.left[1].Click = [&](int index) { clicks.push_back(index); };
  form.left[0].SetValue(true);
  form.right[0].SetValue(true);
  ASSERT_TRUE(backend.Click(form.left[1]));
  EXPECT_FALSE(form.left[0].Value());
  EXPECT_TRUE(form.left[1].Value());
  EXPECT_TRUE(form.right[0].Value()) << "the other container's group is untouched";
  form.left[1].SetValue(true);  // already selected: no second Click from code
  EXPECT_EQ(clicks, (std::vector<int>{1}));
}

TEST_F(ControlModel, CheckBoxValuesOutsideTheRangeAreRunTimeErrors) {
  int clicks = 0;
  form.check.Click = [&] { ++clicks; };
  form.check.SetValue(2);
  form.check.SetValue(2);
  EXPECT_EQ(clicks, 1);
  try {
    form.check.SetValue(3);
    FAIL() << "no error";
  } catch (const ui::RuntimeError& e) {
    EXPECT_EQ(e.Number(), 380);
  }
  backend.Click(form.check);  // a click on a greyed box ticks it
  EXPECT_EQ(form.check.Value(), 1);
}

TEST_F(ControlModel, AScrollBarWithMinAboveMaxRunsTheOtherWay) {
  form.spin.SetRange(99, -1);
  form.spin.SetValue(30);
  backend.LineUp(form.spin);
  EXPECT_EQ(form.spin.Value(), 31);
  backend.LineDown(form.spin);
  backend.LineDown(form.spin);
  EXPECT_EQ(form.spin.Value(), 29);
  form.spin.SetValue(-1);
  backend.LineDown(form.spin);
  EXPECT_EQ(form.spin.Value(), -1) << "stops at the end";
  EXPECT_THROW(form.spin.SetValue(100), ui::RuntimeError);
}

// What a restored value needs: the peer shows it, no handler hears of it, and the rules of the
// setter still hold (a text cut at NUL and MaxLength, one option of a group, values in range).
TEST_F(ControlModel, QuietSettersTellThePeerAndRaiseNoEvent) {
  struct Recorder : ui::Peer {  // outlives the test's own variables, with the form
    explicit Recorder(std::shared_ptr<std::vector<ui::Prop>> told) : told(std::move(told)) {}
    void Update(ui::Prop what) override { told->push_back(what); }
    std::shared_ptr<std::vector<ui::Prop>> told;
  };
  auto shared = std::make_shared<std::vector<ui::Prop>>();
  const std::vector<ui::Prop>& told = *shared;
  int raised = 0;
  form.text.Change = [&] { ++raised; };
  form.check.Click = [&] { ++raised; };
  form.spin.Change = [&] { ++raised; };
  for (int i : {0, 1}) form.left[i].Click = [&](int) { ++raised; };
  for (ui::Control* control : std::initializer_list<ui::Control*>{&form.text, &form.check, &form.spin, &form.left[0]})
    control->AttachPeer(std::make_unique<Recorder>(shared));

  form.text.SetMaxLength(4);
  form.text.SetTextQuietly(std::string("abcdef\0gh", 9));
  form.check.SetValueQuietly(2);
  form.spin.SetValueQuietly(7);
  form.left[1].SetValue(true);
  raised = 0;
  form.left[0].SetValueQuietly(true);
  EXPECT_EQ(raised, 0);
  EXPECT_EQ(form.text.Text(), "abcd");
  EXPECT_EQ(form.check.Value(), 2);
  EXPECT_EQ(form.spin.Value(), 7);
  EXPECT_TRUE(form.left[0].Value());
  EXPECT_FALSE(form.left[1].Value()) << "the group keeps one selection";
  EXPECT_EQ(std::count(told.begin(), told.end(), ui::Prop::Text), 1);
  EXPECT_EQ(std::count(told.begin(), told.end(), ui::Prop::Value), 3);
  EXPECT_THROW(form.check.SetValueQuietly(3), ui::RuntimeError);
  EXPECT_THROW(form.spin.SetValueQuietly(-40000), ui::RuntimeError);
}

TEST_F(ControlModel, TimersTickEveryIntervalAndEnablingRestartsThePeriod) {
  int ticks = 0;
  form.timer.TimerEvent = [&] { ++ticks; };
  form.timer.SetInterval(500);
  backend.Advance(std::chrono::milliseconds(1200));
  EXPECT_EQ(ticks, 2);
  form.timer.SetEnabled(false);
  backend.Advance(std::chrono::milliseconds(1000));
  EXPECT_EQ(ticks, 2);
  form.timer.SetEnabled(true);  // restarts: next tick 500 ms from now
  backend.Advance(std::chrono::milliseconds(499));
  EXPECT_EQ(ticks, 2);
  backend.Advance(std::chrono::milliseconds(1));
  EXPECT_EQ(ticks, 3);
}

TEST_F(ControlModel, AHandlerThatOverrunsItsPeriodGetsOneTickNotABurst) {
  int ticks = 0;
  form.timer.SetInterval(100);
  form.timer.TimerEvent = [&] {
    if (++ticks == 1) clock.AdvanceMs(1000);  // a slow handler
  };
  backend.Advance(std::chrono::milliseconds(100));
  EXPECT_EQ(ticks, 1);
  backend.Advance(std::chrono::milliseconds(0));
  EXPECT_EQ(ticks, 2) << "the late tick comes at once";
  backend.Advance(std::chrono::milliseconds(99));
  EXPECT_EQ(ticks, 2) << "and only one";
  backend.Advance(std::chrono::milliseconds(1));
  EXPECT_EQ(ticks, 3);
}

TEST_F(ControlModel, FocusIsRefusedOnHiddenFormsAndInsideDisabledContainers) {
  form.frame.SetEnabled(false);
  EXPECT_THROW(form.text.SetFocus(), ui::RuntimeError);
  EXPECT_FALSE(backend.Type(form.text, "a")) << "a disabled frame blocks its children";
  EXPECT_TRUE(form.text.Enabled()) << "without changing their own Enabled";
  form.frame.SetEnabled(true);
  form.Hide();
  EXPECT_THROW(form.text.SetFocus(), ui::RuntimeError);
}

TEST_F(ControlModel, FocusMovesRaiseLostFocusBeforeGotFocus) {
  form.text.GotFocus = [&] { events.push_back("Got:text"); };
  form.text.LostFocus = [&] { events.push_back("Lost:text"); };
  form.button.GotFocus = [&] { events.push_back("Got:button"); };
  form.text.SetFocus();
  backend.Click(form.button);
  EXPECT_EQ(events, (std::vector<std::string>{"Got:text", "Lost:text", "Got:button"}));
}

TEST_F(ControlModel, AnErrorEscapingAHandlerIsReportedAndTheProgramGoesOn) {
  form.button.Click = [] { throw ui::RuntimeError(5, "Invalid procedure call or argument"); };
  runtime.Title = "Test";
  boxes().Answer(ui::vbOK);
  EXPECT_TRUE(backend.Click(form.button));
  ASSERT_EQ(boxes().Log().size(), 1u);
  EXPECT_EQ(boxes().Log()[0].text, "Run-time error '5':\r\n\r\nInvalid procedure call or argument");
  EXPECT_EQ(boxes().Log()[0].style, ui::mb::kCritical);
  EXPECT_EQ(boxes().Log()[0].title, "Test");
  EXPECT_FALSE(runtime.Ended());
}

TEST_F(ControlModel, EachStatementSkipsAFailingStatementAndGoesOn) {
  std::vector<int> ran;
  ui::EachStatement({[&] { ran.push_back(1); }, [&] { throw ui::RuntimeError(13, "Type mismatch"); },
                     [&] { ran.push_back(3); }});
  EXPECT_EQ(ran, (std::vector<int>{1, 3}));
}

TEST_F(ControlModel, ShortcutsReachOnlyVisibleEnabledItems) {
  int clicks = 0;
  form.item.Click = [&] { ++clicks; };
  form.hiddenItem.Click = [&] { ++clicks; };
  form.hidden.SetVisible(false);
  EXPECT_TRUE(backend.Press(form, ui::Shortcut::Ctrl('I')));
  EXPECT_FALSE(backend.Press(form, ui::Shortcut::Ctrl('H')));
  form.item.SetEnabled(false);
  EXPECT_FALSE(backend.Press(form, ui::Shortcut::Ctrl('I')));
  EXPECT_EQ(clicks, 1);
  form.PopupMenu(form.hidden);  // a hidden menu still serves as a pop-up
  EXPECT_TRUE(backend.ChoosePopupItem(form.hiddenItem));
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlModel, ACancelledCloseKeepsTheFormAndAnAcceptedOneUnloadsIt) {
  std::vector<int> modes;
  bool refuse = true;
  form.QueryUnload = [&](int& cancel, int mode) {
    modes.push_back(mode);
    cancel = refuse ? 1 : 0;
  };
  EXPECT_TRUE(backend.CloseBox(form));
  EXPECT_TRUE(form.IsLoaded());
  refuse = false;
  EXPECT_TRUE(backend.EndSession(form));
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_FALSE(backend.IsScheduled(form.timer));
  EXPECT_EQ(modes, (std::vector<int>{0, 2}));
}

TEST_F(ControlModel, AFailedCloseQuestionDoesNotStopTheNextClose) {
  boxes().Answer(ui::vbOK);  // the report of the error
  bool fail = true;
  form.QueryUnload = [&](int&, int) {
    if (fail) throw base::RuntimeError(base::kTypeMismatch, "Type mismatch");
  };
  backend.CloseBox(form);
  EXPECT_TRUE(form.IsLoaded());
  fail = false;
  backend.CloseBox(form);
  EXPECT_FALSE(form.IsLoaded());
}

TEST_F(ControlModel, AMessageBoxNobodyAnsweredIsReported) {
  std::vector<std::string> unanswered;
  boxes().OnUnanswered = [&](const ui::ScriptedMessageBoxes::Shown& shown) { unanswered.push_back(shown.text); };
  EXPECT_EQ(runtime.MsgBox("Sure?", ui::mb::kYesNo), ui::vbNo);
  EXPECT_EQ(unanswered, (std::vector<std::string>{"Sure?"}));
}

}  // namespace
