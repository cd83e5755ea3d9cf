#include "ui/Runtime.h"

#include <algorithm>

#include "ui/Error.h"
#include "ui/Form.h"

namespace ui {

int DeclinedAnswer(int style) { return (style & 0x0F) == mb::kYesNo ? vbNo : vbOK; }

int ScriptedMessageBoxes::Show(const std::string& text, int style, const std::string& title) {
  log_.push_back({text, style, title});
  if (next_ < answers_.size()) {
    auto [meanwhile, result] = answers_[next_++];
    if (meanwhile) meanwhile();
    return result;
  }
  if (OnUnanswered) OnUnanswered(log_.back());
  return DeclinedAnswer(style);
}

void ScriptedMessageBoxes::Clear() {
  log_.clear();
  answers_.clear();
  next_ = 0;
}

int Runtime::MsgBox(const std::string& text, int style, const std::string& title) {
  if (ended_) return DeclinedAnswer(style);
  const std::string& shownTitle = title.empty() ? Title : title;
  int answer;
  if (script_) {
    answer = script_->Show(text, style, shownTitle);
  } else {
    // The box belongs to the active form, or else to the form shown most recently active.
    std::vector<Form*> shown = ShownForms();
    Form* owner = shown.empty() ? nullptr : shown.front();
    answer = backend_.ShowMessageBox(text, style, shownTitle, owner);
  }
  // Events run while the box is up; one of them may have ended the program.
  return ended_ ? DeclinedAnswer(style) : answer;
}

void Runtime::DoEvents() {
  if (!ended_) backend_.DoEvents();
}

void Runtime::Post(std::function<void()> event) {
  if (ended_) return;
  backend_.Post([this, event = std::move(event)] { Dispatch(event); });
}

void Runtime::Dispatch(const std::function<void()>& event) {
  if (ended_) return;
  try {
    event();
  } catch (const std::exception& error) {
    if (ended_) return;
    try {
      MsgBox(DescribeError(error), mb::kCritical);
    } catch (const std::exception&) {
      // Nothing more can be reported.
    }
  }
}

void Runtime::FormActivated(Form& form) {
  if (active_ == &form || !form.IsLoaded() || !form.Visible()) return;
  active_ = &form;
  auto it = std::find(forms_.begin(), forms_.end(), &form);
  if (it != forms_.end()) std::rotate(forms_.begin(), it, it + 1);
  form.Activate();
}

void Runtime::FormGone(Form& form, bool tellBackend) {
  modal_.erase(std::remove(modal_.begin(), modal_.end(), &form), modal_.end());
  if (active_ != &form) return;
  active_ = nullptr;
  if (tellBackend && !ended_) backend_.FormDeactivated(form);
}

std::vector<Form*> Runtime::ShownForms() const {
  std::vector<Form*> shown;
  for (Form* form : forms_)
    if (form->IsLoaded() && form->Visible()) shown.push_back(form);
  return shown;
}

void Runtime::End() {
  if (ended_) return;
  ended_ = true;
  backend_.End();
}

}  // namespace ui
