#include "os/fake/Powrprof.h"

namespace os::fake {

std::uint8_t Powrprof::IsPwrHibernateAllowed() {
  Log(powrprof::IsPwrHibernateAllowed{});
  if (hibernateAnswers.empty()) return hibernateAllowed;
  std::uint8_t answer = hibernateAnswers.front();
  hibernateAnswers.pop_front();
  return answer;
}

std::uint8_t Powrprof::IsPwrSuspendAllowed() {
  Log(powrprof::IsPwrSuspendAllowed{});
  return suspendAllowed;
}

}  // namespace os::fake
