#include "os/fake/FakeSystem.h"

#include <cstdio>

#include "base/Convert.h"
#include "base/RuntimeError.h"

namespace os::fake {
namespace {

std::string Quote(bool v) { return v ? "true" : "false"; }
std::string Hex(std::uint32_t v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%X", v);
  return buffer;
}

}  // namespace

FakeSystem::FakeSystem(VirtualClock& clock) : clock_(clock) {
  version.dwMajorVersion = 6;
  version.dwMinorVersion = 1;
  version.dwBuildNumber = 7601;
  version.dwPlatformId = 2;
  version.szCSDVersion = "Service Pack 1";
}

void FakeSystem::Record(const std::string& call) {
  calls.push_back(call);
  std::string name = call.substr(0, call.find('('));
  if (throwOn.count(name)) throw base::RuntimeError(base::kFunctionNotAvailable, "Can't find DLL entry point " + name);
}

std::size_t FakeSystem::CountCalls(const std::string& prefix) const {
  std::size_t n = 0;
  for (const auto& call : calls)
    if (call.rfind(prefix, 0) == 0) ++n;
  return n;
}

Handle FakeSystem::NewHandle() {
  Handle h = nextHandle_;
  nextHandle_ += 4;
  open_.insert(h);
  return h;
}

std::int32_t FakeSystem::GetVersionExA(OsVersionInfo& info) {
  Record("GetVersionExA(" + std::to_string(info.dwOSVersionInfoSize) + ")");
  if (info.dwOSVersionInfoSize != 148) return 0;
  info = version;
  return 1;
}

Handle FakeSystem::CreateMutexA(bool initialOwner, const std::string& name) {
  Record("CreateMutexA(" + Quote(initialOwner) + ", " + name + ")");
  auto refused = mutexErrors.find(name);
  if (refused != mutexErrors.end()) {
    lastError_ = refused->second;
    return 0;
  }
  lastError_ = otherInstanceRunning ? kErrorAlreadyExists : 0;
  return NewHandle();
}

std::uint32_t FakeSystem::GetLastError() { return lastError_; }

std::string FakeSystem::GetModuleFileNameA() {
  Record("GetModuleFileNameA()");
  return moduleFileName;
}

std::uint32_t FakeSystem::GetFileAttributesA(const std::string& path) {
  Record("GetFileAttributesA(" + path + ")");
  if (files.count(path)) return 0x20;
  if (folders.count(path)) return kFileAttributeDirectory;
  return kInvalidFileAttributes;
}

std::string FakeSystem::GetLocaleInfoA(std::uint32_t locale, std::uint32_t lcType) {
  Record("GetLocaleInfoA(" + Hex(locale) + ", " + Hex(lcType) + ")");
  if (lcType >= kLocaleSAbbrevMonthName1 && lcType < kLocaleSAbbrevMonthName1 + 12)
    return monthNames[lcType - kLocaleSAbbrevMonthName1];
  if (lcType == kLocaleS1159) return am;
  if (lcType == kLocaleS2359) return pm;
  return {};
}

base::LocalTime FakeSystem::GetLocalTime() {
  if (throwOn.count("GetLocalTime")) Record("GetLocalTime()");
  return clock_.Now();
}

std::uint32_t FakeSystem::GetTickCount() { return static_cast<std::uint32_t>(clock_.ElapsedMs()); }

std::int32_t FakeSystem::CreateProcessA(const std::string& commandLine, std::uint16_t showWindow,
                                        ProcessInformation& information) {
  Record("CreateProcessA(" + commandLine + ", " + std::to_string(showWindow) + ")");
  if (!processStarts) {
    lastError_ = 2;  // ERROR_FILE_NOT_FOUND
    return 0;
  }
  std::uint32_t id = nextProcessId_++;
  processes_[id] = {commandLine, processRunsForWaits, processExitCode};
  information.dwProcessId = id;
  information.dwThreadId = id + 1;
  information.hProcess = NewHandle();
  information.hThread = NewHandle();
  processHandles_[information.hProcess] = id;
  return 1;
}

Handle FakeSystem::OpenProcess(std::uint32_t desiredAccess, bool inheritHandle, std::uint32_t processId) {
  Record("OpenProcess(" + Hex(desiredAccess) + ", " + Quote(inheritHandle) + ", " + std::to_string(processId) + ")");
  if (!processes_.count(processId)) return 0;
  Handle h = NewHandle();
  processHandles_[h] = processId;
  return h;
}

std::int32_t FakeSystem::GetExitCodeProcess(Handle process, std::uint32_t& exitCode) {
  Record("GetExitCodeProcess()");
  auto it = processHandles_.find(process);
  if (it == processHandles_.end() || !open_.count(process)) return 0;
  const Process& p = processes_.at(it->second);
  exitCode = p.waitsLeft > 0 ? kStillActive : p.exitCode;
  return 1;
}

std::int32_t FakeSystem::CloseHandle(Handle object) {
  Record("CloseHandle()");
  return open_.erase(object) ? 1 : 0;
}

std::uint32_t FakeSystem::MsgWaitForMultipleObjects(const std::vector<Handle>& handles, bool waitAll,
                                                    std::uint32_t milliseconds, std::uint32_t wakeMask) {
  Record("MsgWaitForMultipleObjects(" + std::to_string(handles.size()) + ", " + Quote(waitAll) + ", " +
         Hex(milliseconds) + ", " + Hex(wakeMask) + ")");
  if (OnWait) OnWait();
  for (std::size_t i = 0; i < handles.size(); ++i) {
    auto it = processHandles_.find(handles[i]);
    if (it == processHandles_.end() || !open_.count(handles[i])) return kWaitFailed;
    Process& p = processes_.at(it->second);
    if (p.waitsLeft > 0 && --p.waitsLeft == 0 && OnProcessEnded) OnProcessEnded(p.commandLine);
    if (p.waitsLeft == 0) return kWaitObject0 + static_cast<std::uint32_t>(i);
  }
  // The process still runs: a window message woke the wait.
  return kWaitObject0 + static_cast<std::uint32_t>(handles.size());
}

std::int32_t FakeSystem::SetForegroundWindow(HWnd window) {
  Record("SetForegroundWindow(" + Hex(static_cast<std::uint32_t>(window)) + ")");
  return 1;
}

std::int32_t FakeSystem::Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) {
  Record("Shell_NotifyIconA(" + std::to_string(message) + ")");
  trayRecords.push_back(data);
  auto key = std::make_pair(data.hWnd, data.uID);
  if (message == kNimAdd) return trayIcons.emplace(key, data).second ? 1 : 0;
  if (message == kNimDelete) return trayIcons.erase(key) ? 1 : 0;
  return 0;
}

