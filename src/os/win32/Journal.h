// Services for the end-to-end runs of the program: the requests that would end the session,
// suspend or lock the computer, turn the display off, or start a program or a web page are written to a journal
// instead of being carried out, and report success. Switching the shutdown privilege is
// journaled too, and still done; the registry is written as ever. Only the journal edition of
// the program (quenlar-journal.exe, built with QUENLAR_JOURNAL) uses them; quenlar.exe never
// does.
#pragma once

#include <map>
#include <string>

#include "os/win32/RealServices.h"

namespace os::win32 {

// Appends one line (CR LF added) to the journal file; the file is opened and closed for each
// line, so that another program can read it at any moment.
class Journal {
 public:
  // The journal "quenlar-journal.txt" beside the running program.
  Journal();
  void Write(const std::string& line);

 private:
  std::wstring path_;  // wide, so that a folder outside the ANSI code page still has one
};

class JournalUser32 : public User32 {
 public:
  explicit JournalUser32(Journal& journal) : journal_(journal) {}
  std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
  std::int32_t LockWorkStation() override;
  // The display's turning off is journaled and not done; any other message goes to Windows.
  std::intptr_t DefWindowProcA(HWnd window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  Journal& journal_;
};

class JournalPowrprof : public Powrprof {
 public:
  explicit JournalPowrprof(Journal& journal) : journal_(journal) {}
  std::uint8_t SetSuspendState(std::uint8_t hibernate, std::uint8_t forceCritical,
                               std::uint8_t disableWakeEvent) override;

 private:
  Journal& journal_;
};

class JournalShell32 : public Shell32 {
 public:
  explicit JournalShell32(Journal& journal) : journal_(journal) {}
  std::intptr_t ShellExecuteA(HWnd window, const std::string& verb, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              std::int32_t showCommand) override;

 private:
  Journal& journal_;
};

// The privilege calls are made, and each is journaled with its result; the privilege is named
// as it was looked up. The registry calls are the real ones, not journaled: Start with Windows
// writes the user's own Run key, which the end-to-end runs read back with `reg query`.
class JournalAdvapi32 : public Advapi32 {
 public:
  explicit JournalAdvapi32(Journal& journal) : journal_(journal) {}
  std::int32_t OpenProcessToken(Handle processHandle, std::uint32_t desiredAccess, Handle& tokenHandle) override;
  std::int32_t LookupPrivilegeValueA(const std::string& systemName, const std::string& name, Luid& luid) override;
  std::int32_t AdjustTokenPrivileges(Handle tokenHandle, bool disableAllPrivileges, const TokenPrivileges& newState,
                                     std::uint32_t bufferLength, TokenPrivileges& previousState,
                                     std::uint32_t& returnLength) override;

 private:
  Journal& journal_;
  std::map<std::pair<std::uint32_t, std::int32_t>, std::string> names_;
};

// The real services with the four above in place of their own.
class JournalServices : public RealServices {
 public:
  os::Services Services() {
    return os::ServicesOf(*this, {.user32 = &journalUser32, .advapi32 = &journalAdvapi32,
                                  .shell32 = &journalShell32, .powrprof = &journalPowrprof});
  }

  Journal journal;
  JournalUser32 journalUser32{journal};
  JournalAdvapi32 journalAdvapi32{journal};
  JournalShell32 journalShell32{journal};
  JournalPowrprof journalPowrprof{journal};
};

}  // namespace os::win32
