// The real operating system: one service per library, as WinMain gives them to the program.
#pragma once

#include "os/Services.h"
#include "os/win32/Advapi32.h"
#include "os/win32/Comctl32.h"
#include "os/win32/Comdlg32.h"
#include "os/win32/Files.h"
#include "os/win32/Iphlpapi.h"
#include "os/win32/Kernel32.h"
#include "os/win32/PortIo.h"
#include "os/win32/Powrprof.h"
#include "os/win32/Quartz.h"
#include "os/win32/Shell32.h"
#include "os/win32/User32.h"
#include "os/win32/Wininet.h"

namespace os::win32 {

class RealServices {
 public:
  Kernel32 kernel32;
  User32 user32;
  Advapi32 advapi32;
  Shell32 shell32;
  Comctl32 comctl32;
  Powrprof powrprof;
  Comdlg32 comdlg32;
  Files files;
  Quartz quartz;
  Wininet wininet;
  PortIo portio;
  Iphlpapi iphlpapi;

  os::Services Services() { return os::ServicesOf(*this); }
};

}  // namespace os::win32
