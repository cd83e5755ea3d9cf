#include "schedule/Action.h"

namespace schedule {

std::optional<Action> ActionAt(int index) {
  if (index < 0 || index >= kActionCount) return std::nullopt;
  return static_cast<Action>(index);
}

std::string LabelName(Action action) {
  static const char* const kNames[] = {"Shutdown", "Restart", "Log Off",          "Hibernate",
                                       "Stand by", "Lock PC", "Alarm && Message", "Turn Off the Display"};
  return kNames[IndexOf(action)];
}

std::string PlainName(Action action) { return PlainText(LabelName(action)); }

std::string PlainText(const std::string& label) {
  std::string text;
  for (std::size_t i = 0; i < label.size(); ++i) {
    text += label[i];
    if (label[i] == '&' && i + 1 < label.size() && label[i + 1] == '&') ++i;
  }
  return text;
}

}  // namespace schedule
