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

std::uint8_t Powrprof::SetSuspendState(std::uint8_t hibernate, std::uint8_t forceCritical,
                                       std::uint8_t disableWakeEvent) {
  Log(powrprof::SetSuspendState{hibernate, forceCritical, disableWakeEvent});
  if (suspendResult == 0) kernel32_.SetLastErrorCode(refusalError);
  return suspendResult;
}

}  // namespace os::fake
