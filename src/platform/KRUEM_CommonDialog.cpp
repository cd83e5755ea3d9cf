#include "platform/KRUEM_CommonDialog.h"

#include "base/RuntimeError.h"

namespace platform {
namespace {

constexpr std::size_t kNameRoom = 2048;
constexpr std::size_t kMostNames = 200;

std::string UpToNul(const std::string& text, std::size_t from = 0) {
  std::size_t end = text.find('\0', from);
  return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string MakeFilter(const std::vector<std::pair<std::string, std::string>>& pairs) {
  std::string filter;
  for (const auto& [description, pattern] : pairs) {
    filter += description;
    filter += '\0';
    filter += pattern;
    filter += '\0';
  }
  return filter;
}

SelectedFile CommonDialog::ShowOpen(os::HWnd owner, bool /*centerOnOwner*/) {
  OFN.hwndOwner = owner;
  OFN.lpstrFileTitle.assign(kNameRoom, ' ');
  // The dialog opens with the last name chosen, with room for a long answer behind it.
  std::string previous = Trim(UpToNul(OFN.lpstrFile));
  OFN.lpstrFile = previous;
  OFN.nMaxFile = static_cast<std::uint32_t>(previous.size() + kNameRoom);
  OFN.Flags = kOfnHideReadOnly | kOfnFileMustExist | kOfnExplorer | kOfnLongNames;

  SelectedFile result;
  if (comdlg32_.GetOpenFileNameA(OFN) == 0) return result;

  if (!Trim(UpToNul(OFN.lpstrFileTitle)).empty()) {
    result.FolderPath = OFN.lpstrFile.substr(0, OFN.nFileOffset);
    result.FileNames.push_back(UpToNul(OFN.lpstrFile, OFN.nFileOffset));
  } else {
    // Several names: the folder, then each name, each followed by a NUL, a second NUL last.
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < OFN.lpstrFile.size() && OFN.lpstrFile[at] != '\0';) {
      parts.push_back(UpToNul(OFN.lpstrFile, at));
      at += parts.back().size() + 1;
    }
    if (parts.size() < 2) return result;
    if (parts.size() - 1 > kMostNames) throw base::RuntimeError(base::kInvalidProcedureCall, "Too many files chosen");
    result.FolderPath = parts[0].back() == '\\' ? parts[0] : parts[0] + "\\";
    result.FileNames.assign(parts.begin() + 1, parts.end());
  }
  result.FileCount = static_cast<int>(result.FileNames.size());
  result.Cancelled = false;
  return result;
}

}  // namespace platform
