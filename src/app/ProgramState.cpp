#include "app/ProgramState.h"

namespace app {

std::string ProgramState::SettingsPath() const { return AppFolder + "settings.qnl"; }

std::string ProgramState::ActionText() const {
  std::string text;
  for (std::size_t i = 0; i < ActionName.size(); ++i) {
    text += ActionName[i];
    if (ActionName[i] == '&' && i + 1 < ActionName.size() && ActionName[i + 1] == '&') ++i;
  }
  return text;
}

}  // namespace app
