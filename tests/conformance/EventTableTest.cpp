// The run-time's event table, proved on each backend: the same scenarios run natively against
// the in-memory backend and under Wine against the native one, through their drivers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogForm.h"
#include "Driver.h"
#include "ui/Error.h"

namespace conformance {
namespace {

// A window with a control of every kind the table speaks of.
struct Window : ui::Form {
  explicit Window(ui::Runtime& runtime, const std::string& caption) : ui::Form(runtime, "frmWindow") {
    SetCaption(caption);
    Move(0, 0, 6000, 4500);
    frame.SetCaption("Frame :");
    frame.Move(120, 120, 2800, 1800);
    for (int i = 0; i < 3; ++i) {
      options[i].SetCaption("Option &" + std::to_string(i + 1));
      options[i].Move(120, 240 + 300 * i, 1800, 255);
    }
    text.Move(120, 1200, 1800, 285);
    outOfView.Move(120, 2400, 1800, 285);  // below the frame's area: never seen
    ok.SetCaption("OK");
    ok.Move(3120, 120, 1215, 375);
    cancel.SetCaption("Cancel");
    cancel.Move(3120, 600, 1215, 375);
    other.SetCaption("&Other");
    other.Move(3120, 1080, 1215, 375);
    timer.SetEnabled(false);
    popup.SetVisible(false);
    Activate = [this] { ++activations; };
  }
  ~Window() override {
    QueryUnload = nullptr;
    Unload();
  }
  ui::Frame frame{*this, "frame"};
  ui::ControlArray<ui::OptionButton> options{frame, "options", {0, 1, 2}};
  ui::TextBox text{frame, "text"};
  ui::TextBox outOfView{frame, "outOfView"};
  ui::CommandButton ok{*this, "ok"};
  ui::CommandButton cancel{*this, "cancel"};
  ui::CommandButton other{*this, "other"};
  ui::Timer timer{*this, "timer"};
  ui::Menu popup{*this, "popup", "Popup"};
  ui::Menu first{popup, "first", "&First"};
  ui::Menu separator{popup, "separator", "-"};
  ui::Menu second{popup, "second", "&Second"};
  int activations = 0;
};

class EventTable : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(d->Boxes().Pending(), 0u) << "message-box answers left over"; }
  ui::Runtime& Rt() { return d->Runtime(); }
  std::unique_ptr<Driver> d = MakeDriver();
};

TEST_F(EventTable, ChangeOnceForASetByCodeAndOncePerTypedCharacter) {
  Window w(Rt(), "Change");
  w.Show();
  std::vector<std::string> events;
  w.text.KeyPress = [&](int& key) {
    events.push_back("KeyPress:" + std::string(1, static_cast<char>(key)));
    if (key == 'q') key = 0;
  };
  w.text.Change = [&] { events.push_back("Change:" + w.text.Text()); };
  w.text.SetText("abc");
  w.text.SetText("abc");  // an equal value raises nothing
  w.text.SetMaxLength(5);
  w.text.SetText("abcdefg");
  EXPECT_EQ(events, (std::vector<std::string>{"Change:abc", "Change:abcde"})) << "cut to MaxLength";
  w.text.SetText("abc");
  events.clear();
  d->Type(w.text, "xqy\b");
  EXPECT_EQ(events, (std::vector<std::string>{"KeyPress:x", "Change:xabc", "KeyPress:q", "KeyPress:y", "Change:xyabc",
                                              "KeyPress:\b", "Change:xabc"}))
      << "KeyPress first; a discarded key changes nothing; Backspace deletes";
  EXPECT_EQ(d->ShownText(w.text), "xabc");
}

