#include "schedule/Watch.h"

namespace schedule {
namespace {

// A moment fires at the first look at which the present second is not before it: a clock put
// forward past it fires at once, one put back waits for it.
class MomentWatch : public Watch {
 public:
  MomentWatch(base::LocalTime moment, os::Kernel32& kernel32) : moment_(moment), kernel32_(kernel32) {}
  bool Fired() override { return !(moment_ > kernel32_.GetLocalTime()); }

 private:
  base::LocalTime moment_;
  os::Kernel32& kernel32_;
};

}  // namespace

std::unique_ptr<Watch> Arm(const Trigger& trigger, const os::Services& os, std::string& /*refusal*/) {
  switch (trigger.kind) {
    case Trigger::Kind::Moment:
      return std::make_unique<MomentWatch>(trigger.moment, os.kernel32);
  }
  return nullptr;
}

}  // namespace schedule
