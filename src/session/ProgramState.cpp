#include "session/ProgramState.h"

#include <algorithm>

#include "base/Convert.h"

namespace session {

std::string ProgramState::SettingsPath() const { return AppFolder + "settings.qnl"; }

std::int16_t ProgramState::BeepFrequency() const {
  return base::CInt(std::clamp<double>(base::Val(BeepFrequencyText), kLowestFrequency, kHighestFrequency));
}

}  // namespace session