TEST_F(EventTable, AnOptionClicksWhenSelectedByCodeMouseOrArrowKeyButNotWhenTheFocusReturns) {
  Window w(Rt(), "Options");
  w.Show();
  std::vector<int> clicks;
  w.options.ForEach([&](ui::OptionButton& o) { o.Click = [&](int index) { clicks.push_back(index); }; });
  w.options[1].SetValue(true);
  d->Click(w.options[2]);
  EXPECT_EQ(clicks, (std::vector<int>{1, 2}));
  EXPECT_EQ(w.ActiveControl(), &w.options[2]);

  d->Key(w, ui::vbKeyDown);  // past the last button, round to the first
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 0}));
  EXPECT_TRUE(w.options[0].Value());
  EXPECT_EQ(w.ActiveControl(), &w.options[0]);
  d->Key(w, ui::vbKeyUp);
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 0, 2}));

  // Code selects another button while the focus rests on this one; the window losing and
  // getting back the focus selects nothing.
  w.options[1].SetValue(true);
  clicks.clear();
  d->SwitchToAnotherProgram();
  d->ClickWindow(w);
  EXPECT_TRUE(clicks.empty());
  EXPECT_TRUE(w.options[1].Value());
  EXPECT_FALSE(w.options[2].Value());
}

TEST_F(EventTable, ActivateWhenAFormBecomesTheActiveWindowNotWhenTheProgramComesBack) {
  Window a(Rt(), "A"), b(Rt(), "B");
  a.Show();
  EXPECT_EQ(a.activations, 1) << "the first show";
  d->SwitchToAnotherProgram();
  d->ClickWindow(a);
  EXPECT_EQ(a.activations, 1) << "back from another program: the same form, no event";
  b.Show();
  EXPECT_EQ(b.activations, 1);
  d->ClickWindow(a);
  EXPECT_EQ(a.activations, 2);
  d->ClickWindow(b);
  EXPECT_EQ(b.activations, 2);
  EXPECT_EQ(Rt().ActiveForm(), &b);
  b.Hide();
  d->ClickWindow(a);
  b.Show();
  EXPECT_EQ(b.activations, 3) << "shown again";
}

TEST_F(EventTable, AFormShownWhileAnotherProgramKeepsTheForegroundIsActivatedOnce) {
  Window a(Rt(), "A"), late(Rt(), "Late");
  a.Show();
  d->SwitchToAnotherProgram();
  d->ShowBehindAnotherProgram(late);
  EXPECT_EQ(late.activations, 1);
  EXPECT_TRUE(d->IsOnScreen(late));
  d->Wait(50);
  EXPECT_EQ(late.activations, 1);
}

TEST_F(EventTable, TheCloseBoxAltF4AndCodeAskWithTheirModesAlsoOnAHiddenForm) {
  Window w(Rt(), "Close");
  w.Show();
  std::vector<int> modes;
  bool refuse = true;
  w.QueryUnload = [&](int& cancel, int mode) {
    modes.push_back(mode);
    cancel = refuse ? 1 : 0;
  };
  d->CloseBox(w);
  d->Key(w, ui::vbKeyF4, ui::vbAltMask);
  EXPECT_EQ(modes, (std::vector<int>{0, 0}));
  EXPECT_TRUE(w.IsLoaded());
  w.Hide();
  d->CloseBox(w);
  EXPECT_EQ(modes, (std::vector<int>{0, 0, 0})) << "a hidden form hears its close the same way";
  EXPECT_TRUE(w.IsLoaded());
  refuse = false;
  EXPECT_TRUE(w.RequestClose(ui::vbFormCode));
  EXPECT_EQ(modes, (std::vector<int>{0, 0, 0, 1}));
  EXPECT_FALSE(w.IsLoaded());
}

