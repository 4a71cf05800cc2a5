#pragma once

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
};

}  // namespace px
