#include "ui/Controls.h"

#include <algorithm>
#include <tuple>

#include "base/Utf8.h"
#include "ui/Error.h"
#include "ui/Form.h"
#include "ui/Runtime.h"

namespace ui {
namespace {

[[noreturn]] void InvalidValue() { throw RuntimeError(base::kInvalidPropertyValue, "Invalid property value"); }

}  // namespace

// ---- Label

void Label::SetCaption(const std::string& caption) {
  if (!Assign(caption_, caption, Prop::Caption)) return;
  FitToText();
  Change();
}

void Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  FitToText();
}

void Label::FitToText() {
  if (!autoSize_) return;
  Size size = GetRuntime().GetBackend().MeasureText(caption_, GetFont(), useMnemonic_, OwnerForm().Dpi());
  Move(Left(), Top(), size.width, size.height);
}

void Label::SetUseMnemonic(bool useMnemonic) {
  if (!Assign(useMnemonic_, useMnemonic, Prop::Caption)) return;
  FitToText();
}

void Label::SetAlignment(Alignment alignment) { Assign(alignment_, alignment, Prop::Alignment); }

void Label::SetForeColor(Color color) { Assign(foreColor_, color, Prop::ForeColor); }

// ---- TextBox

std::string TextBox::Kept(const std::string& text) const {
  // A Windows text box takes its text up to the first NUL character: so does the model, so that
  // what is read back (and saved) is what the box shows.
  // MaxLength counts the bytes of the UTF-8, and the cut never leaves half a character.
  std::string cut = text.substr(0, text.find('\0'));
  if (maxLength_ > 0 && static_cast<int>(cut.size()) > maxLength_) {
    auto end = static_cast<std::size_t>(maxLength_);
    while (end > 0 && (static_cast<unsigned char>(cut[end]) & 0xC0) == 0x80) --end;
    cut.resize(end);
  }
  return cut;
}

void TextBox::SetText(const std::string& text) {
  std::string cut = Kept(text);
  if (cut != text_) Replace(cut, 0, 0);
}

void TextBox::SetTextQuietly(const std::string& text) {
  std::string cut = Kept(text);
  if (cut != text_) Store(cut, 0, 0);
}

void TextBox::Rewrite(const std::string& text) {
  SetText(text);
  SetSelStart(static_cast<int>(text_.size()));
}

void TextBox::Store(const std::string& text, int selStart, int selLength) {
  text_ = text;
  selStart_ = selStart;
  selLength_ = selLength;
  Notify(Prop::Text);
  Notify(Prop::Selection);
}

void TextBox::Replace(const std::string& text, int selStart, int selLength) {
  Store(text, selStart, selLength);
  Change();
}

void TextBox::SetMaxLength(int length) {
  if (length < 0) InvalidValue();
  Assign(maxLength_, length, Prop::MaxLength);
}

void TextBox::SetLocked(bool locked) { Assign(locked_, locked, Prop::Locked); }

void TextBox::SetBackColor(Color color) { Assign(backColor_, color, Prop::BackColor); }

int TextBox::SelStart() {
  if (Peer* peer = GetPeer())
    if (auto native = peer->NativeSelection()) std::tie(selStart_, selLength_) = *native;
  return selStart_;
}

int TextBox::SelLength() {
  SelStart();
  return selLength_;
}

// The selection is always handed to the native control, even where the model's value is the
// same: the user may have moved the native selection since the model last set it.
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
  if (keyAscii == kCtrlA) {
    SetSelStart(0);
    SetSelLength(static_cast<int>(text_.size()));
    return 0;
  }
  const bool character = keyAscii >= 32 && keyAscii <= 0x10FFFF && (keyAscii < 0xD800 || keyAscii > 0xDFFF);
  if (keyAscii != 8 && !character) return keyAscii;
  if (locked_) return 0;
  int start = SelStart();
  int length = selLength_;
  if (keyAscii == 8) {
    if (length == 0 && start == 0) return 0;
    if (length == 0) {
      // The whole character before the caret, all the bytes of its UTF-8.
      do {
        --start;
        ++length;
      } while (start > 0 && (static_cast<unsigned char>(text_[start]) & 0xC0) == 0x80);
    }
    Replace(text_.substr(0, start) + text_.substr(start + length), start, 0);
    return 0;
  }
  const std::string typed = base::Utf8(static_cast<char32_t>(keyAscii));
  std::string text = text_.substr(0, start) + typed + text_.substr(start + length);
  if (maxLength_ > 0 && static_cast<int>(text.size()) > maxLength_) {
    GetRuntime().Beep();
    return 0;
  }
  Replace(text, start + static_cast<int>(typed.size()), 0);
  return 0;
}