TEST_F(EventTable, TheCloseThatEndsTheProgramIsHeardWhileAQuestionIsOpenWhichIsThenDeclined) {
  Window w(Rt(), "Ending");
  w.Show();
  std::vector<int> answers;
  int unloads = 0;
  w.QueryUnload = [&](int& cancel, int mode) {
    if (mode != ui::vbFormControlMenu) return;
    answers.push_back(Rt().MsgBox("Close?", ui::mb::kYesNo | ui::mb::kQuestion));
    cancel = answers.back() == ui::vbYes ? 0 : 1;
  };
  w.UnloadEvent = [&](int&) {
    ++unloads;
    Rt().End();  // as the main window's unload ends the program
  };
  w.timer.TimerEvent = [&] {
    w.timer.SetEnabled(false);
    EXPECT_FALSE(w.RequestClose(ui::vbFormCode)) << "an ordinary close waits for the question";
    EXPECT_TRUE(w.CloseEvenWhileDeciding(ui::vbFormCode));
  };
  d->Boxes().AnswerAfter(
      [&] {
        w.timer.SetInterval(100);
        w.timer.SetEnabled(true);
        d->Wait(300);
      },
      ui::vbYes);
  d->CloseBox(w);
  EXPECT_EQ(answers, std::vector<int>{ui::vbNo}) << "the question still open at the end is declined";
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(w.IsLoaded());
  EXPECT_TRUE(Rt().Ended());
  EXPECT_EQ(Rt().MsgBox("After the end?", ui::mb::kYesNo), ui::vbNo);
  EXPECT_EQ(d->Boxes().Log().size(), 1u) << "no box is shown after the end";
}

TEST_F(EventTable, AModalFormHoldsTheOtherFormsUntilItGoesAndTheFocusReturnsToItsOwner) {
  Window owner(Rt(), "Owner");
  int ownerTicks = 0;
  owner.timer.TimerEvent = [&] { ++ownerTicks; };
  owner.timer.SetInterval(100);
  owner.timer.SetEnabled(true);
  owner.Show();
  DialogForm dialog(Rt());
  bool ran = false;
  d->WhileModal([&](ui::Form& up) {
    ran = true;
    EXPECT_EQ(&up, &dialog);
    EXPECT_EQ(dialog.Owner(), &owner);
    EXPECT_TRUE(d->IsOnScreen(dialog));
    EXPECT_FALSE(d->TakesInput(owner)) << "the owner is held";
    EXPECT_TRUE(d->TakesInput(dialog));
    int before = ownerTicks;
    d->Wait(450);
    EXPECT_GE(dialog.ticks, 2) << "the dialog's timer runs";
    EXPECT_GE(ownerTicks - before, 2) << "and the owner's timers go on";
    d->Type(dialog.txtValue, "42");
    EXPECT_EQ(dialog.scrValue.Value(), 42);
    d->Key(dialog, ui::vbKeyReturn);  // Enter in the text box presses the Default button
  });
  int activations = owner.activations;
  dialog.Show(ui::vbModal, &owner);
  EXPECT_TRUE(ran);
  EXPECT_EQ(dialog.result, ui::vbOK);
  EXPECT_FALSE(dialog.IsLoaded());
  EXPECT_TRUE(d->TakesInput(owner));
  EXPECT_EQ(Rt().ActiveForm(), &owner) << "the owner is the active window again";
  EXPECT_EQ(owner.activations, activations + 1);

  d->WhileModal([&](ui::Form&) { d->Key(dialog, ui::vbKeyEscape); });
  dialog.Show(ui::vbModal, &owner);
  EXPECT_EQ(dialog.result, ui::vbCancel) << "Esc presses the Cancel button";
  EXPECT_TRUE(d->TakesInput(owner));
}

TEST_F(EventTable, ATimerTicksEveryIntervalAndOnlyEnablingRestartsItsPeriod) {
  Window w(Rt(), "Timer");
  w.Show();
  int ticks = 0;
  w.timer.TimerEvent = [&] { ++ticks; };
  w.timer.SetInterval(200);
  w.timer.SetEnabled(true);
  d->Wait(1100);
  EXPECT_GE(ticks, 3);
  EXPECT_LE(ticks, 6);
  w.timer.SetEnabled(false);
  ticks = 0;
  d->Wait(500);
  EXPECT_EQ(ticks, 0) << "a disabled timer is silent";

  w.timer.SetInterval(400);
  w.timer.SetEnabled(true);
  d->Wait(250);
  w.timer.SetInterval(400);  // the same interval: the period goes on
  d->Wait(250);
  EXPECT_EQ(ticks, 1);

  w.timer.SetEnabled(false);
  ticks = 0;
  w.timer.SetEnabled(true);
  d->Wait(250);
  w.timer.SetEnabled(false);
  w.timer.SetEnabled(true);  // enabling again starts the period afresh
  d->Wait(250);
  EXPECT_EQ(ticks, 0);
}

