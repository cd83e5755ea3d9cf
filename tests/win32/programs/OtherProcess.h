// Reading another program's common controls: their messages are not carried between
// processes, so what they fill must lie in the control's own process. Shared by the end-to-end
// driver and the Windows tests, which read explorer.exe's balloons the same way.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace other_process {

// The driver's texts are UTF-8, as it takes them on its command line and prints them; the
// windows' are UTF-16.
inline std::wstring Wide(const std::string& utf8) {
  int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

inline std::string Utf8(const std::wstring& wide) {
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

inline std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Memory inside another program, for the common controls' messages: they are not carried
// between processes, so a pointer sent with them must be an address in the control's own
// process (one of the driver's would be written into the program's memory as it stands).
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, std::size_t size) : size_(size) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                           FALSE, id);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool Ready() const { return address_ != nullptr; }
  char* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
  LPARAM Param() const { return reinterpret_cast<LPARAM>(address_); }
  bool Write(std::size_t offset, const void* data, std::size_t size) const {
    return WriteProcessMemory(process_, At(offset), data, size, nullptr) != FALSE;
  }
  bool Read(std::size_t offset, void* data, std::size_t size) const {
    return ReadProcessMemory(process_, At(offset), data, size, nullptr) != FALSE;
  }
  // The UTF-16 text at the offset, up to its NUL or the end of the buffer, in UTF-8.
  std::string Text(std::size_t offset) const {
    std::wstring text((size_ - offset) / sizeof(wchar_t), L'\0');
    if (!Read(offset, text.data(), text.size() * sizeof(wchar_t))) return "";
    text.resize(std::wcslen(text.c_str()));
    return Utf8(text);
  }

 private:
  std::size_t size_;
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

// The tools of a tooltip window, as TTM_ENUMTOOLSW gives them, with their texts in UTF-8. Not TTM_ENUMTOOLSA: Wine's comctl32 copies at most 79 characters of a tip into an
// ANSI record, and a tip holding a path is often longer. The record is written into the
// tooltip's process with the driver's own layout: the driver and the program are always built
// for one edition, and each edition runs in a prefix of its own, so the record a 64-bit driver
// writes is the one a 64-bit program, or that prefix's 64-bit explorer.exe (which owns the tray
// icons' tooltips), reads.
struct Tool {
  HWND window;
  std::string text;
};

inline std::vector<Tool> ToolsOf(HWND tooltip) {
  std::vector<Tool> tools;
  constexpr std::size_t kTextSize = 4096;  // bytes, for a text of up to 2047 characters
  RemoteBuffer remote(tooltip, sizeof(TOOLINFOW) + kTextSize);
  if (!remote.Ready()) return tools;
  auto count = static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    auto* text = reinterpret_cast<wchar_t*>(remote.At(sizeof info));
    info.lpszText = text;
    const wchar_t none = L'\0';
    if (!remote.Write(0, &info, sizeof info) || !remote.Write(sizeof info, &none, sizeof none)) break;
    if (!SendMessageA(tooltip, TTM_ENUMTOOLSW, i, remote.Param()) || !remote.Read(0, &info, sizeof info)) continue;
    // A text asked for when shown (LPSTR_TEXTCALLBACK) or a resource leaves no text here.
    std::wstring wide(kTextSize / sizeof(wchar_t), L'\0');
    if (info.lpszText != text || !remote.Read(sizeof info, wide.data(), kTextSize - sizeof(wchar_t))) wide.clear();
    wide.resize(std::wcslen(wide.c_str()));
    tools.push_back({info.hwnd, Utf8(wide)});
  }
  return tools;
}

inline BOOL CALLBACK CollectToolTip(HWND window, LPARAM data) {
  if (ClassOf(window) == TOOLTIPS_CLASSA) reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

inline std::vector<HWND> ToolTips() {
  std::vector<HWND> all;
  EnumWindows(CollectToolTip, reinterpret_cast<LPARAM>(&all));
  return all;
}

// A balloon the shell shows over a notification-area icon: under Wine a tracking tooltip of
// balloon style that explorer.exe makes for it and destroys when it goes. Its one tool holds
// the text; the title is the tooltip's own (TTM_GETTITLE, in the tooltip's process too), which
// Wine 8's tooltip draws but does not answer: read there, it is empty.
struct Balloon {
  std::string title;
  std::string text;
};

inline std::string TitleOf(HWND tooltip) {
  constexpr UINT kTitleChars = 128;
  RemoteBuffer remote(tooltip, sizeof(TTGETTITLE) + kTitleChars * sizeof(wchar_t));
  if (!remote.Ready()) return "";
  TTGETTITLE ask{};
  ask.dwSize = sizeof ask;
  ask.cch = kTitleChars;
  ask.pszTitle = reinterpret_cast<wchar_t*>(remote.At(sizeof ask));
  const wchar_t none = L'\0';
  if (!remote.Write(0, &ask, sizeof ask) || !remote.Write(sizeof ask, &none, sizeof none)) return "";
  SendMessageA(tooltip, TTM_GETTITLE, 0, remote.Param());
  std::wstring wide(kTitleChars, L'\0');
  if (!remote.Read(sizeof ask, wide.data(), (kTitleChars - 1) * sizeof(wchar_t))) return "";
  wide.resize(std::wcslen(wide.c_str()));
  return Utf8(wide);
}

inline std::vector<Balloon> BalloonsShown() {
  std::vector<Balloon> balloons;
  for (HWND tooltip : ToolTips()) {
    if (!IsWindowVisible(tooltip) || !(GetWindowLongA(tooltip, GWL_STYLE) & TTS_BALLOON)) continue;
    Balloon balloon{TitleOf(tooltip), ""};
    for (const Tool& tool : ToolsOf(tooltip))
      if (!tool.text.empty()) balloon.text = tool.text;
    balloons.push_back(balloon);
  }
  return balloons;
}

}  // namespace other_process
