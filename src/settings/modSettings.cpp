#include "settings/modSettings.h"

namespace settings {

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

bool WriteLines(os::Files& files, const std::string& fileName, const std::vector<std::string>& lines) {
  try {
    return files.ReplaceFileContents(fileName, JoinLines(lines));
  } catch (const std::exception&) {
    return false;
  }
}

std::optional<std::vector<std::string>> ReadLines(os::Files& files, const std::string& fileName) {
  try {
    auto contents = files.ReadFile(fileName, kReadLimit + 1);
    if (!contents) return std::nullopt;
    // A file longer than any the program writes is read only this far; the line the limit cuts
    // through is not known, and counts as missing along with those after it.
    if (contents->size() > kReadLimit) {
      contents->resize(kReadLimit);
      std::size_t end = contents->find_last_of("\r\n");
      contents->resize(end == std::string::npos ? 0 : end + 1);
    }
    return SplitLines(*contents);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace settings
