// The program's version and the titles built from it.
#pragma once

#include <string>

namespace session {

// The two numbers come from the build (project() in CMakeLists.txt), which also gives them to
// the version resource and the release packages.
#if !defined(QUENLAR_VERSION_MAJOR) || !defined(QUENLAR_VERSION_MINOR)
#error "QUENLAR_VERSION_MAJOR and QUENLAR_VERSION_MINOR are defined by the build"
#endif
constexpr int kMajor = QUENLAR_VERSION_MAJOR;
constexpr int kMinor = QUENLAR_VERSION_MINOR;

// "1.3": major, a full stop, minor, as plain decimal integers.
inline std::string VersionText() { return std::to_string(kMajor) + "." + std::to_string(kMinor); }
// ":: Quenlar 1.3 ::", the main window's caption and the application title.
inline std::string AppTitle() { return ":: Quenlar " + VersionText() + " ::"; }

}  // namespace session
