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

std::uint8_t Powrprof::SetSuspendState(std::uint8_t hibernate, std::uint8_t forceCritical,
                                       std::uint8_t disableWakeEvent) {
  using Function = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
  return Resolve<Function>("powrprof.dll", "SetSuspendState")(hibernate, forceCritical, disableWakeEvent);
}

}  // namespace os::win32
