#include "os/win32/Powrprof.h"

#include <windows.h>

#include "os/win32/SystemLibrary.h"

namespace os::win32 {

std::uint8_t Powrprof::IsPwrHibernateAllowed() {
  using Function = BOOLEAN(WINAPI*)();
  return Resolve<Function>("powrprof.dll", "IsPwrHibernateAllowed")();
}

std::uint8_t Powrprof::IsPwrSuspendAllowed() {
  using Function = BOOLEAN(WINAPI*)();
  return Resolve<Function>("powrprof.dll", "IsPwrSuspendAllowed")();
}

}  // namespace os::win32
