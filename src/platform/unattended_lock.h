#pragma once

#include "base/text.h"

namespace px {

// One unattended run at a time: a deployment tool that starts the installer twice gets the
// second run turned away.
class UnattendedLock {
 public:
  enum class Claim {
    kTaken,    // this run holds the lock until the object is destroyed
    kRunning,  // another run holds it
    kNone,     // no lock can be made: the run goes on without one
  };

  virtual ~UnattendedLock() = default;
  virtual Claim Take() = 0;
  // After kNone: the call that refused to make the lock, and its code; empty where this system
  // has no lock to make (no private namespaces, an account that is not an administrator).
  virtual Text Refusal() const { return {}; }
};

}  // namespace px
