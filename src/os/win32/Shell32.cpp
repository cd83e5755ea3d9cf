#include "os/win32/Shell32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <algorithm>
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
static_assert(NOTIFYICONDATAW_V1_SIZE == 152 && NOTIFYICONDATAW_V2_SIZE == 936, "the wide record's two forms");
#endif

namespace {

// Copies a text into a field of the record, cut so that its NUL still fits (in the code page,
// whole characters of a double-byte one are not known: a byte may be cut off).
template <std::size_t N>
void CopyText(char (&field)[N], const std::string& text, std::size_t longest = N - 1) {
  std::strncpy(field, Ansi(text).c_str(), longest < N ? longest : N - 1);
}

// The same for a UTF-16 field, where a character of two units is never split.
template <std::size_t N>
void CopyText(wchar_t (&field)[N], const std::string& text, std::size_t longest = N - 1) {
  std::wstring wide = Wide(text);
  std::size_t length = std::min({wide.size(), longest, N - 1});
  if (length > 0 && length < wide.size() && wide[length - 1] >= 0xD800 && wide[length - 1] < 0xDC00) --length;
  std::copy_n(wide.begin(), length, field);
  field[length] = L'\0';
}

// The record of either kind from the program's: the first form's tip holds 64 characters
// with its NUL; a shell that takes the second reads 128.
template <typename Record>
Record Filled(const NotifyIconData& data, bool withBalloon) {
  Record record{};
  record.hWnd = reinterpret_cast<HWND>(data.hWnd);
  record.uID = data.uID;
  record.uFlags = data.uFlags;
  record.uCallbackMessage = data.uCallbackMessage;
  record.hIcon = reinterpret_cast<HICON>(data.hIcon);
  CopyText(record.szTip, data.szTip, withBalloon ? 127 : 63);
  if (withBalloon) {
    CopyText(record.szInfo, data.szInfo);
    record.uTimeout = data.uTimeout;
    CopyText(record.szInfoTitle, data.szInfoTitle);
    record.dwInfoFlags = data.dwInfoFlags;
  }
  return record;
}

}  // namespace

// The wide record has the same two forms (NOTIFYICONDATAW_V1_SIZE, NOTIFYICONDATAW_V2_SIZE),
// longer by its wider texts.
std::int32_t Shell32::Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) {
  const bool withBalloon = data.cbSize >= kNotifyIconDataV2Size;
  if (boundary::WideApi()) {
    NOTIFYICONDATAW record = Filled<NOTIFYICONDATAW>(data, withBalloon);
    record.cbSize = withBalloon ? NOTIFYICONDATAW_V2_SIZE : NOTIFYICONDATAW_V1_SIZE;
    return WIDE("shell32.dll", Shell_NotifyIconW)(message, &record);
  }
  NOTIFYICONDATAA record = Filled<NOTIFYICONDATAA>(data, withBalloon);
  record.cbSize = withBalloon ? NOTIFYICONDATAA_V2_SIZE : NOTIFYICONDATAA_V1_SIZE;
  return Resolve<decltype(&::Shell_NotifyIconA)>("shell32.dll", "Shell_NotifyIconA")(message, &record);
}

std::intptr_t Shell32::ShellExecuteA(HWnd window, const std::string& verb, const std::string& file,
                                     const std::string& parameters, const std::string& directory,
                                     std::int32_t showCommand) {
  HWND owner = reinterpret_cast<HWND>(window);
  HINSTANCE result;
  if (boundary::WideApi()) {
    const std::wstring texts[] = {Wide(verb), Wide(file), Wide(parameters), Wide(directory)};
    auto text = [](const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); };
    result = WIDE("shell32.dll", ShellExecuteW)(owner, text(texts[0]), texts[1].c_str(), text(texts[2]),
                                                 text(texts[3]), showCommand);
  } else {
    const std::string texts[] = {Ansi(verb), Ansi(file), Ansi(parameters), Ansi(directory)};
    auto text = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
    result = Resolve<decltype(&::ShellExecuteA)>("shell32.dll", "ShellExecuteA")(owner, text(texts[0]), texts[1].c_str(),
                                                                                 text(texts[2]), text(texts[3]), showCommand);
  }
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace os::win32
