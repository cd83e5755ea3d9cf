#include "ui/Form.h"

#include <algorithm>
#include <functional>

#include "ui/Controls.h"
#include "ui/Error.h"
#include "ui/Menu.h"
#include "ui/Runtime.h"

namespace ui {

Form::Form(Runtime& runtime, std::string name)
    : Container(runtime, std::move(name)), dpi_(runtime.GetBackend().SystemDpi()) {
  Control::SetVisible(false);
  Move(0, 0, 4800, 3600);  // until the form says otherwise
  runtime.forms_.push_back(this);
}

Form::~Form() {
  Runtime& runtime = GetRuntime();
  runtime.FormGone(*this, false);
  auto& forms = runtime.forms_;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  for (Form* form : forms)
    if (form->owner_ == this) form->owner_ = nullptr;
}

void Form::SetCaption(const std::string& caption) { Assign(caption_, caption, Prop::Caption); }

void Form::SetIcon(const std::string& resourceName) { Assign(icon_, resourceName, Prop::Picture); }

void Form::SetDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  for (Control* control : all_)
    if (control->Kind() == ControlKind::Label) static_cast<Label*>(control)->FitToText();
  DpiChanged(dpi);
}

int Form::ClientWidth() const {
  return std::max(0, Width() - const_cast<Form*>(this)->GetRuntime().GetBackend().NonClientSize(*this).width);
}

int Form::ClientHeight() const {
  return std::max(0, Height() - const_cast<Form*>(this)->GetRuntime().GetBackend().NonClientSize(*this).height);
}

void Form::SetClientSize(int width, int height) {
  Size frame = GetRuntime().GetBackend().NonClientSize(*this);
  Move(Left(), Top(), width + frame.width, height + frame.height);
}

void Form::Initialize() { InitializeEvent(); }

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  Backend& backend = GetRuntime().GetBackend();
  AttachPeer(backend.CreatePeer(*this));
  for (Control* control : all_) control->AttachPeer(backend.CreatePeer(*control));
  std::function<void(Menu&)> attach = [&](Menu& menu) {
    menu.AttachPeer(backend.CreateMenuPeer(menu));
    for (Menu* item : menu.Items()) attach(*item);
  };
  for (Menu* menu : menus_) attach(*menu);
  LoadEvent();
}

void Form::Show(FormShowMode mode, Form* owner) {
  if (mode == vbModal && loaded_ && Visible())
    throw RuntimeError(400, "Form already displayed; can't show modally");
  Load();
  if (!loaded_ || GetRuntime().Ended()) return;
  if (owner != owner_ && owner != this) {
    owner_ = owner;
    Notify(Prop::Owner);
  }
  if (mode != vbModal) {
    SetVisible(true);
    return;
  }
  modal_ = true;
  GetRuntime().modal_.push_back(this);
  SetVisible(true);
  if (loaded_ && Visible() && !GetRuntime().Ended()) GetRuntime().GetBackend().RunModal(*this);
  EndModal();
}

void Form::EndModal() {
  if (!modal_) return;
  modal_ = false;
  auto& stack = GetRuntime().modal_;
  stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
  GetRuntime().GetBackend().EndModal(*this);
}

void Form::Hide() { SetVisible(false); }

void Form::SetVisible(bool visible) {
  Runtime& runtime = GetRuntime();
  if (!visible) {
    if (!Visible()) return;
    EndModal();
    Control::SetVisible(false);
    runtime.FormGone(*this);
    return;
  }
  Load();
  if (!loaded_ || runtime.Ended() || Visible()) return;
  Control::SetVisible(true);
  // Showing makes the form the active window. Where Windows keeps another program in the
  // foreground, it never reports that; the form still counts as activated, once, so that
  // what its Activate does (making it top-most, say) happens all the same.
  if (loaded_ && Visible() && runtime.ActiveForm() != this)
    runtime.Dispatch([this, &runtime] { runtime.FormActivated(*this); });
}

bool Form::RequestClose(UnloadMode mode) {
  // A close requested while another is being decided (a question on screen lets other events
  // in) is refused: the first one decides, and the form unloads once.
  if (loaded_ && closing_) return false;
  return Close(mode);
}

bool Form::CloseEvenWhileDeciding(UnloadMode mode) { return Close(mode); }

bool Form::Close(UnloadMode mode) {
  if (!loaded_) return true;
  struct Decided {
    bool& closing;
    bool before;
    ~Decided() { closing = before; }  // also when a handler fails: the next close is heard
  } decided{closing_, closing_};
  closing_ = true;
  int cancel = 0;
  QueryUnload(cancel, mode);
  if (!loaded_) return true;  // a close heard while this one was deciding has unloaded the form
  if (cancel == 0) UnloadEvent(cancel);
  if (cancel != 0) return false;
  if (!loaded_) return true;
  Unloaded();
  return true;
}

