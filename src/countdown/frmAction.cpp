#include "countdown/frmAction.h"

#include <initializer_list>

#include "base/Convert.h"
#include "ui/NumberBox.h"
#include "countdown/modSpeaker.h"
#include "platform/TopMost.h"
#include "tray/modNewIcon.h"
#include "ui/Error.h"
#include "ui/Runtime.h"

namespace countdown {

using ui::EachStatement;

namespace {

constexpr int kBeepingInterval = 900;  // plus the 100 ms tone: a second
constexpr int kSilentInterval = 1000;
constexpr float kToneLength = 100;
constexpr double kLateness = 50;  // ms a second may run over before the countdown catches up
constexpr int kWidth = 5190, kHeight = 1740, kHeightWithPostpone = 2220;

}  // namespace

frmAction::frmAction(ui::Runtime& runtime, session::ProgramState& state) : ui::Form(runtime, "frmAction"), state_(state) {
  SetCaption(" Warning!");
  SetIcon("IDI_MAIN");
  BorderStyle = ui::BorderStyle::FixedDialog;
  MinButton = false;
  MaxButton = false;
  StartUpPosition = ui::StartUpPosition::CenterScreen;
  KeyPreview = true;

  lblMessage.Move(180, 180, 4830, 255);
  prgBar.Move(180, 540, 4830, 315);
  prgBar.SetMin(0);
  chk_mute.SetCaption("&Mute Internal Speaker");
  chk_mute.Move(180, 1155, 2535, 255);
  cmdCancel.SetCaption("Cancel");
  cmdCancel.Move(3690, 1080, 1320, 405);
  txtPostpone.Move(180, 1650, 495, 285);
  lblPostpone.SetCaption("minutes later");
  lblPostpone.Move(735, 1680, 1800, 225);
  cmdPostpone.SetCaption("&Postpone");
  cmdPostpone.Move(3690, 1590, 1320, 405);
  ShowPostpone(false);
  tmrProgress.SetInterval(kSilentInterval);

  LoadEvent = [this] { Form_Load(); };
  Activate = [this] { Form_Activate(); };
  KeyDown = [this](int& keyCode, int shift) { Form_KeyDown(keyCode, shift); };
  QueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
  UnloadEvent = [this](int& cancel) { Form_Unload(cancel); };
  tmrProgress.TimerEvent = [this] { tmrProgress_Timer(); };
  cmdCancel.Click = [this] { cmdCancel_Click(); };
  cmdPostpone.Click = [this] { cmdPostpone_Click(); };
  ui::BindNumberBox(txtPostpone, {schedule::kLongestPostpone, [] { return 1LL; }, nullptr});
  state_.Control.Listen(*this);
}

frmAction::~frmAction() { state_.Control.StopListening(*this); }

std::string frmAction::Sentence(double remaining) const {
  return "Action : " + state_.ActionName() + " will be performed in " + base::NumberText(remaining) + " Seconds.";
}

void frmAction::Form_Load() {
  EachStatement({
      [&] { chk_mute.SetValue(state_.main->BeepOnTimeout() ? 0 : 1); },
      [&] { length_ = state_.Control.WarningLength(); },
      [&] { prgBar.SetMax(length_); },
      [&] {
        if (chk_mute.Value() == 0) tmrProgress.SetInterval(kBeepingInterval);
      },
      [&] { lblMessage.SetCaption(Sentence(length_)); },
      [&] { tray::DeleteIcon(state_.os.shell32, state_.TrayRecord); },
      [&] {
        if (!state_.main->PostponeOffered()) return;
        txtPostpone.SetText(std::to_string(state_.PostponeMinutes));
        ShowPostpone(true);
      },
  });
}

void frmAction::Form_Activate() { platform::SetTopMost(state_.os.user32, *this, true); }

void frmAction::Form_KeyDown(int& keyCode, int /*shift*/) {
  if (keyCode != ui::vbKeyEscape) return;
  keyCode = 0;
  cmdCancel_Click();
}

void frmAction::tmrProgress_Timer() {
  if (count_ >= length_) {
    Perform();
    return;
  }
  KeepTime();
  const int count = ++count_;
  state_.Control.SetWarningLeft(Remaining());
  prgBar.SetValue(count);
  if (chk_mute.Value() == 1) {
    tmrProgress.SetInterval(kSilentInterval);
  } else {
    tmrProgress.SetInterval(kBeepingInterval);
    SpeakerTone(state_.os, GetRuntime(), state_.Family, state_.BeepFrequency(), kToneLength);
    // Messages were served during the tone: the user may have cancelled, and the program
    // ended. Otherwise the next period counts from the tone's end, so that a beeping second,
    // tone and interval together, lasts a second. Each such restart adds the system's timer
    // latency; a countdown that has fallen behind its seconds lets the running period stand
    // once instead (that second is a tenth shorter), which brings it back.
    if (GetRuntime().Ended() || !IsLoaded() || !tmrProgress.Enabled()) return;
    if (behind_ <= kLateness) {
      tmrProgress.SetEnabled(false);
      tmrProgress.SetEnabled(true);
    }
  }
  lblMessage.SetCaption(Sentence(length_ - count));
  if (count >= length_) Perform();
}

// Adds up how far the ticks have fallen behind one a second, from the second tick on.
void frmAction::KeepTime() {
  const std::uint32_t now = state_.os.kernel32.GetTickCount();
  if (ticked_) behind_ += static_cast<double>(now - lastTick_) - 1000;
  ticked_ = true;
  lastTick_ = now;
}

void frmAction::Perform() {
  tmrProgress.SetEnabled(false);
  state_.Control.Perform();
  Unload();
}

void frmAction::StopAndTell(const std::string& message) {
  tmrProgress.SetEnabled(false);
  platform::SetTopMost(state_.os.user32, *this, false);
  Hide();
  GetRuntime().MsgBox(message, ui::mb::kInformation);
}

void frmAction::cmdCancel_Click() { state_.Control.Cancel(); }

// Below the other controls, the window as much taller; without them, the window as it always was.
void frmAction::ShowPostpone(bool shown) {
  for (ui::Control* control : std::initializer_list<ui::Control*>{&txtPostpone, &lblPostpone, &cmdPostpone})
    control->SetVisible(shown);
  SetClientSize(kWidth, shown ? kHeightWithPostpone : kHeight);
}

// The minutes as typed, at least one, are remembered for the next warning.
void frmAction::cmdPostpone_Click() {
  ui::TakeNumber(txtPostpone, 1);
  state_.PostponeMinutes = static_cast<int>(ui::NumberIn(txtPostpone));
  state_.Control.Postpone(state_.PostponeMinutes);
}

void frmAction::Moved(control::Transition how, control::Phase from, control::Phase /*to*/) {
  if (from != control::Phase::Warning || !IsLoaded()) return;
  if (how == control::Transition::Postpone) {  // the count stops, the window goes quietly
    tmrProgress.SetEnabled(false);
    Unload();
  } else if (how == control::Transition::Cancel && !closedByUser_) {  // told, whether the program ends or repeats
    StopAndTell("Action " + base::UCase(state_.ActionText()) + ", has been cancelled by the user!   ");
    Unload();
  }
}

// Closed by the user from the control menu, the close box or Alt+F4; the program's own closes
// pass without a word.
void frmAction::Form_QueryUnload(int& /*cancel*/, int unloadMode) {
  if (unloadMode != ui::vbFormControlMenu) return;
  StopAndTell(state_.ActionText() + " has been cancelled by the user!   ");
  closedByUser_ = true;
  state_.Control.Cancel();
}

// The main window closes with the warning, which ends the program; not when the schedule was
// postponed.
void frmAction::Form_Unload(int& /*cancel*/) {
  EachStatement({
      [&] { tmrProgress.SetEnabled(false); },
      [&] { platform::SetTopMost(state_.os.user32, *this, false); },
      [&] {
        if (state_.Control.Leaving()) state_.main->Unload();
      },
  });
}

}  // namespace countdown
