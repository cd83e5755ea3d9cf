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

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Notify(Prop::Visible);
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Notify(Prop::Enabled);
}

void Control::SetToolTipText(const std::string& text) {
  if (text == toolTip_) return;
  toolTip_ = text;
  Notify(Prop::ToolTip);
}

void Control::SetFont(const Font& font) {
  if (font == font_) return;
  font_ = font;
  Notify(Prop::Font);
}

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

void Control::SetFocus() {
  Form& form = OwnerForm();
  if (!form.IsLoaded() || !EffectivelyVisible() || !EffectivelyEnabled() || !CanHaveFocus())
    throw RuntimeError(base::kInvalidProcedureCall, "Invalid procedure call or argument");
  if (form.ActiveControl() == this) return;
  if (peer_)
    peer_->Focus();
  else
    form.FocusMoved(this);
}

}  // namespace ui