// Takes the window and its controls' windows away. A modal form first gives input back to
// the forms it held, so that the focus returns to them.
void Form::Unloaded() {
  EndModal();
  loaded_ = false;
  active_ = nullptr;
  std::function<void(Menu&)> detach = [&](Menu& menu) {
    for (Menu* item : menu.Items()) detach(*item);
    menu.DetachPeer();
  };
  for (Menu* menu : menus_) detach(*menu);
  for (auto it = all_.rbegin(); it != all_.rend(); ++it) (*it)->DetachPeer();
  bool wasShown = Visible();
  Control::SetVisible(false);
  DetachPeer();
  if (wasShown) GetRuntime().FormGone(*this);
}

void Form::PopupMenu(Menu& menu) { GetRuntime().GetBackend().ShowPopupMenu(*this, menu); }

void Form::FocusMoved(Control* now) {
  if (now == active_) return;
  Control* old = active_;
  active_ = now;
  if (old) old->LostFocus();
  if (now && active_ == now) now->GotFocus();
}

std::function<void()> Form::TrayEvent(std::uint32_t number) {
  if (auto mouse = TrayMouseFromMessage(number)) return [this, event = *mouse] { TrayMouse(event); };
  if (auto balloon = TrayBalloonFromMessage(number)) return [this, event = *balloon] { TrayBalloon(event); };
  return {};
}

namespace {

template <typename Pick>
CommandButton* FindButton(const std::vector<Control*>& controls, Pick pick) {
  for (Control* control : controls)
    if (control->Kind() == ControlKind::CommandButton && pick(static_cast<CommandButton&>(*control)))
      return static_cast<CommandButton*>(control);
  return nullptr;
}

}  // namespace

CommandButton* Form::DefaultButton() const {
  return FindButton(all_, [](CommandButton& b) { return b.Default(); });
}

CommandButton* Form::CancelButton() const {
  return FindButton(all_, [](CommandButton& b) { return b.Cancel(); });
}

Control* Form::NextTabStop(Control* from, bool forward) const {
  auto isStop = [](Control* c) {
    if (!c->CanTakeFocus()) return false;
    return c->Kind() != ControlKind::OptionButton || static_cast<OptionButton*>(c)->IsTabStop();
  };
  const std::size_t n = all_.size();
  auto here = std::find(all_.begin(), all_.end(), from);
  std::size_t start = here == all_.end() ? (forward ? n - 1 : 0) : static_cast<std::size_t>(here - all_.begin());
  for (std::size_t step = 1; step <= n; ++step) {
    Control* next = all_[(start + (forward ? step : n - step)) % n];
    if (isStop(next)) return next;
  }
  return nullptr;
}

bool Form::UserKeyDown(int keyCode, int shift) {
  if (KeyPreview) {
    KeyDown(keyCode, shift);
    if (keyCode == 0) return true;
  }
  if (!loaded_) return false;
  Control* focus = active_;
  if (keyCode == vbKeyTab && (shift == 0 || shift == vbShiftMask)) {
    if (Control* next = NextTabStop(focus, shift == 0); next && next != focus) next->SetFocus();
    return true;
  }
  if (shift != 0) return false;
  auto press = [](CommandButton* button) {
    if (!button || !button->Reachable()) return false;
    button->UserClick();
    return true;
  };
  switch (keyCode) {
    case vbKeyReturn:
      if (focus && focus->Kind() == ControlKind::CommandButton) return press(static_cast<CommandButton*>(focus));
      return press(DefaultButton());
    case vbKeyEscape:
      return press(CancelButton());
    case vbKeyLeft:
    case vbKeyUp:
    case vbKeyRight:
    case vbKeyDown:
      if (focus && focus->Kind() == ControlKind::OptionButton) {
        static_cast<OptionButton*>(focus)->UserArrow(keyCode == vbKeyRight || keyCode == vbKeyDown);
        return true;
      }
      return false;
    default:
      return false;
  }
}

bool Form::FocusTakesShortcut(const Shortcut& shortcut) const {
  if (!active_ || active_->Kind() != ControlKind::TextBox || shortcut.kind != Shortcut::Kind::Ctrl) return false;
  return shortcut.key == 'A' || shortcut.key == 'C' || shortcut.key == 'V' || shortcut.key == 'X' || shortcut.key == 'Z';
}

Menu* Form::MenuForShortcut(const Shortcut& shortcut) const {
  std::function<Menu*(Menu&)> find = [&](Menu& menu) -> Menu* {
    if (menu.GetShortcut() == shortcut && menu.Reachable()) return &menu;
    for (Menu* item : menu.Items())
      if (Menu* found = find(*item)) return found;
    return nullptr;
  };
  if (shortcut.kind == Shortcut::Kind::None) return nullptr;
  for (Menu* menu : menus_)
    if (Menu* found = find(*menu)) return found;
  return nullptr;
}

}  // namespace ui
