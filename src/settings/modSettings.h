// The settings file: 18 lines of single-byte text in a fixed order, each ending in CR LF; the
// meaning of a value is given by its line number alone. The main window's controls are the
// settings: saving reads them, loading sets them and so runs their own handlers.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "os/Files.h"

namespace app {
class frmMain;
}

namespace settings {

constexpr int kLineCount = 18;
// How much of the file start-up reads: the 18 lines the program writes take a few kilobytes,
// and a damaged or foreign file of any size costs no more than this.
constexpr std::size_t kReadLimit = 64 * 1024;

// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);
// The lines of a file's text; CR LF, LF or a lone CR ends a line, and a last line without an
// end counts too.
std::vector<std::string> SplitLines(const std::string& text);

// The 18 values of the controls, in file order.
std::vector<std::string> SettingsLines(app::frmMain& form);

// Writes the file beside the old one and renames it into place. Returns false when nothing
// could be written (the old file then stays as it was); never raises an error.
bool SaveSett(app::frmMain& form, os::Files& files, const std::string& fileName);

// Sets the controls from the file's lines, each line on its own: an unusable value leaves its
// control as it was and the next line keeps its place. Missing lines leave their controls
// alone; lines after the 18th are ignored, and so is everything past the first kReadLimit
// bytes, with the line cut there. Returns false when the file could not be opened or
// read, so that nothing was set. Never raises an error.
bool LoadSett(app::frmMain& form, os::Files& files, const std::string& fileName);

}  // namespace settings
