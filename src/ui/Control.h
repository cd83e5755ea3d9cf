// The control model: every window and control is an object of properties and events. Setting a
// property tells the backend's peer at once and raises the control's event synchronously.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Types.h"

namespace ui {

class Form;
class Container;
class Runtime;

enum class ControlKind {
  Form, Label, TextBox, CheckBox, OptionButton, CommandButton, Frame, PictureBox,
  ComboBox, ScrollBar, Timer, DTPicker, ProgressBar, StatusBar, Image,
};

// What changed, so that a peer can bring its native counterpart up to date.
enum class Prop {
  Geometry, Visible, Enabled, Caption, Text, Selection, MaxLength, Locked, BackColor, ForeColor,
  Font, Alignment, ToolTip, Value, List, Range, Interval, Panels, Picture, Checked, Shortcut,
  Owner, Default,
};

// The backend's counterpart of a control, form or menu item.
class Peer {
 public:
  virtual ~Peer() = default;
  virtual void Update(Prop what) = 0;
  // Moves the input focus to the control; the backend reports the move back through
  // Form::FocusMoved.
  virtual void Focus() {}
  // Draws the window and its children now, rather than when the program next waits for input.
  virtual void Refresh() {}
  // Where the user can change a selection natively, the peer reports it; otherwise the model's
  // own value stands.
  virtual std::optional<std::pair<int, int>> NativeSelection() { return std::nullopt; }
  // The native window handle, where there is one.
  virtual std::uintptr_t NativeHandle() const { return 0; }
  // The handle of the control's picture (a form's icon, an image's icon), where there is one.
  virtual std::uintptr_t PictureHandle() const { return 0; }
};

class Control {
 public:
  Control(Container* parent, std::string name, int index);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  virtual ControlKind Kind() const = 0;
  const std::string& Name() const { return name_; }
  int Index() const { return index_; }  // -1 when not part of a control array
  Container* Parent() const { return parent_; }
  Form& OwnerForm();
  const Form& OwnerForm() const;
  Runtime& GetRuntime();

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Move(int left, int top, int width, int height);
  void SetLeft(int v) { Move(v, top_, width_, height_); }
  void SetTop(int v) { Move(left_, v, width_, height_); }
  void SetWidth(int v) { Move(left_, top_, v, height_); }
  void SetHeight(int v) { Move(left_, top_, width_, v); }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(const std::string& text);

  const Font& GetFont() const { return font_; }
  void SetFont(const Font& font);

  // True when this control and every container around it are enabled / visible.
  bool EffectivelyEnabled() const;
  bool EffectivelyVisible() const;
  // True when some of the control lies inside its container's area, and so on up to the
  // form's client area. A control out of view can be neither seen nor reached by the user.
  bool InView() const;
  // True when the user can reach the control: its form is loaded, and it is visible, enabled
  // and in view, with every container around it.
  bool Reachable() const;

  // Moves the input focus here. A control of a hidden form, or one the user could not reach
  // (hidden, disabled or out of view, or inside such a container), is a run-time error.
  void SetFocus();
  virtual bool CanHaveFocus() const { return false; }
  bool CanTakeFocus() const { return CanHaveFocus() && Reachable(); }

  // Focus events, raised by the form as the focus moves.
  Event<> GotFocus;
  Event<> LostFocus;

  Peer* GetPeer() const { return peer_.get(); }
  // The window handle of the control's native counterpart (0 while not loaded).
  std::uintptr_t hWnd() const { return peer_ ? peer_->NativeHandle() : 0; }
  std::uintptr_t PictureHandle() const { return peer_ ? peer_->PictureHandle() : 0; }
  void AttachPeer(std::unique_ptr<Peer> peer) { peer_ = std::move(peer); }
  void DetachPeer() { peer_.reset(); }

 protected:
  void Notify(Prop what) {
    if (peer_) peer_->Update(what);
  }
  template <typename T, typename U>
  bool Assign(T&& field, U&& value, Prop what) {
    return AssignProperty(std::forward<T>(field), std::forward<U>(value), [&] { Notify(what); });
  }
  explicit Control(Runtime& runtime, std::string name);  // for forms

 private:
  Container* parent_ = nullptr;
  Runtime* runtime_ = nullptr;
  std::string name_;
  int index_ = -1;
  int left_ = 0, top_ = 0, width_ = 1215, height_ = 375;
  bool visible_ = true;
  bool enabled_ = true;
  std::string toolTip_;
  Font font_;
  std::unique_ptr<Peer> peer_;
};

// A control that holds others: a form, a frame or a picture box.
class Container : public Control {
 public:
  using Control::Control;
  const std::vector<Control*>& Children() const { return children_; }
  // The area children are placed in, in twips: a frame or picture box's own size, a form's
  // client area.
  virtual int ClientWidth() const { return Width(); }
  virtual int ClientHeight() const { return Height(); }

 private:
  friend class Control;
  std::vector<Control*> children_;
};

}  // namespace ui
