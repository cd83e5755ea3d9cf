// The windowing run-time: the backend that makes windows real, the event dispatcher, message
// boxes, and the end of the program.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

class Form;
class Menu;

class Backend {
 public:
  virtual ~Backend() = default;
  // Peers are made when a form loads: first the form, then its controls in creation order,
  // then its menus; they go away when the form unloads.
  virtual std::unique_ptr<Peer> CreatePeer(Control& control) = 0;
  virtual std::unique_ptr<Peer> CreateMenuPeer(Menu& menu) = 0;
  virtual int ShowMessageBox(const std::string& text, int style, const std::string& title, Form* owner) = 0;
  virtual void DoEvents() = 0;
  // Runs `event` after the event now running has returned, as one of its own.
  virtual void Post(std::function<void()> event) = 0;
  // Opens the menu at the pointer; the chosen item's Click comes later, as an event of its own.
  virtual void ShowPopupMenu(Form& form, Menu& menu) = 0;
  // The size a text takes in a font on a monitor of `dpi` dots per inch, in twips rounded up
  // (so that the twips put back into that DPI's pixels hold the text whole); with `mnemonic`,
  // an "&" marks an access key and "&&" is one "&", as a label shows them.
  virtual Size MeasureText(const std::string& text, const Font& font, bool mnemonic = true, int dpi = kDefaultDpi) = 0;
  // Twips the frame, the caption and the menu bar take from a form's outer size.
  virtual Size NonClientSize(const Form& form) = 0;
  // Runs the loop of a form just shown modally; returns once the form is no longer shown or
  // the program has ended.
  virtual void RunModal(Form& form) = 0;
  // A modal form is about to hide or unload: the forms it kept from input take input again
  // now, before its window goes, so that the focus returns to its owner.
  virtual void EndModal(Form& form) = 0;
  // A form that was the active window has been hidden or unloaded. Windows then activates
  // another window of the program by itself; a backend without windows does the same.
  virtual void FormDeactivated(Form& /*form*/) {}
  virtual void Beep() = 0;
  // Twips in one screen pixel (15 at 96 dots per inch).
  virtual int TwipsPerPixel() const { return kTwipsPerPixel; }
  // The dots per inch a window has until it learns its monitor's.
  virtual int SystemDpi() const { return kDefaultDpi; }
  // The program ends: no event is delivered any more, and a message box still open closes
  // with its declined answer.
  virtual void End() = 0;
};

// The answer a message box gives when nobody chose one: No for a Yes/No box, otherwise OK.
int DeclinedAnswer(int style);

// Answers for message boxes given in advance, in order; every box is logged.
class ScriptedMessageBoxes {
 public:
  struct Shown {
    std::string text;
    int style;
    std::string title;
  };
  void Answer(int result) { answers_.push_back({nullptr, result}); }
  // The next box stays on screen while `meanwhile` runs (time passes, the user does other
  // things), then gets `result`, or its declined answer when the program has ended meanwhile.
  void AnswerAfter(std::function<void()> meanwhile, int result) { answers_.push_back({std::move(meanwhile), result}); }
  // Called when a box appears with no answer left; the box then gets its safest answer (OK, No).
  std::function<void(const Shown&)> OnUnanswered;
  int Show(const std::string& text, int style, const std::string& title);
  const std::vector<Shown>& Log() const { return log_; }
  std::size_t Pending() const { return answers_.size() - next_; }
  void Clear();

 private:
  std::vector<Shown> log_;
  std::vector<std::pair<std::function<void()>, int>> answers_;
  std::size_t next_ = 0;
};

class Runtime {
 public:
  explicit Runtime(Backend& backend) : backend_(backend) {}
  Backend& GetBackend() { return backend_; }

  // The application title: the title of every message box that names none of its own.
  std::string Title;

  // A message box; an empty title means the application title. A box still open when the
  // program ends is closed as declined (No, or OK), and after the end none is shown: the
  // declined answer comes at once.
  int MsgBox(const std::string& text, int style = mb::kOkOnly, const std::string& title = {});
  // Message boxes go to this script instead of the backend while one is set.
  void UseScriptedMessageBoxes(ScriptedMessageBoxes* script) { script_ = script; }

  // Lets the backend deliver pending window messages.
  void DoEvents();
  // Runs `event` once the event now running has returned, through the dispatcher (an error in
  // it is reported); nothing after the end.
  void Post(std::function<void()> event);
  void Beep() { backend_.Beep(); }

  // Runs an event that comes from outside the program (user input, a timer). An exception that
  // escapes it is shown in a message box and the program keeps running. After End nothing runs.
  void Dispatch(const std::function<void()>& event);

  void End();
  bool Ended() const { return ended_; }

  const std::vector<Form*>& Forms() const { return forms_; }

  // The form that is the active window of the program (the last one activated while it is
  // shown), or nullptr.
  Form* ActiveForm() const { return active_; }
  // The backend reports that a form has become the active window. Activate is raised when
  // the active form changes; coming back to the same form from another program raises
  // nothing.
  void FormActivated(Form& form);
  // The modal form on top, or nullptr. While one is up, only it takes input.
  Form* ModalForm() const { return modal_.empty() ? nullptr : modal_.back(); }
  bool TakesInput(const Form& form) const { return modal_.empty() || modal_.back() == &form; }
  // The shown forms, the most recently activated first.
  std::vector<Form*> ShownForms() const;

 private:
  friend class Form;
  // A form was hidden, unloaded or destroyed; when it was the active one, the backend is told
  // (unless the form is being destroyed).
  void FormGone(Form& form, bool tellBackend = true);
  Backend& backend_;
  ScriptedMessageBoxes* script_ = nullptr;
  bool ended_ = false;
  std::vector<Form*> forms_;  // the most recently activated first
  std::vector<Form*> modal_;
  Form* active_ = nullptr;
};

}  // namespace ui
