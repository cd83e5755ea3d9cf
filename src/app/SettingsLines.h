// What each line of the settings file holds: the main window's controls, in file order, and the
// beep frequency. Loading sets the controls, which runs their own handlers as a user's choice
// would; an unusable value leaves its control as it is and the next line keeps its place.
#pragma once

#include <string>
#include <vector>

namespace app {

class frmMain;

// The 18 values, in file order.
std::vector<std::string> SettingsLines(frmMain& form);
// Sets the controls from the file's lines, each on its own: missing lines leave their
// controls alone, lines after the 18th are ignored. Never raises an error.
void ApplySettingsLines(frmMain& form, const std::vector<std::string>& lines);

}  // namespace app
