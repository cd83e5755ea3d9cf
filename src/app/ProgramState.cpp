#include "app/ProgramState.h"

namespace app {

std::string ProgramState::SettingsPath() const { return AppFolder + "settings.qnl"; }

}  // namespace app
