#include "ui/Controls.h"

#include <algorithm>
#include <tuple>

#include "ui/Error.h"
#include "ui/Form.h"
#include "ui/Runtime.h"

namespace ui {
namespace {

[[noreturn]] void InvalidValue() { throw RuntimeError(base::kInvalidPropertyValue, "Invalid property value"); }

}  // namespace

// ---- Label

void Label::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Notify(Prop::Caption);
  FitToText();
  Change();
}

void Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  FitToText();
}

void Label::FitToText() {
  if (!autoSize_) return;
  Size size = GetRuntime().GetBackend().MeasureText(caption_, GetFont());
  Move(Left(), Top(), size.width, size.height);
}

void Label::SetAlignment(Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Notify(Prop::Alignment);
}

void Label::SetForeColor(Color color) {
  if (color == foreColor_) return;
  foreColor_ = color;
  Notify(Prop::ForeColor);
}

// ---- TextBox

void TextBox::SetText(const std::string& text) {
  std::string cut = maxLength_ > 0 && static_cast<int>(text.size()) > maxLength_ ? text.substr(0, maxLength_) : text;
  if (cut == text_) return;
  Replace(cut, 0, 0);
}

void TextBox::Replace(const std::string& text, int selStart, int selLength) {
  text_ = text;
  selStart_ = selStart;
  selLength_ = selLength;
  Notify(Prop::Text);
  Notify(Prop::Selection);
  Change();
}

void TextBox::SetMaxLength(int length) {
  if (length < 0) InvalidValue();
  maxLength_ = length;
  Notify(Prop::MaxLength);
}

void TextBox::SetLocked(bool locked) {
  if (locked == locked_) return;
  locked_ = locked;
  Notify(Prop::Locked);
}

void TextBox::SetBackColor(Color color) {
  if (color == backColor_) return;
  backColor_ = color;
  Notify(Prop::BackColor);
}

int TextBox::SelStart() {
  if (Peer* peer = GetPeer())
    if (auto native = peer->NativeSelection()) std::tie(selStart_, selLength_) = *native;
  return selStart_;
}

int TextBox::SelLength() {
  SelStart();
  return selLength_;
}

void TextBox::SetSelStart(int start) {
  if (start < 0) InvalidValue();
  selStart_ = std::min(start, static_cast<int>(text_.size()));
  selLength_ = 0;
  Notify(Prop::Selection);
}

void TextBox::SetSelLength(int length) {
  if (length < 0) InvalidValue();
  int start = SelStart();
  selLength_ = std::min(length, static_cast<int>(text_.size()) - start);
  Notify(Prop::Selection);
}

int TextBox::UserType(int keyAscii) {
  KeyPress(keyAscii);
  if (keyAscii == 0) return 0;
  if (keyAscii != 8 && (keyAscii < 32 || keyAscii > 255)) return keyAscii;
  if (locked_) return 0;
  int start = SelStart();
  int length = selLength_;
  if (keyAscii == 8) {
    if (length == 0 && start == 0) return 0;
    if (length == 0) {
      --start;
      length = 1;
    }
    Replace(text_.substr(0, start) + text_.substr(start + length), start, 0);
    return 0;
  }
  std::string text = text_.substr(0, start) + static_cast<char>(keyAscii) + text_.substr(start + length);
  if (maxLength_ > 0 && static_cast<int>(text.size()) > maxLength_) {
    GetRuntime().Beep();
    return 0;
  }
  Replace(text, start + 1, 0);
  return 0;
}

void TextBox::NativeTextChanged(const std::string& text, int selStart, int selLength) {
  if (text == text_) return;
  Replace(text, selStart, selLength);
}

// ---- CheckBox

void CheckBox::SetCaption(const std::string& caption) {
  caption_ = caption;
  Notify(Prop::Caption);
}

void CheckBox::SetValue(int value) {
  if (value < 0 || value > 2) InvalidValue();
  if (value == value_) return;
  value_ = value;
  Notify(Prop::Value);
  Click();
}

// ---- OptionButton

void OptionButton::SetCaption(const std::string& caption) {
  caption_ = caption;
  Notify(Prop::Caption);
}

void OptionButton::SetValue(bool value) {
  if (value == value_) return;
  if (value) {
    Select();
    return;
  }
  value_ = false;
  Notify(Prop::Value);
}

void OptionButton::UserClick() { Select(); }

