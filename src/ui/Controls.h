// The control kinds the program's windows use. User-input entry points (UserType, UserClick,
// ...) carry the shared semantics of native input; both backends call them.
#pragma once

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "ui/Control.h"

namespace ui {

class Label : public Control {
 public:
  Label(Container& parent, std::string name, int index = -1) : Control(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::Label; }

  const std::string& Caption() const { return caption_; }
  // A different caption raises Change; with AutoSize the size follows the text.
  void SetCaption(const std::string& caption);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);
  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color color);
  // Whether an "&" in the caption marks the next letter as an access key ("&&" shows one "&"),
  // as in the captions the program writes; false shows every "&" as typed, for a user's own text.
  bool UseMnemonic() const { return useMnemonic_; }
  void SetUseMnemonic(bool useMnemonic);

  Event<> Change;

  // Measures an AutoSize label's caption again (its form's DPI has changed).
  void FitToText();

 private:
  std::string caption_;
  bool autoSize_ = false;
  bool useMnemonic_ = true;
  Alignment alignment_ = Alignment::Left;
  Color foreColor_ = kSystemButtonText;
};

class TextBox : public Control {
 public:
  TextBox(Container& parent, std::string name, int index = -1) : Control(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::TextBox; }
  bool CanHaveFocus() const override { return true; }

  const std::string& Text() const { return text_; }
  // The text is cut at its first NUL character, then to MaxLength; a different value raises
  // Change. The caret goes to the start.
  void SetText(const std::string& text);
  // As SetText, but raises no Change: a value restored from elsewhere (the settings file), which
  // the caller brings the window in line with itself.
  void SetTextQuietly(const std::string& text);
  // The box's own rule puts another text in place of what the user typed (a value brought
  // into range, leading zeros taken away): as SetText, but the caret stays at the end, where
  // the user goes on typing.
  void Rewrite(const std::string& text);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);
  bool Locked() const { return locked_; }  // read-only for the user
  void SetLocked(bool locked);
  // Several lines, wrapped at the box's width; read when the form loads.
  bool MultiLine = false;
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color);

  int SelStart();
  int SelLength();
  void SetSelStart(int start);    // also empties the selection
  void SetSelLength(int length);  // from SelStart, cut to the text
  // The selection as the model last set it, for the peer to show (no native read-back).
  std::pair<int, int> ModelSelection() const { return {selStart_, selLength_}; }

  Event<int&> KeyPress;
  Event<> Change;
  Event<> DblClick;

  // A character typed by the user, by its Unicode number: KeyPress first (0 discards it);
  // otherwise Backspace deletes the character before the caret, Ctrl+A selects the whole text,
  // a printable character replaces the selection (as its UTF-8) within MaxLength; then Change.
  // Returns the key when it is another control character (Ctrl+C, Ctrl+V, ...) that the native
  // control should still handle itself, otherwise 0.
  int UserType(int keyAscii);
  // The native control changed its own text (paste, Delete key, cut).
  void NativeTextChanged(const std::string& text, int selStart, int selLength);
  void UserDoubleClick() { DblClick(); }

 private:
  // The text as the box would keep it: up to its first NUL character, within MaxLength.
  std::string Kept(const std::string& text) const;
  // Stores the text and selection and tells the peer; Replace also raises Change.
  void Store(const std::string& text, int selStart, int selLength);
  void Replace(const std::string& text, int selStart, int selLength);
  std::string text_;
  int maxLength_ = 0;
  bool locked_ = false;
  Color backColor_ = kSystemWindowBackground;
  int selStart_ = 0;
  int selLength_ = 0;
};

// The key filter of a box that takes a whole number: digits and Backspace reach it, and so do
// the clipboard's keys (Ctrl+A, C, V and X; what a paste brings then meets the box's own rules);
// every other key is discarded (set to 0).
void KeepDigits(int& keyAscii);

