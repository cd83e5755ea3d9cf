#include "countdown/frmOptions.h"

#include <algorithm>
#include <string>

#include "base/Convert.h"
#include "countdown/modSpeaker.h"

namespace countdown {
namespace {

constexpr int kLowest = session::kLowestFrequency;
constexpr int kHighest = session::kHighestFrequency;

constexpr const char* kTestCaption = "&Test";
constexpr const char* kStopCaption = "Sto&p";

}  // namespace

frmOptions::frmOptions(ui::Runtime& runtime, session::ProgramState& state) : ui::Form(runtime, "frmOptions"), state_(state) {
  SetCaption("Beep Frequency");
  SetIcon("IDI_MAIN");
  BorderStyle = ui::BorderStyle::FixedDialog;
  MinButton = MaxButton = false;
  ShowInTaskbar = false;
  StartUpPosition = ui::StartUpPosition::CenterScreen;
  KeyPreview = true;
  SetClientSize(4230, 660);

  // Room to spare for the label's text: fonts of the same name differ a little between systems.
  lblFreq.SetCaption("Beep Frequency (Hz) :");
  lblFreq.Move(150, 225, 1740, 225);
  txtFreq.SetText("4000");
  txtFreq.SetMaxLength(5);
  txtFreq.Move(1890, 180, 720, 285);
  // A short scroll bar as a spin button; with Min above Max its up arrow raises the frequency.
  scrFreq.SetRange(kHighest, kLowest);
  scrFreq.SetChanges(1, 10);
  scrFreq.SetValue(4000);
  scrFreq.Move(2610, 165, 255, 315);
  cmdPlay.SetCaption(kTestCaption);
  cmdPlay.Move(3045, 150, 1035, 345);
  tmrPlay.SetInterval(900);
  tmrPlay.SetEnabled(false);

  LoadEvent = [this] { Form_Load(); };
  KeyDown = [this](int& keyCode, int shift) { Form_KeyDown(keyCode, shift); };
  UnloadEvent = [this](int& cancel) { Form_Unload(cancel); };
  txtFreq.Change = [this] { txtFreq_Change(); };
  txtFreq.KeyPress = [this](int& keyAscii) { txtFreq_KeyPress(keyAscii); };
  txtFreq.LostFocus = [this] { txtFreq_LostFocus(); };
  scrFreq.Change = [this] { scrFreq_Change(); };
  scrFreq.Scroll = [this] { scrFreq_Scroll(); };
  cmdPlay.Click = [this] { cmdPlay_Click(); };
  tmrPlay.TimerEvent = [this] { tmrPlay_Timer(); };
}

void frmOptions::Form_Load() {
  txtFreq.SetText(state_.BeepFrequencyText);
  txtFreq_Change();
  TakeFrequency();
}

// Esc closes the window, as it closes the about box.
void frmOptions::Form_KeyDown(int& keyCode, int /*shift*/) {
  if (keyCode != ui::vbKeyEscape) return;
  keyCode = 0;
  Unload();
}

void frmOptions::Form_Unload(int& /*cancel*/) {
  tmrPlay.SetEnabled(false);
  TakeFrequency();
  CopyToMain();
}

// Keeps the text to 10000 Hz at most as the user types, the caret staying at the end; a value
// in range moves the spin button and goes on to the main window. The lowest frequency waits
// until the value is taken, so that "500" can be typed digit by digit.
void frmOptions::txtFreq_Change() {
  if (base::Val(txtFreq.Text()) > kHighest) txtFreq.Rewrite(std::to_string(kHighest));
  const double hertz = base::Val(txtFreq.Text());
  if (hertz < kLowest) return;
  scrFreq.SetValue(base::CInt(hertz));
  CopyToMain();
}

void frmOptions::TakeFrequency() {
  if (base::Val(txtFreq.Text()) < kLowest) txtFreq.Rewrite(std::to_string(kLowest));
}

std::int16_t frmOptions::Frequency() const {
  return base::CInt(std::clamp<double>(base::Val(txtFreq.Text()), kLowest, kHighest));
}

void frmOptions::txtFreq_KeyPress(int& keyAscii) {
  if (keyAscii == ui::vbKeyReturn) TakeFrequency();
  ui::KeepDigits(keyAscii);
}

void frmOptions::scrFreq_Change() { txtFreq.SetText(std::to_string(scrFreq.Value())); }

void frmOptions::cmdPlay_Click() {
  testing_ = !testing_;
  if (testing_) tmrPlay.SetEnabled(true);  // stopped, the timer ends at its next tick
  cmdPlay.SetCaption(testing_ ? kStopCaption : kTestCaption);
}

void frmOptions::tmrPlay_Timer() {
  if (testing_)
    SpeakerTone(state_.os, GetRuntime(), state_.Family, Frequency(), 100);
  else
    tmrPlay.SetEnabled(false);
}

void frmOptions::CopyToMain() { state_.BeepFrequencyText = txtFreq.Text(); }

}  // namespace countdown