std::string FakeSystem::CharUpperBuffA(const std::string& text) { return base::UCase(text); }

void FakeSystem::InitCommonControls() { Record("InitCommonControls()"); }

std::uint8_t FakeSystem::IsPwrHibernateAllowed() {
  Record("IsPwrHibernateAllowed()");
  if (!hibernateAnswers.empty()) {
    std::uint8_t answer = hibernateAnswers.front();
    hibernateAnswers.pop_front();
    return answer;
  }
  return hibernateAllowed;
}

std::uint8_t FakeSystem::IsPwrSuspendAllowed() {
  Record("IsPwrSuspendAllowed()");
  return suspendAllowed;
}

std::int32_t FakeSystem::GetOpenFileNameA(OpenFileName& ofn) {
  Record("GetOpenFileNameA(" + ofn.lpstrTitle + ")");
  dialogsShown.push_back(ofn);
  if (dialogAnswers.empty()) return 0;
  DialogAnswer answer = dialogAnswers.front();
  dialogAnswers.pop_front();
  ofn.lpstrFile = answer.folder + answer.file + std::string(1, '\0');
  ofn.nFileOffset = static_cast<std::uint16_t>(answer.folder.size());
  ofn.lpstrFileTitle = answer.file;
  return 1;
}

bool FakeSystem::FileExists(const std::string& path) {
  Record("FileExists(" + path + ")");
  return files.count(path) != 0;
}

std::optional<std::string> FakeSystem::ReadFile(const std::string& path) {
  Record("ReadFile(" + path + ")");
  auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

bool FakeSystem::ReplaceFileContents(const std::string& path, const std::string& contents) {
  Record("ReplaceFileContents(" + path + ")");
  if (unwritable.count(path)) return false;
  files[path] = contents;
  return true;
}

}  // namespace os::fake
