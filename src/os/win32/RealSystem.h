// The real operating-system services. Functions that some supported Windows versions lack are
// looked up at run time, so the program loads everywhere and a missing one surfaces as a
// run-time error at the call.
#pragma once

#include "os/Api.h"

namespace os::win32 {

class RealSystem : public Kernel32, public User32, public Shell32, public Comctl32, public Powrprof, public Comdlg32, public Files {
 public:
  System Services() { return System{*this, *this, *this, *this, *this, *this, *this}; }

  std::int32_t GetVersionExA(OsVersionInfo& info) override;
  Handle CreateMutexA(bool initialOwner, const std::string& name) override;
  std::uint32_t GetLastError() override;
  std::string GetModuleFileNameA() override;
  std::uint32_t GetFileAttributesA(const std::string& path) override;
  std::string GetLocaleInfoA(std::uint32_t locale, std::uint32_t lcType) override;
  base::LocalTime GetLocalTime() override;
  std::uint32_t GetTickCount() override;
  std::int32_t CreateProcessA(const std::string& commandLine, std::uint16_t showWindow,
                              ProcessInformation& information) override;
  Handle OpenProcess(std::uint32_t desiredAccess, bool inheritHandle, std::uint32_t processId) override;
  std::int32_t GetExitCodeProcess(Handle process, std::uint32_t& exitCode) override;
  std::int32_t CloseHandle(Handle object) override;

  std::int32_t SetForegroundWindow(HWnd window) override;
  std::string CharUpperBuffA(const std::string& text) override;
  std::uint32_t MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                          std::uint32_t milliseconds, std::uint32_t wakeMask) override;

  std::int32_t Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) override;
  void InitCommonControls() override;
  std::uint8_t IsPwrHibernateAllowed() override;
  std::uint8_t IsPwrSuspendAllowed() override;
  std::int32_t GetOpenFileNameA(OpenFileName& ofn) override;

  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool ReplaceFileContents(const std::string& path, const std::string& contents) override;
};

}  // namespace os::win32
