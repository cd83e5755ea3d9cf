#include "ui/headless/Backend.h"

#include <algorithm>
#include <cmath>

#include "base/Utf8.h"

namespace ui::headless {
namespace {

std::uintptr_t nextHandle = 0x10000;

class ControlPeer : public Peer {
 public:
  explicit ControlPeer(Control& control) : control_(control), handle_(nextHandle += 4) {}
  void Update(Prop) override {}
  // As with real windows, the focus events the move raises are events of their own: an error
  // in them is reported, not handed back to the code that moved the focus.
  void Focus() override {
    Control* control = &control_;
    control_.GetRuntime().Dispatch([control] { control->OwnerForm().FocusMoved(control); });
  }
  std::uintptr_t NativeHandle() const override { return handle_; }
  // A distinct stand-in for the picture's handle, for forms with an icon and images.
  std::uintptr_t PictureHandle() const override {
    bool hasPicture = control_.Kind() == ControlKind::Form ? !static_cast<Form&>(control_).Icon().empty()
                      : control_.Kind() == ControlKind::Image ? !static_cast<Image&>(control_).Picture().empty()
                                                              : false;
    return hasPicture ? handle_ + 1 : 0;
  }

 protected:
  Control& control_;
  std::uintptr_t handle_;
};

class MenuPeer : public Peer {
 public:
  void Update(Prop) override {}
};

}  // namespace

// The timer is kept as it was when the peer was made: a peer can outlive its timer's own part
// of the object (a form destroyed while loaded takes its peers down from Control's destructor).
class TimerPeer : public ControlPeer {
 public:
  TimerPeer(Timer& timer, Backend& backend) : ControlPeer(timer), timer_(timer), backend_(backend) {
    backend_.Schedule(timer_);
  }
  ~TimerPeer() override { backend_.Unschedule(timer_); }
  void Update(Prop what) override {
    if (what == Prop::Enabled || what == Prop::Interval) backend_.Schedule(timer_);
  }

