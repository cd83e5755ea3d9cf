// The "Activate When" window: the conditions a schedule can wait for instead of a time, each
// with its values, and the activation that arms the chosen one. It hands the armed trigger back
// to the window that opened it, which activates it with the action and options chosen there.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "schedule/Trigger.h"
#include "schedule/Watch.h"
#include "session/ProgramState.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace when {

class frmWhen : public ui::Form {
 public:
  frmWhen(ui::Runtime& runtime, session::ProgramState& state);

  // The condition activated, armed; nothing while the window was cancelled or is still open.
  struct Armed {
    schedule::Trigger trigger;
    std::unique_ptr<schedule::Watch> watch;
  };
  std::optional<Armed> TakeArmed() { return std::exchange(armed_, std::nullopt); }

  // ---- controls, in tab order
  ui::ControlArray<ui::OptionButton> optWhen{*this, "optWhen", {0, 1, 2, 3}};
  ui::TextBox txtProgram{*this, "txtProgram"};
  ui::CommandButton cmdPrograms{*this, "cmdPrograms"};
  ui::TextBox txtIdle{*this, "txtIdle"};
  ui::Label lblIdle{*this, "lblIdle"};
  ui::TextBox txtCpu{*this, "txtCpu"};
  ui::Label lblCpu{*this, "lblCpu"};
  ui::TextBox txtCpuMinutes{*this, "txtCpuMinutes"};
  ui::Label lblCpuMinutes{*this, "lblCpuMinutes"};
  ui::TextBox txtNet{*this, "txtNet"};
  ui::Label lblNet{*this, "lblNet"};
  ui::TextBox txtNetMinutes{*this, "txtNetMinutes"};
  ui::Label lblNetMinutes{*this, "lblNetMinutes"};
  ui::CommandButton cmdActivate{*this, "cmdActivate"};
  ui::CommandButton cmdCancel{*this, "cmdCancel"};

  void Form_Load();
  void optWhen_Click(int index);
  void cmdPrograms_Click();
  void cmdActivate_Click();
  void cmdCancel_Click() { Unload(); }

 private:
  // The boxes that hold a condition's values.
  std::vector<ui::TextBox*> BoxesOf(int condition);
  std::vector<ui::TextBox*> NumberBoxes();
  // The condition the window's values describe.
  schedule::Trigger TriggerFromWindow();
  // The choices to remember.
  session::WhenChoices ChoicesFromWindow();
  int Selected() const;

  session::ProgramState& state_;
  std::optional<Armed> armed_;
};

// The picker of the "..." button: the programs running now, by file name.
class frmPrograms : public ui::Form {
 public:
  frmPrograms(ui::Runtime& runtime, const std::vector<std::string>& programs);

  ui::Label lblPrograms{*this, "lblPrograms"};
  ui::ComboBox cboPrograms{*this, "cboPrograms"};
  ui::CommandButton cmdOK{*this, "cmdOK"};
  ui::CommandButton cmdCancel{*this, "cmdCancel"};

  // The program chosen with OK; empty when cancelled.
  const std::string& Chosen() const { return chosen_; }

 private:
  std::string chosen_;
};

// The file names of the programs running now, each once (letter case aside), sorted; nothing
// when no list could be taken.
std::optional<std::vector<std::string>> RunningPrograms(os::Kernel32& kernel32);

}  // namespace when
