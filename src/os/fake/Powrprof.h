// The fake powrprof: scripted answers about hibernation and stand-by.
#pragma once

#include <deque>

#include "os/Powrprof.h"
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

}  // namespace powrprof

class Powrprof : public os::Powrprof, public Library {
 public:
  explicit Powrprof(CallLog& log) : Library(log) {}

  // A queue of answers is used up first, then the standing answer applies.
  std::uint8_t hibernateAllowed = 1;
  std::deque<std::uint8_t> hibernateAnswers;
  std::uint8_t suspendAllowed = 1;

  std::uint8_t IsPwrHibernateAllowed() override;
  std::uint8_t IsPwrSuspendAllowed() override;
};

}  // namespace os::fake
