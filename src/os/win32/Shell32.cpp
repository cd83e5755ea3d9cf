#include "os/win32/Shell32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstring>

#include "os/win32/SystemLibrary.h"

namespace os::win32 {

// The record's first form, which every Windows version accepts (NOTIFYICONDATAA_V1_SIZE): the
// fields up to a tip of 64 characters, 88 bytes in 32-bit Windows. Later forms hold a longer
// tip and more after it; the 64-bit form is the same with wider handles.
#ifndef _WIN64
static_assert(offsetof(NOTIFYICONDATAA, szTip) + 64 == 88, "the notification-area record of 32-bit Windows");
#endif

std::int32_t Shell32::Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = reinterpret_cast<HWND>(data.hWnd);
  record.uID = data.uID;
  record.uFlags = data.uFlags;
  record.uCallbackMessage = data.uCallbackMessage;
  record.hIcon = reinterpret_cast<HICON>(data.hIcon);
  std::strncpy(record.szTip, data.szTip.c_str(), 63);
  return Resolve<decltype(&::Shell_NotifyIconA)>("shell32.dll", "Shell_NotifyIconA")(message, &record);
}

std::intptr_t Shell32::ShellExecuteA(HWnd window, const std::string& verb, const std::string& file,
                                     const std::string& parameters, const std::string& directory,
                                     std::int32_t showCommand) {
  auto text = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
  return reinterpret_cast<std::intptr_t>(Resolve<decltype(&::ShellExecuteA)>("shell32.dll", "ShellExecuteA")(reinterpret_cast<HWND>(window), text(verb), file.c_str(),
                                                         text(parameters), text(directory), showCommand));
}

}  // namespace os::win32