TEST_F(EventTable, APopUpMenusChoiceArrivesAfterPopupMenuHasReturned) {
  Window w(Rt(), "Popup");
  w.Show();
  std::vector<std::string> order;
  w.second.Click = [&] { order.push_back("chosen"); };
  w.other.Click = [&] {
    d->ChooseInNextPopup(w.second);
    w.PopupMenu(w.popup);
    order.push_back("returned");
  };
  d->Click(w.other);
  d->Wait(100);
  EXPECT_EQ(order, (std::vector<std::string>{"returned", "chosen"}));

  // The choice runs as an event of its own: an error in it is reported, the program goes on.
  w.second.Click = [] { throw ui::RuntimeError(5, "Invalid procedure call or argument"); };
  d->Boxes().Answer(ui::vbOK);
  d->Click(w.other);
  d->Wait(100);
  ASSERT_FALSE(d->Boxes().Log().empty());
  EXPECT_EQ(d->Boxes().Log().back().text, "Run-time error '5':\r\n\r\nInvalid procedure call or argument");
  EXPECT_TRUE(w.IsLoaded());
}

// The notification area reports its icon's mouse events to the hidden window as the mouse
// move's own message, the event's number where the pointer's x would be: a form that asks for
// them so hears them decoded, as an event of their own; so are a balloon's going and its click.
TEST_F(EventTable, AMouseMoveArrivesInTwipsAndATrayIconsEventDecodedAlsoAtAHiddenForm) {
  Window w(Rt(), "Mouse");
  std::vector<std::pair<float, bool>> moves;  // x, and whether the form was shown
  std::vector<ui::TrayMouseEvent> tray;
  std::vector<ui::TrayBalloonEvent> balloon;
  w.MouseMove = [&](int, int, float x, float) { moves.emplace_back(x, w.Visible()); };
  w.TrayMouse = [&](const ui::TrayMouseEvent& event) { tray.push_back(event); };
  w.TrayBalloon = [&](ui::TrayBalloonEvent event) { balloon.push_back(event); };
  w.Show();
  d->MouseMove(w, 20, 10);
  w.Hide();
  d->MouseMove(w, 0x204, 0);
  // Windows adds moves of its own where the pointer happens to stand over a window.
  EXPECT_THAT(moves, ::testing::Contains(std::make_pair(20.0f * 15, true)));
  EXPECT_THAT(moves, ::testing::Contains(std::make_pair(0x204 * 15.0f, false)));
  EXPECT_TRUE(tray.empty()) << "a form without an icon hears moves only";

  w.TrayMessage = 0x200;
  moves.clear();
  d->MouseMove(w, 0x204, 0);
  d->MouseMove(w, 0x201, 0);
  d->MouseMove(w, 0x202, 0);
  EXPECT_EQ(tray, (std::vector<ui::TrayMouseEvent>{{ui::MouseButton::Right, ui::MouseAction::Down},
                                                   {ui::MouseButton::Left, ui::MouseAction::Down},
                                                   {ui::MouseButton::Left, ui::MouseAction::Up}}));
  EXPECT_THAT(moves, ::testing::Not(::testing::Contains(std::make_pair(0x204 * 15.0f, false))));

  for (int number : {0x402, 0x405, 0x404, 0x403}) d->MouseMove(w, number, 0);
  EXPECT_EQ(balloon, (std::vector{ui::TrayBalloonEvent::Clicked, ui::TrayBalloonEvent::Closed,
                                  ui::TrayBalloonEvent::Closed}));
  EXPECT_EQ(tray.size(), 3u);
  EXPECT_THAT(moves, ::testing::Not(::testing::Contains(std::make_pair(0x405 * 15.0f, false))));
}

