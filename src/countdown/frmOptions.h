// The beep frequency window: the countdown beep's frequency, typed or stepped, and a test tone
// that repeats until stopped. It edits the main window's frequency and keeps the two equal.
#pragma once

#include <cstdint>

#include "session/ProgramState.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace countdown {

class frmOptions : public ui::Form {
 public:
  frmOptions(ui::Runtime& runtime, session::ProgramState& state);

  ui::Label lblFreq{*this, "lblFreq"};
  ui::TextBox txtFreq{*this, "txtFreq"};
  ui::ScrollBar scrFreq{*this, "scrFreq"};
  ui::CommandButton cmdPlay{*this, "cmdPlay"};
  ui::Timer tmrPlay{*this, "tmrPlay"};

  void Form_Load();
  void Form_KeyDown(int& keyCode, int shift);
  void Form_Unload(int& cancel);
  void txtFreq_Change();
  void txtFreq_KeyPress(int& keyAscii);
  void txtFreq_LostFocus() { TakeFrequency(); }
  void scrFreq_Change();
  void scrFreq_Scroll() { scrFreq_Change(); }
  void cmdPlay_Click();
  void tmrPlay_Timer();

 private:
  // The program's beep frequency takes the box's text.
  void CopyToMain();
  // Brings a frequency below the lowest up to it, once the value is taken: the box is left,
  // Enter is pressed, the spin button used, the window opened or closed.
  void TakeFrequency();
  // The box's frequency brought into range, for a tone.
  std::int16_t Frequency() const;

  session::ProgramState& state_;
  bool testing_ = false;  // the Test/Stop toggle
};

}  // namespace countdown
