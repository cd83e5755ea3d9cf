#include "countdown/frmOptions.h"

#include <string>

#include "base/Convert.h"
#include "countdown/modSpeaker.h"

namespace countdown {
namespace {

constexpr const char* kTestCaption = "&Test";
constexpr const char* kStopCaption = "Sto&p";

}  // namespace

frmOptions::frmOptions(ui::Runtime& runtime, app::ProgramState& state) : ui::Form(runtime, "frmOptions"), state_(state) {
  SetCaption("Beep Frequency");
  SetIcon("IDI_MAIN");
  BorderStyle = ui::BorderStyle::FixedDialog;
  MinButton = MaxButton = false;
  ShowInTaskbar = false;
  StartUpPosition = ui::StartUpPosition::CenterScreen;
  SetClientSize(4110, 660);

  lblFreq.SetCaption("Beep Frequency (Hz) :");
  lblFreq.Move(150, 225, 1620, 225);
  txtFreq.SetText("4000");
  txtFreq.SetMaxLength(5);
  txtFreq.Move(1770, 180, 720, 285);
  // A short scroll bar as a spin button; with Min above Max its up arrow raises the frequency.
  scrFreq.SetRange(kHighest, kLowest);
  scrFreq.SetChanges(1, 10);
  scrFreq.SetValue(4000);
  scrFreq.Move(2490, 165, 255, 315);
  cmdPlay.SetCaption(kTestCaption);
  cmdPlay.Move(2925, 150, 1035, 345);
  tmrPlay.SetInterval(900);
  tmrPlay.SetEnabled(false);

  LoadEvent = [this] { Form_Load(); };
  UnloadEvent = [this](int& cancel) { Form_Unload(cancel); };
  txtFreq.Change = [this] { txtFreq_Change(); };
  txtFreq.KeyPress = [this](int& keyAscii) { txtFreq_KeyPress(keyAscii); };
  scrFreq.Change = [this] { scrFreq_Change(); };
  scrFreq.Scroll = [this] { scrFreq_Scroll(); };
  cmdPlay.Click = [this] { cmdPlay_Click(); };
  tmrPlay.TimerEvent = [this] { tmrPlay_Timer(); };
}

void frmOptions::Form_Load() {
  if (state_.main) txtFreq.SetText(state_.main->BeepFrequencyText());
  txtFreq_Change();
}

void frmOptions::Form_Unload(int& /*cancel*/) {
  tmrPlay.SetEnabled(false);
  CopyToMain();
}

// Brings the text into 100..10000 Hz, moves the spin button to it and hands it on to the main
// window. Setting the text from here raises this again, which finds it in range.
void frmOptions::txtFreq_Change() {
  if (base::Val(txtFreq.Text()) > kHighest) txtFreq.SetText(std::to_string(kHighest));
  if (base::Val(txtFreq.Text()) < kLowest) txtFreq.SetText(std::to_string(kLowest));
  scrFreq.SetValue(base::CInt(base::Val(txtFreq.Text())));
  CopyToMain();
}

void frmOptions::txtFreq_KeyPress(int& keyAscii) {
  if (keyAscii != 8 && (keyAscii < '0' || keyAscii > '9')) keyAscii = 0;
}

void frmOptions::scrFreq_Change() { txtFreq.SetText(std::to_string(scrFreq.Value())); }

void frmOptions::cmdPlay_Click() {
  if (cmdPlay.Caption() == kTestCaption) {
    tmrPlay.SetEnabled(true);
    cmdPlay.SetCaption(kStopCaption);
  } else {
    cmdPlay.SetCaption(kTestCaption);  // the timer stops at its next tick
  }
}

void frmOptions::tmrPlay_Timer() {
  if (cmdPlay.Caption() != kTestCaption)
    SpeakerTone(state_.os, GetRuntime(), base::CInt(base::Val(txtFreq.Text())), 100);
  else
    tmrPlay.SetEnabled(false);
}

void frmOptions::CopyToMain() {
  if (state_.main) state_.main->SetBeepFrequencyText(txtFreq.Text());
}

}  // namespace countdown