 private:
  Timer& timer_;
  Backend& backend_;
};

// Time that passes while the program sleeps in a wait of the (fake) system is time on this
// clock: the timers that fall due meanwhile fire, as their messages would be served. Once the
// program has ended, time stands still.
Backend::Backend(ui::Clock& clock) : clock_(clock) {
  clock_.OnPass = [this](std::uint64_t ms) { Advance(std::chrono::milliseconds(ms)); };
}
Backend::~Backend() { clock_.OnPass = nullptr; }

std::unique_ptr<Peer> Backend::CreatePeer(Control& control) {
  switch (control.Kind()) {
    case ControlKind::Timer:
      return std::make_unique<TimerPeer>(static_cast<Timer&>(control), *this);
    default:
      return std::make_unique<ControlPeer>(control);
  }
}

std::unique_ptr<Peer> Backend::CreateMenuPeer(Menu&) { return std::make_unique<MenuPeer>(); }

int Backend::ShowMessageBox(const std::string& text, int style, const std::string& title, Form*) {
  return messageBoxes_.Show(text, style, title);
}

// With a choice given in advance the menu closes at once and the item's Click follows as an
// event of its own, as the native menu's does; otherwise the menu stays open for the test.
void Backend::ShowPopupMenu(Form&, Menu& menu) {
  popup_ = &menu;
  if (popupChoices_.empty()) return;
  int position = popupChoices_.front();
  popupChoices_.erase(popupChoices_.begin());
  if (position < 0) return;
  popup_ = nullptr;
  const auto& items = menu.Items();
  if (position >= static_cast<int>(items.size())) return;
  Menu* item = items[static_cast<std::size_t>(position)];
  Post([this, item] {
    if (item->Choosable()) runtime_->Dispatch([item] { item->UserChoose(); });
  });
}

void Backend::DeliverPosted() {
  while (!posted_.empty() && !ended_) {
    auto event = std::move(posted_.front());
    posted_.erase(posted_.begin());
    event();
  }
}

// As under Windows at 96 dots per inch: a 4-pixel frame, a 20-pixel caption, a 20-pixel menu
// bar while the form has a visible menu.
Size Backend::NonClientSize(const Form& form) {
  if (form.BorderStyle == BorderStyle::None) return {0, 0};
  bool menuBar = std::any_of(form.Menus().begin(), form.Menus().end(), [](Menu* m) { return m->Visible(); });
  return {120, 120 + 300 + (menuBar ? 300 : 0)};
}

void Backend::RunModal(Form& form) {
  if (modalScripts_.empty()) {
    if (OnUnscriptedModal) OnUnscriptedModal(form);
  } else {
    auto steps = std::move(modalScripts_.front());
    modalScripts_.erase(modalScripts_.begin());
    steps(form);
    DeliverPosted();
    if (!(form.IsLoaded() && form.Visible()) || ended_) return;
    if (OnModalLeftOpen) OnModalLeftOpen(form);
  }
  if (form.IsLoaded() && form.Visible() && !ended_) form.Hide();
}

// Windows activates the owner of a form that goes, or else the program's window that was
// active before it.
void Backend::FormDeactivated(Form& form) {
  Form* next = nullptr;
  if (Form* owner = form.Owner(); owner && owner->IsLoaded() && owner->Visible()) next = owner;
  for (Form* shown : runtime_->ShownForms())
    if (!next && shown != &form) next = shown;
  if (next && runtime_->TakesInput(*next)) runtime_->Dispatch([this, next] { runtime_->FormActivated(*next); });
}

Size Backend::MeasureText(const std::string& text, const Font& font, bool mnemonic, int dpi) {
  // A stand-in for the font's metrics: an average character width of 0.55 em (0.6 em in bold).
  // An access key's "&" takes no room; "&&" is one "&". A character is one whatever its UTF-8
  // length. At 96 DPI the sizes are the stand-in's own; at any other, a character takes whole
  // pixels, as a real font's do, so that its text takes a little more room there.
  std::size_t longest = 0, lines = 1, current = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue;  // the rest of a character
    if (mnemonic && c == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') ++i;
      else continue;
    }
    if (c == '\r' || c == '\n') {
      if (c == '\r' || current > 0) ++lines;
      current = 0;
      continue;
    }
    longest = std::max(longest, ++current);
  }
  double em = font.size * 20.0;
  double character = em * (font.bold ? 0.6 : 0.55), line = em * 1.2;
  if (dpi == kDefaultDpi) return Size{static_cast<int>(longest * character), static_cast<int>(lines * line)};
  auto pixels = [dpi](double twips) { return static_cast<int>(std::ceil(twips * dpi / kTwipsPerInch)); };
  return Size{PixelsToTwipsUp(static_cast<int>(longest) * pixels(character), dpi),
              PixelsToTwipsUp(static_cast<int>(lines) * pixels(line), dpi)};
}

void Backend::End() {
  ended_ = true;
  timers_.clear();
  posted_.clear();
  popup_ = nullptr;
}

void Backend::Schedule(Timer& timer) {
  if (ended_ || !timer.Enabled() || timer.Interval() <= 0 || !timer.OwnerForm().IsLoaded()) {
    timers_.erase(&timer);
    return;
  }
  timers_[&timer] = Scheduled{clock_.ElapsedMs() + static_cast<std::uint64_t>(timer.Interval()), ++generation_};
}

