// powrprof: what the system's power management allows, and suspending the computer. Systems
// without the library (Windows 95, NT 4.0) raise a run-time error at the call.
#pragma once

#include <cstdint>

namespace os {

class Powrprof {
 public:
  virtual ~Powrprof() = default;
  virtual std::uint8_t IsPwrHibernateAllowed() = 0;
  virtual std::uint8_t IsPwrSuspendAllowed() = 0;
  // Hibernates (nonzero) or stands by (0); nonzero on success.
  virtual std::uint8_t SetSuspendState(std::uint8_t hibernate, std::uint8_t forceCritical,
                                       std::uint8_t disableWakeEvent) = 0;
};

}  // namespace os
