// The fake operating system for tests: one fake per library, all appending to one call log.
//
//   os::fake::FakeServices fake{clock};
//   fake.powrprof.suspendAllowed = 0;
//   session::ProgramState state{fake.Services()};
#pragma once

#include "os/Services.h"
#include "os/fake/Advapi32.h"
#include "os/fake/CallLog.h"
#include "os/fake/Comctl32.h"
#include "os/fake/Comdlg32.h"
#include "os/fake/Files.h"
#include "os/fake/Iphlpapi.h"
#include "os/fake/Kernel32.h"
#include "os/fake/PortIo.h"
#include "os/fake/Powrprof.h"
#include "os/fake/Quartz.h"
#include "os/fake/Shell32.h"
#include "os/fake/User32.h"
#include "os/fake/VirtualClock.h"
#include "os/fake/Wininet.h"

namespace os::fake {

class FakeServices {
  VirtualClock& clock_;  // first: the fakes below that keep time take it

 public:
  explicit FakeServices(VirtualClock& clock) : clock_(clock), kernel32(log, clock) {}
  FakeServices(const FakeServices&) = delete;
  FakeServices& operator=(const FakeServices&) = delete;

  CallLog log;
  Kernel32 kernel32;
  User32 user32{log, kernel32};
  Advapi32 advapi32{log, kernel32};
  Shell32 shell32{log};
  Comctl32 comctl32{log};
  Powrprof powrprof{log, kernel32};
  Comdlg32 comdlg32{log, user32};
  Files files{log};
  Quartz quartz{log};
  Wininet wininet{log, clock_};
  PortIo portio{log};
  Iphlpapi iphlpapi{log, kernel32};

  os::Services Services() { return os::ServicesOf(*this); }
};

}  // namespace os::fake
