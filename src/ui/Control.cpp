#include "ui/Control.h"

#include <algorithm>

#include "ui/Error.h"
#include "ui/Form.h"

namespace ui {

Control::Control(Container* parent, std::string name, int index)
    : parent_(parent), runtime_(nullptr), name_(std::move(name)), index_(index) {
  parent_->children_.push_back(this);
  Form& form = OwnerForm();
  runtime_ = &form.GetRuntime();
  form.all_.push_back(this);
}

Control::Control(Runtime& runtime, std::string name) : runtime_(&runtime), name_(std::move(name)) {}

Control::~Control() {
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    Form& form = OwnerForm();
    form.all_.erase(std::remove(form.all_.begin(), form.all_.end(), this), form.all_.end());
    if (form.active_ == this) form.active_ = nullptr;
  }
}

Form& Control::OwnerForm() {
  Control* c = this;
  while (c->parent_) c = c->parent_;
  return static_cast<Form&>(*c);
}

const Form& Control::OwnerForm() const { return const_cast<Control*>(this)->OwnerForm(); }

Runtime& Control::GetRuntime() { return *runtime_; }

void Control::Move(int left, int top, int width, int height) {
  if (width < 0 || height < 0) throw RuntimeError(base::kInvalidPropertyValue, "Invalid property value");
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Notify(Prop::Geometry);
}

void Control::SetVisible(bool visible) { Assign(visible_, visible, Prop::Visible); }

void Control::SetEnabled(bool enabled) { Assign(enabled_, enabled, Prop::Enabled); }

void Control::SetToolTipText(const std::string& text) { Assign(toolTip_, text, Prop::ToolTip); }

void Control::SetFont(const Font& font) { Assign(font_, font, Prop::Font); }

bool Control::EffectivelyEnabled() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->enabled_) return false;
  return true;
}

bool Control::EffectivelyVisible() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

bool Control::InView() const {
  for (const Control* c = this; c->parent_; c = c->parent_) {
    const Container& area = *c->parent_;
    if (c->left_ >= area.ClientWidth() || c->top_ >= area.ClientHeight() || c->left_ + c->width_ <= 0 ||
        c->top_ + c->height_ <= 0)
      return false;
  }
  return true;
}

bool Control::Reachable() const {
  return OwnerForm().IsLoaded() && EffectivelyVisible() && EffectivelyEnabled() &&
         InView();
}

void Control::SetFocus() {
  Form& form = OwnerForm();
  if (!CanTakeFocus()) throw RuntimeError(base::kInvalidProcedureCall, "Invalid procedure call or argument");
  if (form.ActiveControl() == this) return;
  if (peer_)
    peer_->Focus();
  else
    form.FocusMoved(this);
}

}  // namespace ui
