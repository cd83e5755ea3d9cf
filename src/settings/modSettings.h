// The settings file: lines of single-byte text in a fixed order, each ending in CR LF; the
// meaning of a value is given by its line number alone. This module reads and writes the lines;
// what each line holds is the program's business (app/Settings.h).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "os/Files.h"

namespace settings {

// The lines the program writes. Versions before "Activate When" wrote and read the first 18
// only, versions before the warning's postpone the first 25, before the repeat the first 28;
// each still reads a file with more.
constexpr int kLineCount = 32;
// How much of the file start-up reads: the lines the program writes take a few kilobytes,
// and a damaged or foreign file of any size costs no more than this.
constexpr std::size_t kReadLimit = 64 * 1024;

// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);
// The lines of a file's text; CR LF, LF or a lone CR ends a line, and a last line without an
// end counts too.
std::vector<std::string> SplitLines(const std::string& text);

// Writes the lines beside the old file and renames the new one into place. Returns false when
// nothing could be written (the old file then stays as it was); never raises an error.
bool WriteLines(os::Files& files, const std::string& fileName, const std::vector<std::string>& lines);

// The file's lines; everything past the first kReadLimit bytes is ignored, with the line cut
// there. Nothing when the file could not be opened or read. Never raises an error.
std::optional<std::vector<std::string>> ReadLines(os::Files& files, const std::string& fileName);

}  // namespace settings