void Backend::Advance(std::chrono::milliseconds span) {
  std::uint64_t target = clock_.ElapsedMs() + static_cast<std::uint64_t>(span.count());
  while (!ended_) {
    auto next = std::min_element(timers_.begin(), timers_.end(),
                                 [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
    if (next == timers_.end() || next->second.due > target) break;
    Timer* timer = next->first;
    Scheduled fired = next->second;
    clock_.SetElapsedMs(std::max(clock_.ElapsedMs(), fired.due));
    // The next period is counted from this tick, as a system timer does, so a handler that
    // waits (letting time pass) meets its own next tick only when that is due.
    next->second.due = fired.due + static_cast<std::uint64_t>(timer->Interval());
    runtime_->Dispatch([timer] { timer->Fire(); });
    DeliverPosted();
    // A handler that ran past its next tick gets one tick at once, not a burst. A handler that
    // restarted or stopped its own timer has already said when the next tick comes.
    auto still = timers_.find(timer);
    if (still != timers_.end() && still->second.generation == fired.generation)
      still->second.due = std::max(still->second.due, clock_.ElapsedMs());
  }
  if (!ended_ && clock_.ElapsedMs() < target) clock_.SetElapsedMs(target);
}

bool Backend::RunUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit,
                       std::chrono::milliseconds step) {
  for (std::chrono::milliseconds passed{0}; !condition(); passed += step) {
    if (passed >= limit || ended_) return condition();
    Advance(step);
  }
  return true;
}

bool Backend::CanReach(Form& form) const {
  return !ended_ && form.IsLoaded() && form.Visible() && form.Enabled() && runtime_->TakesInput(form);
}

bool Backend::CanReach(Control& control) const { return CanReach(control.OwnerForm()) && control.Reachable(); }

bool Backend::Run(const std::function<void()>& input) {
  if (ended_) return false;
  runtime_->Dispatch(input);
  DeliverPosted();
  return true;
}

bool Backend::Focus(Control& control) {
  if (!CanReach(control) || !control.CanHaveFocus()) return false;
  return Run([&] { control.OwnerForm().FocusMoved(&control); });
}

bool Backend::Click(CommandButton& button) {
  return Focus(button) && CanReach(button) && Run([&] { button.UserClick(); });
}

bool Backend::Click(CheckBox& box) { return Focus(box) && CanReach(box) && Run([&] { box.UserClick(); }); }

bool Backend::Click(OptionButton& option) {
  return Focus(option) && CanReach(option) && Run([&] { option.UserClick(); });
}

bool Backend::Type(TextBox& box, const std::string& characters) {
  if (box.OwnerForm().ActiveControl() != &box && !Focus(box)) return false;
  // Character by character, as Windows hands them over: the two halves of a surrogate pair
  // as one.
  const std::wstring units = base::Utf16(characters);
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (!CanReach(box)) return false;
    auto c = static_cast<char32_t>(units[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size()) c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    Run([&] { box.UserType(static_cast<int>(c)); });
  }
  return true;
}

bool Backend::Key(TextBox& box, int keyAscii) {
  if (box.OwnerForm().ActiveControl() != &box && !Focus(box)) return false;
  return CanReach(box) && Run([&] { box.UserType(keyAscii); });
}

bool Backend::Paste(TextBox& box, const std::string& text) {
  if (box.OwnerForm().ActiveControl() != &box && !Focus(box)) return false;
  if (!CanReach(box) || box.Locked()) return false;
  return Run([&] {
    std::string current = box.Text();
    int start = box.SelStart(), length = box.SelLength();
    std::string inserted = text;
    // The native edit control cuts a paste to what still fits.
    if (box.MaxLength() > 0) {
      int room = box.MaxLength() - (static_cast<int>(current.size()) - length);
      inserted = inserted.substr(0, static_cast<std::size_t>(std::max(room, 0)));
    }
    std::string result = current.substr(0, start) + inserted + current.substr(start + length);
    box.NativeTextChanged(result, start + static_cast<int>(inserted.size()), 0);
  });
}

bool Backend::DoubleClick(TextBox& box) {
  return Focus(box) && CanReach(box) && Run([&] { box.UserDoubleClick(); });
}

bool Backend::Choose(ComboBox& list, int index) {
  return Focus(list) && CanReach(list) && Run([&] { list.UserChoose(index); });
}

bool Backend::LineUp(ScrollBar& bar) { return Focus(bar) && CanReach(bar) && Run([&] { bar.UserLineUp(); }); }

bool Backend::LineDown(ScrollBar& bar) { return Focus(bar) && CanReach(bar) && Run([&] { bar.UserLineDown(); }); }

bool Backend::SetTime(DTPicker& picker, base::LocalTime value) {
  return Focus(picker) && CanReach(picker) && Run([&] { picker.UserSetValue(value); });
}

bool Backend::Choose(Menu& item) {
  if (!CanReach(item.OwnerForm()) || !item.Reachable()) return false;
  return Run([&] { item.UserChoose(); });
}

bool Backend::Press(Form& form, Shortcut shortcut) {
  if (!CanReach(form)) return false;
  if (form.FocusTakesShortcut(shortcut)) {
    auto& box = static_cast<TextBox&>(*form.ActiveControl());
    const int key = shortcut.key - 'A' + 1;
    int passed = 0;
    Run([&] { passed = box.UserType(key); });
    // What the native edit control then does with the keys it is given.
    const int start = box.ModelSelection().first, length = box.ModelSelection().second;
    if (passed == kCtrlC || passed == kCtrlX) clipboard = box.Text().substr(start, length);
    if (passed == kCtrlX && !box.Locked() && length > 0)
      Run([&] { box.NativeTextChanged(box.Text().substr(0, start) + box.Text().substr(start + length), start, 0); });
    if (passed == kCtrlV) Paste(box, clipboard);
    return true;
  }
  Menu* item = form.MenuForShortcut(shortcut);
  return item && Run([item] { item->UserChoose(); });
}

bool Backend::KeyDown(Form& form, int keyCode, int shift) {
  if (!CanReach(form)) return false;
  return Run([&] {
    if (!form.UserKeyDown(keyCode, shift) && keyCode == vbKeyF4 && shift == vbAltMask)
      form.RequestClose(vbFormControlMenu);
  });
}

bool Backend::CloseBox(Form& form) {
  if (ended_ || !form.IsLoaded() || !runtime_->TakesInput(form)) return false;
  return Run([&] { form.RequestClose(vbFormControlMenu); });
}

bool Backend::ActivateForm(Form& form) {
  if (!CanReach(form)) return false;
  return Run([&] { runtime_->FormActivated(form); });
}

// The mouse move's message, as Windows numbers it: the icon of a form that asks for its events
// by this message reports them with it.
constexpr std::uint32_t kMouseMoveMessage = 0x200;

bool Backend::MouseMove(Form& form, int x, int y, int button, int shift) {
  if (ended_ || !form.IsLoaded()) return false;
  if (form.TrayMessage == kMouseMoveMessage && y == 0)
    if (auto tray = form.TrayEvent(static_cast<std::uint32_t>(x))) return Run(tray);
  auto twips = [this](int pixels) { return static_cast<float>(pixels * TwipsPerPixel()); };
  return Run([&] { form.MouseMove(button, shift, twips(x), twips(y)); });
}

bool Backend::Broadcast(const std::string& name) {
  bool heard = false;
  std::vector<Form*> forms = runtime_->Forms();  // a handler may show, unload or destroy forms
  for (Form* form : forms) {
    const auto& alive = runtime_->Forms();
    if (ended_ || std::find(alive.begin(), alive.end(), form) == alive.end() || !form->IsLoaded()) continue;
    const auto& names = form->RegisteredMessages;
    if (std::find(names.begin(), names.end(), name) == names.end()) continue;
    heard = true;
    Run([form, &name] { form->RegisteredMessage(name); });
  }
  return heard;
}

CopyDataMessage Backend::SendCopyData(Form& form, std::uintptr_t kind, const std::string& data) {
  CopyDataMessage message{kind, data, "", 0};
  if (ended_ || !form.IsLoaded()) return message;
  Run([&] { form.CopyData(message); });
  return message;
}

bool Backend::PowerBroadcast(Form& form, int event) {
  if (ended_ || !form.IsLoaded()) return false;
  return Run([&] { form.PowerBroadcast(event); });
}

bool Backend::MoveToMonitor(Form& form, int dpi, PixelRect suggested) {
  if (ended_ || !form.IsLoaded() || dpi <= 0) return false;
  windowRects_[&form] = suggested;
  return Run([&] { form.SetDpi(dpi); });
}

PixelRect Backend::Bounds(const Control& control) const {
  const int dpi = control.OwnerForm().Dpi();
  if (control.Kind() == ControlKind::Form) {
    auto it = windowRects_.find(static_cast<const Form*>(&control));
    if (it != windowRects_.end()) return it->second;
  }
  // Each edge rounded on its own, as the native peers do: controls that meet in twips meet in
  // pixels too.
  auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  return {px(control.Left()), px(control.Top()), px(control.Left() + control.Width()), px(control.Top() + control.Height())};
}

bool Backend::EndSession(Form& form) {
  if (ended_ || !form.IsLoaded()) return false;
  return Run([&] { form.RequestClose(vbAppWindows); });
}

bool Backend::ChoosePopupItem(Menu& item) {
  if (ended_ || !popup_ || item.Parent() != popup_ || !item.Choosable()) return false;
  popup_ = nullptr;
  return Run([&] { item.UserChoose(); });
}

}  // namespace ui::headless
