// The real powrprof, looked up at run time: Windows 95 and NT 4.0 have no such library.
#pragma once

#include "os/Powrprof.h"

namespace os::win32 {

class Powrprof : public os::Powrprof {
 public:
  std::uint8_t IsPwrHibernateAllowed() override;
  std::uint8_t IsPwrSuspendAllowed() override;
  std::uint8_t SetSuspendState(std::uint8_t hibernate, std::uint8_t forceCritical,
                               std::uint8_t disableWakeEvent) override;
};

}  // namespace os::win32
