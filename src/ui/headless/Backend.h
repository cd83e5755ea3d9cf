// The in-memory backend for tests: no windows, a virtual clock that runs the timers, scripted
// message-box answers and modal forms, and simulated user input that goes through the same
// dispatcher as real input (an escaped error is reported in a message box, the run goes on).
// It keeps the run-time's rules as the native backend does: which form is active, which forms
// a modal one holds from input, and events posted for later (a pop-up menu's choice).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/Clock.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Runtime.h"

namespace ui::headless {

class Backend : public ui::Backend {
 public:
  // Runs the timers on `clock`, which it moves on as time passes.
  explicit Backend(ui::Clock& clock);
  ~Backend() override;

  // The run-time this backend serves; set once, before forms load.
  void Attach(Runtime& runtime) { runtime_ = &runtime; }
  ScriptedMessageBoxes& MessageBoxes() { return messageBoxes_; }

  // Lets virtual time pass, firing every timer that falls due, in order of its due time.
  void Advance(std::chrono::milliseconds span);
  // Advances in steps of `step` until the condition holds or `limit` has passed; returns it.
  bool RunUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit,
                std::chrono::milliseconds step = std::chrono::milliseconds(10));
  bool IsScheduled(const Timer& timer) const { return timers_.count(const_cast<Timer*>(&timer)) != 0; }

  // ---- modal forms: what the user does while each one is up, given in advance, in order.
  // The steps run once the form is shown; when they return, the form must have gone.
  void WhileModal(std::function<void(Form&)> steps) { modalScripts_.push_back(std::move(steps)); }
  std::size_t ModalScriptsPending() const { return modalScripts_.size(); }
  // Called when a modal form is shown with no steps given, or is still up after its steps;
  // the form is then hidden so that the run can go on.
  std::function<void(Form&)> OnUnscriptedModal;
  std::function<void(Form&)> OnModalLeftOpen;

  // ---- pop-up menus: the item the user will choose in the next one that opens (by its
  // position, separators counted; -1 leaves the menu open for ChoosePopupItem).
  void ChooseInNextPopup(int position) { popupChoices_.push_back(position); }

  // ---- simulated user input; each returns false when the control cannot take the input
  // (its form is not shown or held by a modal form, it or a container is hidden, disabled or
  // out of view, or the program has ended).
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
  // A shortcut pressed in the form: the menu item's Click, or, for the clipboard's keys while a
  // text box has the focus, the key typed into the box (a paste brings `clipboard`; a copy or
  // cut puts the selection there).
  bool Press(Form& form, Shortcut shortcut);
  std::string clipboard;
  // A key going down in the form, at the control that has the focus; Alt+F4 closes the form
  // (mode 0) unless a KeyDown handler discarded it.
  bool KeyDown(Form& form, int keyCode, int shift = 0);
  bool CloseBox(Form& form);          // the window's close box (mode 0), shown or hidden
  bool EndSession(Form& form);        // Windows ends the session (mode 2)
  // The user makes a shown form the active window (clicks it); the user switches to another
  // program, and back: the active form stays the same.
  bool ActivateForm(Form& form);
  // The mouse moves over a form at a point given in pixels, as Windows reports it; the form's
  // MouseMove gets it in twips. A loaded form hears it even while hidden. For a form whose
  // notification-area icon reports with the mouse move's message, a point at y 0 whose x is a
  // mouse message's number (or a balloon's, 0x403 to 0x405) is the icon's event, and arrives
  // as TrayMouse (or TrayBalloon).
  bool MouseMove(Form& form, int x, int y, int button = 0, int shift = 0);
  // Another program sends a registered message to every top-level window (Explorer's
  // "TaskbarCreated", say); returns whether any form listened for it.
  bool Broadcast(const std::string& name);
  // Another program sends data to a loaded form's window (shown or hidden) and waits for the
  // answer: what the form's CopyData handler made of it. Events it posted run after.
  CopyDataMessage SendCopyData(Form& form, std::uintptr_t kind, const std::string& data);
  // Windows tells a loaded form (shown or hidden) of a power event (7, 18: resumed).
  bool PowerBroadcast(Form& form, int event);
  // The user moves a loaded form to a monitor of another DPI: as Windows' WM_DPICHANGED, the
  // form hears of the DPI and its window takes the rectangle Windows suggests (in pixels).
  bool MoveToMonitor(Form& form, int dpi, PixelRect suggested);
  // Where a control's window stands in its container's client area, in pixels at its form's
  // DPI, as the native backend puts it; for a form, its window on the screen.
  PixelRect Bounds(const Control& control) const;
  Menu* OpenPopup() const { return popup_; }
  bool ChoosePopupItem(Menu& item);   // an item of the pop-up menu that is open

  int Beeps() const { return beeps_; }
  bool EndCalled() const { return ended_; }

  // ---- ui::Backend
  std::unique_ptr<Peer> CreatePeer(Control& control) override;
  std::unique_ptr<Peer> CreateMenuPeer(Menu& menu) override;
  int ShowMessageBox(const std::string& text, int style, const std::string& title, Form* owner) override;
  // Delivers the events posted meanwhile (a pop-up menu's choice); virtual time stands still.
  void DoEvents() override { DeliverPosted(); }
  void Post(std::function<void()> event) override { posted_.push_back(std::move(event)); }
  void ShowPopupMenu(Form& form, Menu& menu) override;
  Size MeasureText(const std::string& text, const Font& font, bool mnemonic = true, int dpi = kDefaultDpi) override;
  Size NonClientSize(const Form& form) override;
  void RunModal(Form& form) override;
  void EndModal(Form&) override {}
  void FormDeactivated(Form& form) override;
  void Beep() override { ++beeps_; }
  // The DPI forms are made at (the primary monitor's).
  int systemDpi = kDefaultDpi;
  int SystemDpi() const override { return systemDpi; }
  void End() override;

 private:
  friend class TimerPeer;
  bool CanReach(Control& control) const;
  bool CanReach(Form& form) const;
  bool Run(const std::function<void()>& input);
  void DeliverPosted();
  void Schedule(Timer& timer);
  void Unschedule(Timer& timer) { timers_.erase(&timer); }

  Runtime* runtime_ = nullptr;
  std::map<const Form*, PixelRect> windowRects_;  // set by MoveToMonitor
  ui::Clock& clock_;
  ScriptedMessageBoxes messageBoxes_;
  struct Scheduled {
    std::uint64_t due;  // in elapsed milliseconds
    std::uint64_t generation;
  };
  std::map<Timer*, Scheduled> timers_;
  std::uint64_t generation_ = 0;
  Menu* popup_ = nullptr;
  std::vector<int> popupChoices_;
  std::vector<std::function<void(Form&)>> modalScripts_;
  std::vector<std::function<void()>> posted_;
  int beeps_ = 0;
  bool ended_ = false;
};

}  // namespace ui::headless
