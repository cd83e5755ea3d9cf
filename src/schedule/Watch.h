// A trigger armed: asked on every tick of the schedule's timer whether it has fired. A
// condition's watch samples what it watches at most once a second, on those same ticks.
#pragma once

#include <memory>
#include <string>

#include "os/Services.h"
#include "schedule/Trigger.h"

namespace schedule {

class Watch {
 public:
  virtual ~Watch() = default;
  // True once the trigger has fired (and from then on).
  virtual bool Fired() = 0;
  // How far a condition has come ("CPU below 10 % for 3 of 5 min"); empty for a moment.
  virtual std::string Progress() const { return ""; }
};

// Why this computer cannot watch a kind of trigger (the function it needs is missing), or
// empty when it can.
std::string WhyNotWatched(Trigger::Kind kind, const os::Services& os);

// Arms a trigger. A trigger that cannot be armed (this computer cannot watch it, the program is
// not running) gives no watch and the reason in `refusal`.
std::unique_ptr<Watch> Arm(const Trigger& trigger, const os::Services& os, std::string& refusal);

}  // namespace schedule
