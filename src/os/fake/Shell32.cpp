#include "os/fake/Shell32.h"

namespace os::fake {

std::int32_t Shell32::Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) {
  Log(shell32::Shell_NotifyIconA{message, data});
  auto key = std::make_pair(data.hWnd, data.uID);
  if (message == kNimAdd) return trayIcons.emplace(key, data).second ? 1 : 0;
  if (message == kNimDelete) return trayIcons.erase(key) ? 1 : 0;
  if (message == kNimModify) {
    auto icon = trayIcons.find(key);
    if (icon == trayIcons.end()) return 0;
    // As the shell does, only the parts the flags name change.
    NotifyIconData& shown = icon->second;
    if (data.uFlags & 1) shown.uCallbackMessage = data.uCallbackMessage;
    if (data.uFlags & 2) shown.hIcon = data.hIcon;
    if (data.uFlags & 4) shown.szTip = data.szTip;
    if (data.uFlags & kNifInfo) {
      shown.szInfo = data.szInfo;
      shown.uTimeout = data.uTimeout;
      shown.szInfoTitle = data.szInfoTitle;
      shown.dwInfoFlags = data.dwInfoFlags;
    }
    shown.cbSize = data.cbSize;
    shown.uFlags |= data.uFlags;
    return 1;
  }
  return 0;
}

std::intptr_t Shell32::ShellExecuteA(HWnd window, const std::string& verb, const std::string& file,
                                     const std::string& parameters, const std::string& directory,
                                     std::int32_t showCommand) {
  Log(shell32::ShellExecuteA{window, verb, file, parameters, directory, showCommand});
  auto byVerb = shellExecuteResultByVerb.find(verb);
  return byVerb != shellExecuteResultByVerb.end() ? byVerb->second : shellExecuteResult;
}

}  // namespace os::fake
