#include "platform/FileOpenDialog.h"

#include "base/Convert.h"
#include "base/RuntimeError.h"

namespace platform {
namespace {

constexpr std::size_t kNameRoom = 2048;
constexpr std::size_t kMostNames = 200;
constexpr std::uint32_t kPlaceOnly = os::kSwpNoSize | os::kSwpNoZOrder | os::kSwpNoActivate;

std::string UpToNul(const std::string& text, std::size_t from = 0) {
  std::size_t end = text.find('\0', from);
  return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The folder and the names from the record the dialog wrote back.
SelectedFile ReadChoice(const os::OpenFileName& ofn) {
  SelectedFile result;
  if (!Trim(UpToNul(ofn.lpstrFileTitle)).empty()) {
    // One name: the folder with its "\" is the part before the name.
    result.FolderPath = ofn.lpstrFile.substr(0, ofn.nFileOffset);
    result.FileNames.push_back(UpToNul(ofn.lpstrFile, ofn.nFileOffset));
  } else {
    // Several names: the folder, then each name, each followed by a NUL, a second NUL last.
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < ofn.lpstrFile.size() && ofn.lpstrFile[at] != '\0';) {
      parts.push_back(UpToNul(ofn.lpstrFile, at));
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

os::Rect CenterOver(const os::Rect& area, const os::Rect& window) {
  auto start = [](double areaFrom, double areaTo, double from, double to) {
    return base::CLng((areaTo - areaFrom) / 2 + areaFrom - (to - from) / 2);
  };
  std::int32_t x = start(area.left, area.right, window.left, window.right);
  std::int32_t y = start(area.top, area.bottom, window.top, window.bottom);
  return {x, y, x + window.right - window.left, y + window.bottom - window.top};
}

CommonDialog::~CommonDialog() {
  for (os::Handle hook : hooks_) os_.user32.UnhookWindowsHookEx(hook);
}

SelectedFile CommonDialog::ShowOpen(os::HWnd owner, bool centerOnOwner) {
  owner_ = owner;
  OFN.lStructSize = os::kOpenFileNameSize;
  OFN.hwndOwner = owner;
  OFN.lpstrFileTitle.assign(kNameRoom, ' ');
  OFN.nMaxFileTitle = static_cast<std::uint32_t>(OFN.lpstrFileTitle.size());
  // The dialog opens with the last name chosen, with room for a long answer behind it.
  std::string previous = Trim(UpToNul(OFN.lpstrFile));
  OFN.lpstrFile = previous;
  OFN.nMaxFile = static_cast<std::uint32_t>(previous.size() + kNameRoom);
  // A picker for one existing file.
  OFN.Flags = kOfnHideReadOnly | kOfnFileMustExist | kOfnExplorer | kOfnLongNames;

  // The procedure learns its own hook's handle once it is installed; until then it has no
  // window to wait for.
  auto installed = std::make_shared<os::Handle>(0);
  os::HookProc procedure = [this, installed, centerOnOwner](std::int32_t code, std::uintptr_t wParam,
                                                            std::intptr_t lParam) {
    return centerOnOwner ? CBTCenterOwner(*installed, code, wParam, lParam)
                         : CBTCenterScreen(*installed, code, wParam, lParam);
  };
  os::Handle instance = static_cast<os::Handle>(os_.user32.GetWindowLongA(owner, os::kGwlHInstance));
  *installed = os_.user32.SetWindowsHookExA(os::kWhCbt, procedure, instance, os_.kernel32.GetCurrentThreadId());
  if (*installed != 0) hooks_.insert(*installed);

  if (os_.comdlg32.GetOpenFileNameA(OFN) == 0) return {};
  return ReadChoice(OFN);
}

std::intptr_t CommonDialog::CBTCenterOwner(os::Handle hook, std::int32_t code, std::uintptr_t wParam,
                                           std::intptr_t lParam) {
  return CenterOnActivation(hook, code, wParam, lParam, true);
}

std::intptr_t CommonDialog::CBTCenterScreen(os::Handle hook, std::int32_t code, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
  return CenterOnActivation(hook, code, wParam, lParam, false);
}

std::intptr_t CommonDialog::CenterOnActivation(os::Handle hook, std::int32_t code, std::uintptr_t wParam,
                                               std::intptr_t lParam, bool overOwner) {
  if (code != os::kHcbtActivate || hooks_.count(hook) == 0) return os_.user32.CallNextHookEx(hook, code, wParam, lParam);
  os::HWnd dialog = wParam;
  os::Rect area{0, 0, 0, 0}, window;
  bool known = os_.user32.GetWindowRect(dialog, window) != 0;
  if (overOwner)
    known = os_.user32.GetWindowRect(owner_, area) != 0 && known;
  else
    area = {0, 0, os_.user32.GetSystemMetrics(os::kSmCxScreen), os_.user32.GetSystemMetrics(os::kSmCyScreen)};
  // A window whose place cannot be read stays where Windows put the dialog.
  if (known) {
    os::Rect centred = CenterOver(area, window);
    os_.user32.SetWindowPos(dialog, 0, centred.left, centred.top, 0, 0, kPlaceOnly);
  }
  hooks_.erase(hook);
  os_.user32.UnhookWindowsHookEx(hook);
  return 0;
}

}  // namespace platform
