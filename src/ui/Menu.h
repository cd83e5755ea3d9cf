// Menu bar menus, their items and pop-up menus. A caption of "-" makes a separator.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

class Menu {
 public:
  // A top-level menu of the form's menu bar (or a pop-up menu hidden from the bar).
  Menu(Form& form, std::string name, std::string caption);
  // An item of a menu.
  Menu(Menu& parent, std::string name, std::string caption, Shortcut shortcut = {});
  ~Menu();
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  const std::string& Name() const { return name_; }
  Form& OwnerForm() const { return *form_; }
  Menu* Parent() const { return parent_; }
  const std::vector<Menu*>& Items() const { return items_; }
  bool IsSeparator() const { return caption_ == "-"; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  const ui::Shortcut& GetShortcut() const { return shortcut_; }

  // True when the user can reach the item in the menu bar or by its shortcut: it and its
  // menus are visible and enabled.
  bool Reachable() const;
  // True when the item itself can be chosen where its menu is open (a pop-up menu's items
  // included, whose menu is kept out of the menu bar).
  bool Choosable() const;

  Event<> Click;
  void UserChoose() { Click(); }

  Peer* GetPeer() const { return peer_.get(); }
  void AttachPeer(std::unique_ptr<Peer> peer) { peer_ = std::move(peer); }
  void DetachPeer() { peer_.reset(); }

 private:
  void Notify(Prop what) {
    if (peer_) peer_->Update(what);
  }
  template <typename T, typename U>
  bool Assign(T& field, U&& value, Prop what) {
    return AssignProperty(field, std::forward<U>(value), [&] { Notify(what); });
  }
  Form* form_;
  Menu* parent_ = nullptr;
  std::string name_;
  std::string caption_;
  ui::Shortcut shortcut_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  std::vector<Menu*> items_;
  std::unique_ptr<Peer> peer_;
};

}  // namespace ui
