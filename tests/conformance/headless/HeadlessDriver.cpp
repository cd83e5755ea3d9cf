// The conformance driver of the in-memory backend: the user's input through the backend's
// simulated input, time on its virtual clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "conformance/Driver.h"
#include "os/fake/VirtualClock.h"
#include "ui/headless/Backend.h"

namespace conformance {
namespace {

class HeadlessDriver : public Driver {
 public:
  HeadlessDriver() {
    backend_.Attach(runtime_);
    backend_.MessageBoxes().OnUnanswered = [](const ui::ScriptedMessageBoxes::Shown& shown) {
      ADD_FAILURE() << "message box nobody answered: \"" << shown.text << "\"";
    };
    backend_.OnUnscriptedModal = [](ui::Form& form) { ADD_FAILURE() << form.Name() << " shown modally with no steps"; };
    backend_.OnModalLeftOpen = [](ui::Form& form) { ADD_FAILURE() << form.Name() << " still up after its steps"; };
  }

  ui::Runtime& Runtime() override { return runtime_; }
  ui::ScriptedMessageBoxes& Boxes() override { return backend_.MessageBoxes(); }

  void Click(ui::Control& control) override {
    switch (control.Kind()) {
      case ui::ControlKind::CommandButton:
        backend_.Click(static_cast<ui::CommandButton&>(control));
        break;
      case ui::ControlKind::CheckBox:
        backend_.Click(static_cast<ui::CheckBox&>(control));
        break;
      case ui::ControlKind::OptionButton:
        backend_.Click(static_cast<ui::OptionButton&>(control));
        break;
      default:
        ADD_FAILURE() << control.Name() << " is not a button";
    }
  }
  void Type(ui::TextBox& box, const std::string& characters) override { backend_.Type(box, characters); }
  void Key(ui::Form& form, int keyCode, int shift) override { backend_.KeyDown(form, keyCode, shift); }
  void CloseBox(ui::Form& form) override { backend_.CloseBox(form); }
  void ChooseInNextPopup(ui::Menu& item) override {
    const auto& items = item.Parent()->Items();
    backend_.ChooseInNextPopup(static_cast<int>(std::find(items.begin(), items.end(), &item) - items.begin()));
  }
  void WhileModal(std::function<void(ui::Form&)> steps) override { backend_.WhileModal(std::move(steps)); }
  void SwitchToAnotherProgram() override {}
  void ClickWindow(ui::Form& form) override { backend_.ActivateForm(form); }
  void ShowBehindAnotherProgram(ui::Form& form) override { form.Show(); }
  void MouseMove(ui::Form& form, int x, int y) override { backend_.MouseMove(form, x, y); }
  void Broadcast(const std::string& name) override { backend_.Broadcast(name); }
  void Wait(int milliseconds) override { backend_.Advance(std::chrono::milliseconds(milliseconds)); }

  bool LooksEnabled(ui::Control& control) override { return control.EffectivelyEnabled(); }
  bool TakesInput(ui::Form& form) override { return form.Enabled() && runtime_.TakesInput(form); }
  bool IsOnScreen(ui::Form& form) override { return form.IsLoaded() && form.Visible(); }
  std::string ShownText(ui::TextBox& box) override { return box.Text(); }

 private:
  os::fake::VirtualClock clock_;
  ui::headless::Backend backend_{clock_};
  ui::Runtime runtime_{backend_};
};

}  // namespace

std::unique_ptr<Driver> MakeDriver() { return std::make_unique<HeadlessDriver>(); }

}  // namespace conformance
