#include "ui/Menu.h"

#include <algorithm>

#include "ui/Form.h"

namespace ui {

Menu::Menu(Form& form, std::string name, std::string caption)
    : form_(&form), name_(std::move(name)), caption_(std::move(caption)) {
  form.menus_.push_back(this);
}

Menu::Menu(Menu& parent, std::string name, std::string caption, Shortcut shortcut)
    : form_(parent.form_), parent_(&parent), name_(std::move(name)), caption_(std::move(caption)), shortcut_(shortcut) {
  parent.items_.push_back(this);
}

Menu::~Menu() {
  auto& siblings = parent_ ? parent_->items_ : form_->menus_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
}

void Menu::SetCaption(const std::string& caption) { Assign(caption_, caption, Prop::Caption); }

void Menu::SetChecked(bool checked) { Assign(checked_, checked, Prop::Checked); }

void Menu::SetEnabled(bool enabled) { Assign(enabled_, enabled, Prop::Enabled); }

void Menu::SetVisible(bool visible) { Assign(visible_, visible, Prop::Visible); }

bool Menu::Choosable() const { return visible_ && enabled_ && !IsSeparator(); }

bool Menu::Reachable() const {
  for (const Menu* m = this; m; m = m->parent_)
    if (!m->visible_ || !m->enabled_) return false;
  return !IsSeparator();
}

}  // namespace ui