// The control counts MaxLength in its own units, and may take more bytes of UTF-8 than fit: the
// text is cut here, and the control shown what was kept.
void TextBox::NativeTextChanged(const std::string& text, int selStart, int selLength) {
  if (text == text_) return;
  std::string kept = Kept(text);
  const int end = static_cast<int>(kept.size());
  selStart = std::min(selStart, end);
  selLength = std::min(selLength, end - selStart);
  if (kept == text_)
    Store(kept, selStart, selLength);
  else
    Replace(kept, selStart, selLength);
}

void KeepDigits(int& keyAscii) {
  const bool digit = keyAscii >= '0' && keyAscii <= '9';
  const bool clipboard = keyAscii == kCtrlA || keyAscii == kCtrlC || keyAscii == kCtrlV || keyAscii == kCtrlX;
  if (!digit && !clipboard && keyAscii != 8) keyAscii = 0;
}

std::optional<TrayMouseEvent> TrayMouseFromMessage(std::uint32_t mouseMessage) {
  if (mouseMessage == 0x200) return TrayMouseEvent{MouseButton::None, MouseAction::Move};
  if (mouseMessage < 0x201 || mouseMessage > 0x209) return std::nullopt;
  static const MouseButton kButtons[] = {MouseButton::Left, MouseButton::Right, MouseButton::Middle};
  static const MouseAction kActions[] = {MouseAction::Down, MouseAction::Up, MouseAction::DoubleClick};
  const std::uint32_t n = mouseMessage - 0x201;
  return TrayMouseEvent{kButtons[n / 3], kActions[n % 3]};
}

std::optional<TrayBalloonEvent> TrayBalloonFromMessage(std::uint32_t number) {
  if (number == 0x403 || number == 0x404) return TrayBalloonEvent::Closed;
  if (number == 0x405) return TrayBalloonEvent::Clicked;
  return std::nullopt;
}

// ---- CheckBox

void CheckBox::SetCaption(const std::string& caption) { Assign(caption_, caption, Prop::Caption); }

void CheckBox::SetValue(int value) {
  if (Store(value)) Click();
}

void CheckBox::SetValueQuietly(int value) { Store(value); }

bool CheckBox::Store(int value) {
  if (value < 0 || value > 2) InvalidValue();
  return Assign(value_, value, Prop::Value);
}

// ---- OptionButton

void OptionButton::SetCaption(const std::string& caption) { Assign(caption_, caption, Prop::Caption); }

void OptionButton::SetValue(bool value) {
  if (value == value_) return;
  if (value)
    Select();
  else
    Assign(value_, false, Prop::Value);
}

void OptionButton::SetValueQuietly(bool value) {
  if (value)
    Check();
  else
    Assign(value_, false, Prop::Value);
}

void OptionButton::UserClick() { Select(); }

bool OptionButton::UserArrow(bool forward) {
  std::vector<OptionButton*> group = Group();
  auto here = std::find(group.begin(), group.end(), this);
  const std::size_t n = group.size(), start = static_cast<std::size_t>(here - group.begin());
  for (std::size_t step = 1; step < n; ++step) {
    OptionButton* next = group[(start + (forward ? step : n - step)) % n];
    if (!next->CanTakeFocus()) continue;
    next->SetFocus();
    next->UserClick();
    return true;
  }
  return false;
}

std::vector<OptionButton*> OptionButton::Group() const {
  std::vector<OptionButton*> group;
  for (Control* sibling : Parent()->Children())
    if (sibling->Kind() == ControlKind::OptionButton) group.push_back(static_cast<OptionButton*>(sibling));
  return group;
}

bool OptionButton::IsTabStop() const {
  std::vector<OptionButton*> group = Group();
  auto selected = std::find_if(group.begin(), group.end(), [](OptionButton* o) { return o->Value(); });
  return selected != group.end() ? *selected == this : group.front() == this;
}

void OptionButton::Select() {
  Check();
  Click(Index());
}

void OptionButton::Check() {
  for (OptionButton* sibling : Group())
    if (sibling != this) sibling->SetValue(false);
  Assign(value_, true, Prop::Value);
}

// ---- CommandButton, Frame

void CommandButton::SetCaption(const std::string& caption) { Assign(caption_, caption, Prop::Caption); }