class CheckBox : public Control {
 public:
  CheckBox(Container& parent, std::string name, int index = -1) : Control(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::CheckBox; }
  bool CanHaveFocus() const override { return true; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int Value() const { return value_; }
  // 0 unticked, 1 ticked, 2 greyed; a different value raises Click; others are an error.
  void SetValue(int value);
  // As SetValue, but raises no Click.
  void SetValueQuietly(int value);

  Event<> Click;
  void UserClick() { SetValue(value_ == 1 ? 0 : 1); }

 private:
  bool Store(int value);
  std::string caption_;
  int value_ = 0;
};

class OptionButton : public Control {
 public:
  OptionButton(Container& parent, std::string name, int index = -1) : Control(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::OptionButton; }
  bool CanHaveFocus() const override { return true; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Value() const { return value_; }
  // True while False clears the other buttons of the same container, then raises Click.
  void SetValue(bool value);
  // As SetValue, clearing the other buttons too, but raises no Click.
  void SetValueQuietly(bool value);

  Event<int> Click;  // the button's index
  void UserClick();
  // An arrow key while this button has the focus: the next button of the group the user can
  // reach (the previous one when `forward` is false, wrapping round) takes the focus and is
  // selected. Returns false when there is no other button to move to.
  bool UserArrow(bool forward);
  // The option buttons of the same container, this one among them, in the order made.
  std::vector<OptionButton*> Group() const;
  // Whether Tab stops here: of an option group only the selected button is a stop, or the
  // first one while none is selected.
  bool IsTabStop() const;

 private:
  void Select();
  void Check();  // selects this button and clears the others, raising nothing
  std::string caption_;
  bool value_ = false;
};

class CommandButton : public Control {
 public:
  CommandButton(Container& parent, std::string name, int index = -1) : Control(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::CommandButton; }
  bool CanHaveFocus() const override { return true; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // The button Enter presses anywhere on the form (while no other button has the focus), and
  // the one Esc presses. Making a button the Default or the Cancel one takes that role from
  // the form's other buttons.
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value);

  Event<> Click;
  void UserClick() { Click(); }

 private:
  std::string caption_;
  bool default_ = false;
  bool cancel_ = false;
};

class Frame : public Container {
 public:
  Frame(Container& parent, std::string name, int index = -1) : Container(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::Frame; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

 private:
  std::string caption_;
};

class PictureBox : public Container {
 public:
  PictureBox(Container& parent, std::string name, int index = -1) : Container(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::PictureBox; }
};

// A drop-down list: the user chooses one of the items, nothing can be typed.
class ComboBox : public Control {
 public:
  ComboBox(Container& parent, std::string name, int index = -1) : Control(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::ComboBox; }
  bool CanHaveFocus() const override { return true; }

  void AddItem(const std::string& item);
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::string& List(int index) const;
  const std::vector<std::string>& Items() const { return items_; }
  int ListIndex() const { return listIndex_; }
  // -1 (nothing) or an item's index; a different index raises Click; others are an error.
  void SetListIndex(int index);
  // The chosen item's text, empty when nothing is chosen.
  std::string Text() const { return listIndex_ < 0 ? std::string() : items_[listIndex_]; }

  Event<> Click;
  Event<> Change;
  void UserChoose(int index) { SetListIndex(index); }

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

// A vertical scroll bar; a short one serves as a spin button. Min may exceed Max, which turns
// the direction round (the up arrow then raises the value).
class ScrollBar : public Control {
 public:
  ScrollBar(Container& parent, std::string name, int index = -1) : Control(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::ScrollBar; }
  bool CanHaveFocus() const override { return true; }

  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int SmallChange() const { return smallChange_; }
  int LargeChange() const { return largeChange_; }
  void SetChanges(int smallChange, int largeChange);
  int Value() const { return value_; }
  // A value outside Min..Max is a run-time error; a different value raises Change.
  void SetValue(int value);
  // As SetValue, but raises no Change.
  void SetValueQuietly(int value);

