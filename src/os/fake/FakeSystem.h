// A recording simulator of the operating system for tests. Every call is logged with its
// arguments, in order ("CreateMutexA(false, Local\Quenlar)"); results come from the fields
// below; a call named in ThrowOn raises a run-time error instead.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "os/Api.h"
#include "os/fake/VirtualClock.h"

namespace os::fake {

class FakeSystem : public Kernel32, public User32, public Shell32, public Comctl32, public Powrprof, public Comdlg32, public Files {
 public:
  explicit FakeSystem(VirtualClock& clock);
  System Services() { return System{*this, *this, *this, *this, *this, *this, *this}; }

  // ---- what the fake answers
  std::vector<std::string> calls;
  std::set<std::string> throwOn;

  OsVersionInfo version;            // Windows 7 (NT 6.1) unless changed
  bool otherInstanceRunning = false;
  // Mutex names the system refuses, with the error it gives (the handle is then 0).
  std::map<std::string, std::uint32_t> mutexErrors;
  std::string moduleFileName = "C:\\Program Files\\Quenlar\\quenlar.exe";
  std::map<std::string, std::string> files;  // path -> contents
  std::set<std::string> unwritable;          // paths whose replacement fails
  std::set<std::string> folders;
  std::array<std::string, 12> monthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::string am = "AM", pm = "PM";

  // Power-management answers; a queue is used up first, then the standing answer applies.
  std::uint8_t hibernateAllowed = 1;
  std::deque<std::uint8_t> hibernateAnswers;
  std::uint8_t suspendAllowed = 1;

  // Processes started by CreateProcessA: whether starting works, and how many waits pass
  // before the process ends with its exit code. A hook runs when a process ends.
  bool processStarts = true;
  int processRunsForWaits = 1;
  std::uint32_t processExitCode = 0;
  std::function<void(const std::string& commandLine)> OnProcessEnded;
  // Runs at every wait for a process, before it returns: what happens meanwhile.
  std::function<void()> OnWait;

  // The file-open dialog: the next answers, in order; an empty queue cancels.
  struct DialogAnswer {
    std::string folder;  // with its trailing "\"
    std::string file;
  };
  std::deque<DialogAnswer> dialogAnswers;
  std::vector<OpenFileName> dialogsShown;

  // The notification area: the records of the icons shown, by window and id.
  std::map<std::pair<HWnd, std::uint32_t>, NotifyIconData> trayIcons;
  std::vector<NotifyIconData> trayRecords;  // every record passed, in order

  // ---- Kernel32
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
  // ---- User32
  std::int32_t SetForegroundWindow(HWnd window) override;
  std::string CharUpperBuffA(const std::string& text) override;  // the Western European rules
  std::uint32_t MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                          std::uint32_t milliseconds, std::uint32_t wakeMask) override;
  // ---- Shell32
  std::int32_t Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) override;
  // ---- Comctl32
  void InitCommonControls() override;
  // ---- Powrprof
  std::uint8_t IsPwrHibernateAllowed() override;
  std::uint8_t IsPwrSuspendAllowed() override;
  // ---- Comdlg32
  std::int32_t GetOpenFileNameA(OpenFileName& ofn) override;
  // ---- Files
  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool ReplaceFileContents(const std::string& path, const std::string& contents) override;

  // Handles still open (not closed with CloseHandle), for leak checks.
  std::size_t OpenHandles() const { return open_.size(); }
  std::size_t CountCalls(const std::string& prefix) const;

 private:
  void Record(const std::string& call);
  Handle NewHandle();

  VirtualClock& clock_;
  std::uint32_t lastError_ = 0;
  Handle nextHandle_ = 0x100;
  std::set<Handle> open_;
  struct Process {
    std::string commandLine;
    int waitsLeft;
    std::uint32_t exitCode;
  };
  std::map<std::uint32_t, Process> processes_;  // by id
  std::map<Handle, std::uint32_t> processHandles_;
  std::uint32_t nextProcessId_ = 4000;
};

}  // namespace os::fake
