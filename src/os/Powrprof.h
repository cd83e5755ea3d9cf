// powrprof: what the system's power management allows. Systems without the library (Windows 95,
// NT 4.0) raise a run-time error at the call.
#pragma once

#include <cstdint>

namespace os {

class Powrprof {
 public:
  virtual ~Powrprof() = default;
  virtual std::uint8_t IsPwrHibernateAllowed() = 0;
  virtual std::uint8_t IsPwrSuspendAllowed() = 0;
};

}  // namespace os
