// A small modal dialog built on the run-time alone, as the program's own dialogs are: a label,
// a text box kept in step with a scroll bar, a timer, OK (Enter) and Cancel (Esc).
#pragma once

#include <string>

#include "ui/Controls.h"
#include "ui/Form.h"

namespace conformance {

class DialogForm : public ui::Form {
 public:
  explicit DialogForm(ui::Runtime& runtime) : ui::Form(runtime, "frmDialog") {
    SetCaption("Dialog");
    BorderStyle = ui::BorderStyle::FixedDialog;
    MinButton = MaxButton = ShowInTaskbar = false;
    StartUpPosition = ui::StartUpPosition::CenterOwner;
    SetClientSize(3600, 1500);
    lblValue.SetCaption("Value :");
    lblValue.Move(120, 150, 900, 255);
    txtValue.Move(1080, 120, 900, 285);
    scrValue.Move(1980, 105, 255, 315);
    scrValue.SetRange(100, 0);  // the up arrow raises the value
    cmdOk.SetCaption("OK");
    cmdOk.SetDefault(true);
    cmdOk.Move(960, 900, 1215, 375);
    cmdCancel.SetCaption("Cancel");
    cmdCancel.SetCancel(true);
    cmdCancel.Move(2280, 900, 1215, 375);
    tmrTick.SetInterval(100);
    txtValue.Change = [this] { scrValue.SetValue(std::stoi("0" + txtValue.Text()) % 101); };
    scrValue.Change = [this] { txtValue.SetText(std::to_string(scrValue.Value())); };
    tmrTick.TimerEvent = [this] { ++ticks; };
    cmdOk.Click = [this] { Close(ui::vbOK); };
    cmdCancel.Click = [this] { Close(ui::vbCancel); };
  }

  ui::Label lblValue{*this, "lblValue"};
  ui::TextBox txtValue{*this, "txtValue"};
  ui::ScrollBar scrValue{*this, "scrValue"};
  ui::CommandButton cmdOk{*this, "cmdOk"};
  ui::CommandButton cmdCancel{*this, "cmdCancel"};
  ui::Timer tmrTick{*this, "tmrTick"};

  int result = 0;
  int ticks = 0;

 private:
  void Close(int answer) {
    result = answer;
    Unload();
  }
};

}  // namespace conformance
