// The conformance suite's view of a backend: what a user does to the program's windows and
// what the screen shows. Each backend has its own driver (tests/conformance/headless for the
// in-memory one, tests/win32 for the native one under Wine); the scenarios are written once.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Runtime.h"

namespace conformance {

class Driver {
 public:
  virtual ~Driver() = default;
  virtual ui::Runtime& Runtime() = 0;
  virtual ui::ScriptedMessageBoxes& Boxes() = 0;

  // ---- the user, as the backend's real input arrives
  // A mouse click on a command button, check box or option button.
  virtual void Click(ui::Control& control) = 0;
  // Characters typed into a text box (the box takes the focus first).
  virtual void Type(ui::TextBox& box, const std::string& characters) = 0;
  // A key going down at the control that has the focus (shift: vbShiftMask, vbAltMask...).
  virtual void Key(ui::Form& form, int keyCode, int shift = 0) = 0;
  virtual void CloseBox(ui::Form& form) = 0;
  // The item the user will choose in the next pop-up menu that opens.
  virtual void ChooseInNextPopup(ui::Menu& item) = 0;
  // What the user does once the next modal form is up.
  virtual void WhileModal(std::function<void(ui::Form&)> steps) = 0;
  // The user switches to another program, or clicks a form's window.
  virtual void SwitchToAnotherProgram() = 0;
  virtual void ClickWindow(ui::Form& form) = 0;
  // Shows a form while Windows keeps another program in the foreground, as happens to a form
  // shown from a timer while the user works elsewhere.
  virtual void ShowBehindAnotherProgram(ui::Form& form) = 0;
  // Windows reports the mouse over a form's window at a point in pixels (also to a hidden
  // window, as the notification area does for its icons).
  virtual void MouseMove(ui::Form& form, int x, int y) = 0;
  // Another program sends a registered message to every top-level window.
  virtual void Broadcast(const std::string& name) = 0;

  // ---- time: timers fire and posted events arrive
  virtual void Wait(int milliseconds) = 0;

  // ---- the screen
  virtual bool LooksEnabled(ui::Control& control) = 0;
  virtual bool TakesInput(ui::Form& form) = 0;
  virtual bool IsOnScreen(ui::Form& form) = 0;
  // The text a text box shows.
  virtual std::string ShownText(ui::TextBox& box) = 0;
};

// The driver of the backend this test program is built for.
std::unique_ptr<Driver> MakeDriver();

}  // namespace conformance
