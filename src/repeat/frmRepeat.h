// The "Repeat" window: whether a time of day ("At") happens once or comes round again, on
// every day, Monday to Friday, or the days ticked, and whether the computer is woken for it.
// Opened modally from the main window's menu, it keeps its choice in the program state.
#pragma once

#include "schedule/Repeat.h"
#include "session/ProgramState.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace repeat {

class frmRepeat : public ui::Form {
 public:
  frmRepeat(ui::Runtime& runtime, session::ProgramState& state);

  // OK was pressed (the choice is in the state); false while open or cancelled.
  bool Chosen() const { return chosen_; }

  // ---- controls, in tab order
  ui::ControlArray<ui::OptionButton> optRepeat{*this, "optRepeat", {0, 1, 2, 3}};
  ui::ControlArray<ui::CheckBox> chkDay{*this, "chkDay", {0, 1, 2, 3, 4, 5, 6}};  // Monday first
  ui::CheckBox chkWake{*this, "chkWake"};
  ui::CommandButton cmdOK{*this, "cmdOK"};
  ui::CommandButton cmdCancel{*this, "cmdCancel"};

  void Form_Load();
  void optRepeat_Click(int index);
  void cmdOK_Click();

 private:
  // The days the window's choice describes; none for Once (and for no day ticked).
  schedule::Days DaysFromWindow() const;

  session::ProgramState& state_;
  bool chosen_ = false;
};

// The "Notify Before" window: how many minutes before a time the tray tells of it, 0 for never.
class frmNotify : public ui::Form {
 public:
  frmNotify(ui::Runtime& runtime, session::ProgramState& state);

  ui::Label lblNotify{*this, "lblNotify"};
  ui::TextBox txtNotify{*this, "txtNotify"};
  ui::Label lblMinutes{*this, "lblMinutes"};
  ui::CommandButton cmdOK{*this, "cmdOK"};
  ui::CommandButton cmdCancel{*this, "cmdCancel"};

 private:
  session::ProgramState& state_;
};

}  // namespace repeat
