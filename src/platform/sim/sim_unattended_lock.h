#pragma once

#include "platform/sim/fault_plan.h"
#include "platform/unattended_lock.h"

namespace px::sim {

// The unattended runs' lock on the simulated PC, where one run happens at a time: it is always
// free, unless the machine's faults refuse to make it.
class SimUnattendedLock : public UnattendedLock, public FaultHook {
 public:
  Claim Take() override {
    if (const std::uint32_t error = Injected("CreateMutex")) {
      refusal_ = PlannedError(u"CreateMutexW", error).text;
      return Claim::kNone;
    }
    return Claim::kTaken;
  }
  Text Refusal() const override { return refusal_; }

 private:
  Text refusal_;
};

}  // namespace px::sim
