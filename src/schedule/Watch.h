// A trigger armed: asked on every tick of the schedule's timer whether it has fired.
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
};

// Arms a trigger. A trigger that cannot be armed (what it waits for is not there) gives no
// watch and the reason in `refusal`.
std::unique_ptr<Watch> Arm(const Trigger& trigger, const os::Services& os, std::string& refusal);

}  // namespace schedule