std::vector<OptionButton*> OptionButton::Group() const {
  std::vector<OptionButton*> group;
  for (Control* sibling : Parent()->Children())
    if (sibling->Kind() == ControlKind::OptionButton) group.push_back(static_cast<OptionButton*>(sibling));
  return group;
}

void OptionButton::Select() {
  for (OptionButton* sibling : Group())
    if (sibling != this) sibling->SetValue(false);
  if (!value_) {
    value_ = true;
    Notify(Prop::Value);
  }
  Click(Index());
}

// ---- CommandButton, Frame

void CommandButton::SetCaption(const std::string& caption) {
  caption_ = caption;
  Notify(Prop::Caption);
}

void Frame::SetCaption(const std::string& caption) {
  caption_ = caption;
  Notify(Prop::Caption);
}

// ---- ComboBox

void ComboBox::AddItem(const std::string& item) {
  items_.push_back(item);
  Notify(Prop::List);
}

const std::string& ComboBox::List(int index) const {
  if (index < 0 || index >= ListCount()) InvalidValue();
  return items_[index];
}

void ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) InvalidValue();
  if (index == listIndex_) return;
  listIndex_ = index;
  Notify(Prop::Value);
  Click();
}

// ---- ScrollBar

void ScrollBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  value_ = Clamp(value_);
  Notify(Prop::Range);
  Notify(Prop::Value);
}

void ScrollBar::SetChanges(int smallChange, int largeChange) {
  if (smallChange < 1 || largeChange < 1) InvalidValue();
  smallChange_ = smallChange;
  largeChange_ = largeChange;
  Notify(Prop::Range);
}

int ScrollBar::Clamp(int value) const { return std::clamp(value, std::min(min_, max_), std::max(min_, max_)); }

void ScrollBar::SetValue(int value) {
  if (value != Clamp(value)) InvalidValue();
  if (value == value_) return;
  value_ = value;
  Notify(Prop::Value);
  Change();
}

void ScrollBar::Step(int towardsMax) {
  int direction = max_ >= min_ ? 1 : -1;
  SetValue(Clamp(value_ + towardsMax * direction));
}

void ScrollBar::UserThumbTrack(int value) {
  value = Clamp(value);
  if (value == value_) return;
  value_ = value;
  Notify(Prop::Value);
  Scroll();
}

void ScrollBar::UserThumbRelease(int value) {
  value_ = Clamp(value);
  Notify(Prop::Value);
  Change();
}

// ---- Timer

Timer::Timer(Container& parent, std::string name, int index) : Control(&parent, std::move(name), index) {
  SetVisible(false);
}

void Timer::SetInterval(int milliseconds) {
  if (milliseconds < 0 || milliseconds > 65535) InvalidValue();
  interval_ = milliseconds;
  Notify(Prop::Interval);
}

// ---- DTPicker

void DTPicker::SetValue(base::LocalTime value) {
  if (value == value_) return;
  value_ = value;
  Notify(Prop::Value);
  Change();
}

// ---- ProgressBar

void ProgressBar::SetMin(double v) {
  if (v >= max_) InvalidValue();
  min_ = v;
  value_ = std::max(value_, min_);
  Notify(Prop::Range);
}

void ProgressBar::SetMax(double v) {
  if (v <= min_) InvalidValue();
  max_ = v;
  value_ = std::min(value_, max_);
  Notify(Prop::Range);
}

void ProgressBar::SetValue(double v) {
  if (v < min_ || v > max_) InvalidValue();
  value_ = v;
  Notify(Prop::Value);
}

// ---- StatusBar

StatusBar::StatusBar(Container& parent, std::string name, int panels, int index)
    : Control(&parent, std::move(name), index), panels_(std::max(panels, 1)) {}

StatusBar::Panel& StatusBar::At(int number) {
  if (number < 1 || number > PanelCount()) InvalidValue();
  return panels_[number - 1];
}

const StatusBar::Panel& StatusBar::GetPanel(int number) const { return const_cast<StatusBar*>(this)->At(number); }

void StatusBar::SetPanelText(int number, const std::string& text) {
  At(number).text = text;
  Notify(Prop::Panels);
}

void StatusBar::SetPanelToolTipText(int number, const std::string& text) {
  At(number).toolTipText = text;
  Notify(Prop::Panels);
}

void StatusBar::SetPanelWidth(int number, int width) {
  At(number).width = width;
  Notify(Prop::Panels);
}

// ---- Image

void Image::SetPicture(const std::string& resourceName) {
  picture_ = resourceName;
  Notify(Prop::Picture);
}

}  // namespace ui
