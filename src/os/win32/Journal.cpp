#include "os/win32/Journal.h"

#include <windows.h>

#include <cstdio>

namespace os::win32 {
namespace {

constexpr const wchar_t* kJournalName = L"quenlar-journal.txt";

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Result(std::int64_t value) { return " = " + std::to_string(value); }

}  // namespace

Journal::Journal() {
  // Long enough for any path Windows gives a program; the name then replaces the program's own.
  std::wstring module(32768, L'\0');
  DWORD length = ::GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
  module.resize(length);
  path_ = module.substr(0, module.find_last_of(L"\\/") + 1) + kJournalName;
}

void Journal::Write(const std::string& line) {
  HANDLE file = ::CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
}

std::int32_t JournalUser32::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
  journal_.Write("ExitWindowsEx(" + std::to_string(flags) + ", " + std::to_string(reserved) + ")");
  return 1;
}

std::int32_t JournalUser32::LockWorkStation() {
  journal_.Write("LockWorkStation()");
  return 1;
}

std::intptr_t JournalUser32::DefWindowProcA(HWnd window, std::uint32_t msg, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
  if (msg != kWmSysCommand || (wParam & 0xFFF0) != kScMonitorPower) return User32::DefWindowProcA(window, msg, wParam, lParam);
  journal_.Write("DefWindowProcA(WM_SYSCOMMAND, SC_MONITORPOWER, " + std::to_string(lParam) + ")");
  return 0;
}

std::uint8_t JournalPowrprof::SetSuspendState(std::uint8_t hibernate, std::uint8_t forceCritical,
                                              std::uint8_t disableWakeEvent) {
  journal_.Write("SetSuspendState(" + std::to_string(hibernate) + ", " + std::to_string(forceCritical) + ", " +
                 std::to_string(disableWakeEvent) + ")");
  return 1;
}

std::intptr_t JournalShell32::ShellExecuteA(HWnd window, const std::string& verb, const std::string& file,
                                            const std::string& parameters, const std::string& directory,
                                            std::int32_t showCommand) {
  journal_.Write("ShellExecuteA(" + std::to_string(window) + ", " + Quoted(verb) + ", " + Quoted(file) + ", " +
                 Quoted(parameters) + ", " + Quoted(directory) + ", " + std::to_string(showCommand) + ")");
  return 42;  // above 32: started
}

std::int32_t JournalAdvapi32::OpenProcessToken(Handle processHandle, std::uint32_t desiredAccess,
                                               Handle& tokenHandle) {
  std::int32_t ok = Advapi32::OpenProcessToken(processHandle, desiredAccess, tokenHandle);
  journal_.Write("OpenProcessToken(" + Hex(desiredAccess) + ")" + Result(ok));
  return ok;
}

std::int32_t JournalAdvapi32::LookupPrivilegeValueA(const std::string& systemName, const std::string& name,
                                                    Luid& luid) {
  std::int32_t ok = Advapi32::LookupPrivilegeValueA(systemName, name, luid);
  if (ok) names_[{luid.LowPart, luid.HighPart}] = name;
  journal_.Write("LookupPrivilegeValueA(" + Quoted(systemName) + ", " + Quoted(name) + ")" + Result(ok));
  return ok;
}

std::int32_t JournalAdvapi32::AdjustTokenPrivileges(Handle tokenHandle, bool disableAllPrivileges,
                                                    const TokenPrivileges& newState, std::uint32_t bufferLength,
                                                    TokenPrivileges& previousState, std::uint32_t& returnLength) {
  std::int32_t ok = Advapi32::AdjustTokenPrivileges(tokenHandle, disableAllPrivileges, newState, bufferLength,
                                                    previousState, returnLength);
  std::string what;
  for (std::uint32_t i = 0; i < newState.PrivilegeCount && i < newState.Privileges.size(); ++i) {
    const LuidAndAttributes& privilege = newState.Privileges[i];
    auto named = names_.find({privilege.Luid.LowPart, privilege.Luid.HighPart});
    what += named != names_.end() ? named->second : "LUID " + Hex(privilege.Luid.LowPart);
    what += privilege.Attributes & kSePrivilegeEnabled ? " on" : " off";
  }
  journal_.Write("AdjustTokenPrivileges(" + std::string(disableAllPrivileges ? "all off" : what) + ")" + Result(ok));
  return ok;
}

}  // namespace os::win32
