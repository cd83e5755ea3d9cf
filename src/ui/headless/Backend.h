// The in-memory backend for tests: no windows, a virtual clock that runs the timers, scripted
// message-box answers, and simulated user input that goes through the same dispatcher as real
// input (an escaped error is reported in a message box, the run goes on).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "os/fake/VirtualClock.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Runtime.h"

namespace ui::headless {

class Backend : public ui::Backend {
 public:
  Backend();
  ~Backend() override;

  // The run-time this backend serves; set once, before forms load.
  void Attach(Runtime& runtime) { runtime_ = &runtime; }
  os::fake::VirtualClock& Clock() { return clock_; }
  ScriptedMessageBoxes& MessageBoxes() { return messageBoxes_; }

  // Lets virtual time pass, firing every timer that falls due, in order of its due time.
  void Advance(std::chrono::milliseconds span);
  // Advances in steps of `step` until the condition holds or `limit` has passed; returns it.
  bool RunUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit,
                std::chrono::milliseconds step = std::chrono::milliseconds(10));
  bool IsScheduled(const Timer& timer) const { return timers_.count(const_cast<Timer*>(&timer)) != 0; }

  // ---- simulated user input; each returns false when the control cannot take the input
  // (its form is not shown, it or a container is hidden or disabled, or the program has ended).
  bool Click(CommandButton& button);
  bool Click(CheckBox& box);
  bool Click(OptionButton& option);
  bool Focus(Control& control);
  bool Type(TextBox& box, const std::string& characters);
  bool Key(TextBox& box, int keyAscii);
  bool Paste(TextBox& box, const std::string& text);
  bool DoubleClick(TextBox& box);
  bool Choose(ComboBox& list, int index);
  bool LineUp(ScrollBar& bar);
  bool LineDown(ScrollBar& bar);
  bool SetTime(DTPicker& picker, base::LocalTime value);
  bool Choose(Menu& item);            // from the menu bar
  bool Press(Form& form, Shortcut shortcut);
  bool KeyDown(Form& form, int keyCode, int shift = 0);
  bool CloseBox(Form& form);          // the window's close box (mode 0)
  bool EndSession(Form& form);        // Windows ends the session (mode 2)
  Menu* OpenPopup() const { return popup_; }
  bool ChoosePopupItem(Menu& item);   // an item of the pop-up menu that is open

  int Beeps() const { return beeps_; }
  bool EndCalled() const { return ended_; }

  // ---- ui::Backend
  std::unique_ptr<Peer> CreatePeer(Control& control) override;
  std::unique_ptr<Peer> CreateMenuPeer(Menu& menu) override;
  int ShowMessageBox(const std::string& text, int style, const std::string& title, Form* owner) override;
  void DoEvents() override {}
  void ShowPopupMenu(Form& form, Menu& menu) override;
  Size MeasureText(const std::string& text, const Font& font) override;
  void Beep() override { ++beeps_; }
  void End() override;

 private:
  friend class TimerPeer;
  bool CanReach(Control& control) const;
  bool Run(const std::function<void()>& input);
  void Schedule(Timer& timer);
  void Unschedule(Timer& timer) { timers_.erase(&timer); }

  Runtime* runtime_ = nullptr;
  os::fake::VirtualClock clock_;
  ScriptedMessageBoxes messageBoxes_;
  struct Scheduled {
    std::uint64_t due;  // in elapsed milliseconds
    std::uint64_t generation;
  };
  std::map<Timer*, Scheduled> timers_;
  std::uint64_t generation_ = 0;
  Menu* popup_ = nullptr;
  int beeps_ = 0;
  bool ended_ = false;
};

}  // namespace ui::headless
