// The fake powrprof: scripted answers about hibernation and stand-by, and about suspending.
#pragma once

#include <deque>

#include "os/Powrprof.h"
#include "os/fake/Kernel32.h"
#include "os/fake/Library.h"

namespace os::fake {

namespace powrprof {
using fake::operator<<;

struct IsPwrHibernateAllowed {
  static constexpr std::string_view kName = "IsPwrHibernateAllowed";
  bool operator==(const IsPwrHibernateAllowed&) const = default;
};
struct IsPwrSuspendAllowed {
  static constexpr std::string_view kName = "IsPwrSuspendAllowed";
  bool operator==(const IsPwrSuspendAllowed&) const = default;
};

struct SetSuspendState {
  static constexpr std::string_view kName = "SetSuspendState";
  std::uint8_t hibernate;
  std::uint8_t forceCritical;
  std::uint8_t disableWakeEvent;
  bool operator==(const SetSuspendState&) const = default;
};

}  // namespace powrprof

class Powrprof : public os::Powrprof, public Library {
 public:
  Powrprof(CallLog& log, Kernel32& kernel32) : Library(log), kernel32_(kernel32) {}

  // A queue of answers is used up first, then the standing answer applies.
  std::uint8_t hibernateAllowed = 1;
  std::deque<std::uint8_t> hibernateAnswers;
  std::uint8_t suspendAllowed = 1;
  // What suspending answers; a refusal (0) leaves this error for GetLastError.
  std::uint8_t suspendResult = 1;
  std::uint32_t refusalError = 50;  // ERROR_NOT_SUPPORTED

  std::uint8_t IsPwrHibernateAllowed() override;
  std::uint8_t IsPwrSuspendAllowed() override;
  std::uint8_t SetSuspendState(std::uint8_t hibernate, std::uint8_t forceCritical,
                               std::uint8_t disableWakeEvent) override;

 private:
  Kernel32& kernel32_;
};

}  // namespace os::fake
