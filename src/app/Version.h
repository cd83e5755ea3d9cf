// The program's version and the titles built from it.
#pragma once

#include <string>

namespace app {

constexpr int kMajor = 1;
constexpr int kMinor = 3;

// "1.3": major, a full stop, minor, as plain decimal integers.
inline std::string VersionText() { return std::to_string(kMajor) + "." + std::to_string(kMinor); }
// ":: Quenlar 1.3 ::", the main window's caption and the application title.
inline std::string AppTitle() { return ":: Quenlar " + VersionText() + " ::"; }

}  // namespace app
