#include "ui/Form.h"

#include <algorithm>
#include <functional>

#include "ui/Menu.h"
#include "ui/Runtime.h"

namespace ui {

Form::Form(Runtime& runtime, std::string name) : Container(runtime, std::move(name)) {
  Control::SetVisible(false);
  runtime.forms_.push_back(this);
}

Form::~Form() {
  auto& forms = GetRuntime().forms_;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

void Form::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Notify(Prop::Caption);
}

void Form::SetIcon(const std::string& resourceName) {
  icon_ = resourceName;
  Notify(Prop::Picture);
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

void Form::Show() { SetVisible(true); }

void Form::Hide() { SetVisible(false); }

void Form::SetVisible(bool visible) {
  if (visible) {
    Load();
    if (!loaded_ || GetRuntime().Ended()) return;
  }
  Control::SetVisible(visible);
}

bool Form::RequestClose(UnloadMode mode) {
  if (!loaded_) return true;
  // A close requested while another is being decided (a question on screen lets other events
  // in) is refused: the first one decides, and the form unloads once.
  if (closing_) return false;
  closing_ = true;
  struct Decided {
    bool& closing;
    ~Decided() { closing = false; }  // also when a handler fails: the next close is heard
  } decided{closing_};
  int cancel = 0;
  QueryUnload(cancel, mode);
  if (cancel == 0) UnloadEvent(cancel);
  if (cancel != 0) return false;
  if (!loaded_) return true;
  loaded_ = false;
  active_ = nullptr;
  std::function<void(Menu&)> detach = [&](Menu& menu) {
    for (Menu* item : menu.Items()) detach(*item);
    menu.DetachPeer();
  };
  for (Menu* menu : menus_) detach(*menu);
  for (auto it = all_.rbegin(); it != all_.rend(); ++it) (*it)->DetachPeer();
  Control::SetVisible(false);
  DetachPeer();
  return true;
}

void Form::PopupMenu(Menu& menu) { GetRuntime().GetBackend().ShowPopupMenu(*this, menu); }

void Form::FocusMoved(Control* now) {
  if (now == active_) return;
  Control* old = active_;
  active_ = now;
  if (old) old->LostFocus();
  if (now && active_ == now) now->GotFocus();
}

bool Form::PreviewKeyDown(int keyCode, int shift) {
  if (!KeyPreview) return true;
  KeyDown(keyCode, shift);
  return keyCode != 0;
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
