// The countdown warning: the last word before the scheduled action. It counts the countdown
// length down once a second with a sentence and a progress bar, beeps unless muted, and then
// asks the schedule's controller to carry the action out; the user may cancel instead. Either
// way it closes the main window, which ends the program. Where the user allows it, the
// schedule may be postponed by some minutes instead: the warning goes, the program stays.
#pragma once

#include "session/ProgramState.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace countdown {

class frmAction : public ui::Form, public control::Listener {
 public:
  frmAction(ui::Runtime& runtime, session::ProgramState& state);
  ~frmAction() override;

  // "Action : <action> will be performed in <n> Seconds."
  std::string Sentence(double remaining) const;
  // The seconds the countdown has left.
  int Remaining() const { return static_cast<int>(length_) - count_; }

  ui::Label lblMessage{*this, "lblMessage"};
  ui::ProgressBar prgBar{*this, "prgBar"};
  ui::CheckBox chk_mute{*this, "chk_mute"};
  ui::CommandButton cmdCancel{*this, "cmdCancel"};
  // Below them, shown only where postponing is allowed.
  ui::TextBox txtPostpone{*this, "txtPostpone"};
  ui::Label lblPostpone{*this, "lblPostpone"};
  ui::CommandButton cmdPostpone{*this, "cmdPostpone"};
  ui::Timer tmrProgress{*this, "tmrProgress"};

  void Form_Load();
  void Form_Activate();
  void Form_KeyDown(int& keyCode, int shift);
  void Form_QueryUnload(int& cancel, int unloadMode);
  void Form_Unload(int& cancel);
  void tmrProgress_Timer();
  void cmdCancel_Click();
  void cmdPostpone_Click();

  // The warning goes when the schedule is postponed, or cancelled from elsewhere.
  void Moved(control::Transition how, control::Phase from, control::Phase to) override;

 private:
  // Stops the count, performs the action and closes.
  void Perform();
  // Stops the count, takes the top-most state away and hides the window, then tells the user.
  void StopAndTell(const std::string& message);
  void KeepTime();
  // The postpone's controls shown, or not.
  void ShowPostpone(bool shown);

  session::ProgramState& state_;
  bool closedByUser_ = false;  // the user closes the window: it has told of the cancel itself
  double length_ = 0;  // the countdown length in seconds, read once at load
  int count_ = 0;      // the seconds counted so far
  // When the last tick came (elapsed-time clock), and how many milliseconds the ticks have
  // fallen behind one a second so far.
  bool ticked_ = false;
  std::uint32_t lastTick_ = 0;
  double behind_ = 0;
};

}  // namespace countdown