  Event<> Change;
  Event<> Scroll;

  void UserLineUp() { Step(-smallChange_); }
  void UserLineDown() { Step(smallChange_); }
  void UserPageUp() { Step(-largeChange_); }
  void UserPageDown() { Step(largeChange_); }
  void UserThumbTrack(int value);    // dragging: Scroll
  void UserThumbRelease(int value);  // released: Change

 private:
  bool Store(int value);
  void Step(int towardsMax);
  int Clamp(int value) const;
  int min_ = 0, max_ = 32767, value_ = 0;
  int smallChange_ = 1, largeChange_ = 1;
};

class Timer : public Control {
 public:
  Timer(Container& parent, std::string name, int index = -1);
  ControlKind Kind() const override { return ControlKind::Timer; }

  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);  // restarts the period
  bool IsEnabled() const { return Enabled(); }

  Event<> TimerEvent;
  // Called by the backend at every period while enabled and the interval is above 0.
  void Fire() { TimerEvent(); }

 private:
  int interval_ = 0;
};

// A time-of-day picker with up-down arrows; only the time of day of its value counts.
class DTPicker : public Control {
 public:
  DTPicker(Container& parent, std::string name, int index = -1) : Control(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::DTPicker; }
  bool CanHaveFocus() const override { return true; }

  base::LocalTime Value() const { return value_; }
  void SetValue(base::LocalTime value);

  Event<> Change;
  void UserSetValue(base::LocalTime value) { SetValue(value); }

 private:
  base::LocalTime value_{};
};

class ProgressBar : public Control {
 public:
  ProgressBar(Container& parent, std::string name, int index = -1) : Control(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::ProgressBar; }

  double Min() const { return min_; }
  double Max() const { return max_; }
  double Value() const { return value_; }
  void SetMin(double v);
  void SetMax(double v);
  // Outside Min..Max is a run-time error.
  void SetValue(double v);

 private:
  double min_ = 0, max_ = 100, value_ = 0;
};

// A status bar docked at the bottom of its form; panels are numbered from 1.
class StatusBar : public Control {
 public:
  StatusBar(Container& parent, std::string name, int panels = 1, int index = -1);
  ControlKind Kind() const override { return ControlKind::StatusBar; }

  struct Panel {
    std::string text;
    std::string toolTipText;
    int width = 1440;  // twips
  };
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  const Panel& GetPanel(int number) const;
  void SetPanelText(int number, const std::string& text);
  void SetPanelToolTipText(int number, const std::string& text);
  void SetPanelWidth(int number, int width);

 private:
  Panel& At(int number);
  std::vector<Panel> panels_;
};

// A picture from the program's resources (an icon), identified by its resource name.
class Image : public Control {
 public:
  Image(Container& parent, std::string name, int index = -1) : Control(&parent, std::move(name), index) {}
  ControlKind Kind() const override { return ControlKind::Image; }
  const std::string& Picture() const { return picture_; }
  void SetPicture(const std::string& resourceName);

 private:
  std::string picture_;
};

// Controls of one kind sharing a name and a container, told apart by their index. They are
// created in the order the indices are given (which is also their tab order).
template <typename T>
class ControlArray {
 public:
  ControlArray(Container& parent, const std::string& name, std::initializer_list<int> indices) {
    for (int index : indices) items_.emplace(index, std::make_unique<T>(parent, name, index));
  }
  T& operator[](int index) { return *items_.at(index); }
  const T& operator[](int index) const { return *items_.at(index); }
  int LBound() const { return items_.begin()->first; }
  int UBound() const { return items_.rbegin()->first; }
  template <typename F>
  void ForEach(F f) {
    for (auto& [index, item] : items_) f(*item);
  }

 private:
  std::map<int, std::unique_ptr<T>> items_;
};

}  // namespace ui
