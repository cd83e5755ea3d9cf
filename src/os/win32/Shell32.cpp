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
// The second form (NOTIFYICONDATAA_V2_SIZE, shell 5) adds the balloon: 488 bytes there.
#ifndef _WIN64
static_assert(offsetof(NOTIFYICONDATAA, szTip) + 64 == 88, "the notification-area record of 32-bit Windows");
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the record with the balloon, in 32-bit Windows");
#endif

namespace {

// Copies a text into a field of the record, cut so that its NUL still fits.
template <std::size_t N>
void CopyText(char (&field)[N], const std::string& text, std::size_t longest = N - 1) {
  std::strncpy(field, text.c_str(), longest < N ? longest : N - 1);
}

}  // namespace

std::int32_t Shell32::Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) {
  NOTIFYICONDATAA record{};
  const bool withBalloon = data.cbSize >= kNotifyIconDataV2Size;
  record.cbSize = withBalloon ? NOTIFYICONDATAA_V2_SIZE : NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = reinterpret_cast<HWND>(data.hWnd);
  record.uID = data.uID;
  record.uFlags = data.uFlags;
  record.uCallbackMessage = data.uCallbackMessage;
  record.hIcon = reinterpret_cast<HICON>(data.hIcon);
  // The first form's tip holds 64 bytes with its NUL; a shell that takes the second reads 128.
  CopyText(record.szTip, data.szTip, withBalloon ? 127 : 63);
  if (withBalloon) {
    CopyText(record.szInfo, data.szInfo);
    record.uTimeout = data.uTimeout;
    CopyText(record.szInfoTitle, data.szInfoTitle);
    record.dwInfoFlags = data.dwInfoFlags;
  }
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