TEST_F(EventTable, ARegisteredMessageReachesTheFormsThatListenShownOrHidden) {
  const std::string name = "QuenlarConformanceBroadcast";
  Window listening(Rt(), "Listening");
  Window deaf(Rt(), "Deaf");
  listening.RegisteredMessages = {name};
  std::vector<std::string> heard;
  listening.RegisteredMessage = [&](const std::string& message) { heard.push_back("listening " + message); };
  deaf.RegisteredMessage = [&](const std::string& message) { heard.push_back("deaf " + message); };
  listening.Show();
  deaf.Show();
  d->Broadcast(name);
  listening.Hide();
  d->Broadcast(name);
  d->Broadcast("QuenlarConformanceOther");
  EXPECT_EQ(heard, (std::vector<std::string>{"listening " + name, "listening " + name}));
  listening.Unload();
  d->Broadcast(name);
  EXPECT_EQ(heard.size(), 2u) << "an unloaded form hears nothing";
}

TEST_F(EventTable, EnterPressesTheFocusedButtonOrElseTheDefaultOneAndEscTheCancelOne) {
  Window w(Rt(), "Keys");
  w.Show();
  std::vector<std::string> pressed;
  w.ok.Click = [&] { pressed.push_back("ok"); };
  w.cancel.Click = [&] { pressed.push_back("cancel"); };
  w.other.Click = [&] { pressed.push_back("other"); };
  w.ok.SetDefault(true);
  w.cancel.SetCancel(true);
  d->Type(w.text, "a");
  d->Key(w, ui::vbKeyReturn);
  d->Key(w, ui::vbKeyEscape);
  EXPECT_EQ(pressed, (std::vector<std::string>{"ok", "cancel"}));

  // After a mouse click the focus rests on that button, and Enter presses it again.
  d->Click(w.other);
  d->Key(w, ui::vbKeyReturn);
  EXPECT_EQ(pressed, (std::vector<std::string>{"ok", "cancel", "other", "other"}));

  w.other.SetDefault(true);
  EXPECT_FALSE(w.ok.Default()) << "one Default button per form";
  w.other.SetEnabled(false);
  d->Type(w.text, "");
  d->Key(w, ui::vbKeyReturn);
  EXPECT_EQ(pressed.size(), 4u) << "a disabled Default button is not pressed";
}

TEST_F(EventTable, ADisabledContainerShowsItsChildrenDisabledWhileTheyKeepTheirOwnState) {
  Window w(Rt(), "Containers");
  w.Show();
  w.frame.SetEnabled(false);
  EXPECT_FALSE(d->LooksEnabled(w.text));
  EXPECT_FALSE(d->LooksEnabled(w.options[1]));
  EXPECT_TRUE(w.text.Enabled());
  d->Click(w.options[1]);
  EXPECT_FALSE(w.options[1].Value()) << "it looks disabled and ignores clicks";
  w.frame.SetEnabled(true);
  EXPECT_TRUE(d->LooksEnabled(w.text));
  EXPECT_TRUE(d->LooksEnabled(w.options[1]));

  w.text.SetEnabled(false);
  w.frame.SetEnabled(false);
  w.frame.SetEnabled(true);
  EXPECT_FALSE(d->LooksEnabled(w.text)) << "its own state stands";
}

TEST_F(EventTable, TabVisitsWhatTheUserCanReachAndNeverAControlOutOfView) {
  Window w(Rt(), "Tab");
  w.Show();
  w.options[1].SetValue(true);
  d->Type(w.text, "");
  std::vector<ui::Control*> visited;
  for (int i = 0; i < 6; ++i) {
    d->Key(w, ui::vbKeyTab);
    visited.push_back(w.ActiveControl());
  }
  std::vector<ui::Control*> expected{&w.ok, &w.cancel, &w.other, &w.options[1], &w.text, &w.ok};
  EXPECT_EQ(visited, expected) << "only the selected option of a group is a stop";
  d->Key(w, ui::vbKeyTab, ui::vbShiftMask);
  EXPECT_EQ(w.ActiveControl(), &w.text);
  EXPECT_THROW(w.outOfView.SetFocus(), ui::RuntimeError);
}

}  // namespace
}  // namespace conformance