namespace {

// Gives one button of the form a role (Default or Cancel) and takes it from the others.
void TakeRole(CommandButton& button, bool value, bool (CommandButton::*has)() const,
              void (CommandButton::*set)(bool)) {
  if (!value) return;
  for (Control* control : button.OwnerForm().AllControls())
    if (control != &button && control->Kind() == ControlKind::CommandButton) {
      auto& other = static_cast<CommandButton&>(*control);
      if ((other.*has)()) (other.*set)(false);
    }
}

}  // namespace

void CommandButton::SetDefault(bool value) {
  if (Assign(default_, value, Prop::Default)) TakeRole(*this, value, &CommandButton::Default, &CommandButton::SetDefault);
}

void CommandButton::SetCancel(bool value) {
  if (Assign(cancel_, value, Prop::Default)) TakeRole(*this, value, &CommandButton::Cancel, &CommandButton::SetCancel);
}

void Frame::SetCaption(const std::string& caption) { Assign(caption_, caption, Prop::Caption); }

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
  if (Assign(listIndex_, index, Prop::Value)) Click();
}

// ---- ScrollBar

void ScrollBar::SetRange(int min, int max) {
  if (!Assign(std::tie(min_, max_), std::make_tuple(min, max), Prop::Range)) return;
  Assign(value_, Clamp(value_), Prop::Value);
}

void ScrollBar::SetChanges(int smallChange, int largeChange) {
  if (smallChange < 1 || largeChange < 1) InvalidValue();
  Assign(std::tie(smallChange_, largeChange_), std::make_tuple(smallChange, largeChange), Prop::Range);
}

int ScrollBar::Clamp(int value) const { return std::clamp(value, std::min(min_, max_), std::max(min_, max_)); }

void ScrollBar::SetValue(int value) {
  if (Store(value)) Change();
}

void ScrollBar::SetValueQuietly(int value) { Store(value); }

bool ScrollBar::Store(int value) {
  if (value != Clamp(value)) InvalidValue();
  return Assign(value_, value, Prop::Value);
}

void ScrollBar::Step(int towardsMax) {
  int direction = max_ >= min_ ? 1 : -1;
  SetValue(Clamp(value_ + towardsMax * direction));
}

void ScrollBar::UserThumbTrack(int value) {
  if (Assign(value_, Clamp(value), Prop::Value)) Scroll();
}

// Letting go of the thumb always raises Change, even where the thumb comes to rest on the
// value it started from.
void ScrollBar::UserThumbRelease(int value) {
  Assign(value_, Clamp(value), Prop::Value);
  Change();
}

// ---- Timer

Timer::Timer(Container& parent, std::string name, int index) : Control(&parent, std::move(name), index) {
  SetVisible(false);
}

void Timer::SetInterval(int milliseconds) {
  if (milliseconds < 0 || milliseconds > 65535) InvalidValue();
  Assign(interval_, milliseconds, Prop::Interval);
}

// ---- DTPicker

void DTPicker::SetValue(base::LocalTime value) {
  if (Assign(value_, value, Prop::Value)) Change();
}

// ---- ProgressBar

void ProgressBar::SetMin(double v) {
  if (v >= max_) InvalidValue();
  if (Assign(min_, v, Prop::Range)) Assign(value_, std::max(value_, min_), Prop::Value);
}

void ProgressBar::SetMax(double v) {
  if (v <= min_) InvalidValue();
  if (Assign(max_, v, Prop::Range)) Assign(value_, std::min(value_, max_), Prop::Value);
}

void ProgressBar::SetValue(double v) {
  if (v < min_ || v > max_) InvalidValue();
  Assign(value_, v, Prop::Value);
}

// ---- StatusBar

StatusBar::StatusBar(Container& parent, std::string name, int panels, int index)
    : Control(&parent, std::move(name), index), panels_(std::max(panels, 1)) {}

StatusBar::Panel& StatusBar::At(int number) {
  if (number < 1 || number > PanelCount()) InvalidValue();
  return panels_[number - 1];
}

const StatusBar::Panel& StatusBar::GetPanel(int number) const { return const_cast<StatusBar*>(this)->At(number); }

void StatusBar::SetPanelText(int number, const std::string& text) { Assign(At(number).text, text, Prop::Panels); }

void StatusBar::SetPanelToolTipText(int number, const std::string& text) {
  Assign(At(number).toolTipText, text, Prop::Panels);
}

void StatusBar::SetPanelWidth(int number, int width) { Assign(At(number).width, width, Prop::Panels); }

// ---- Image

void Image::SetPicture(const std::string& resourceName) { Assign(picture_, resourceName, Prop::Picture); }

}  // namespace ui
