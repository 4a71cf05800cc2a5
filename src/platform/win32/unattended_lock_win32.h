#pragma once

#include <functional>

#include "base/text.h"
#include "base/win32/unique_handle.h"

namespace px::win32 {

// One unattended run at a time. The lock is a mutex in a private namespace whose boundary is
// the Administrators group, so a standard user can neither make its name first nor hold it: a
// name in Global\ could be taken by anyone, with a DACL that turns every later run away. The
// namespace functions are looked up at run time (Wine 8 has none of them); where they are
// missing or fail, the lock is a file held open without sharing in the installer's own
// protected folder.
class UnattendedLock {
 public:
  enum class Claim {
    kTaken,    // this run holds the lock until the object is destroyed
    kRunning,  // another run holds it
    kNone,     // no lock can be made: the run goes on without one
  };

  UnattendedLock() = default;
  ~UnattendedLock();
  UnattendedLock(const UnattendedLock&) = delete;
  UnattendedLock& operator=(const UnattendedLock&) = delete;

  // lock_folder: the protected folder for the lock file, asked for only when needed; empty
  // when there is none.
  Claim Take(const std::function<Text()>& lock_folder);

 private:
  Claim TakeInNamespace(bool& tried);
  Claim TakeFile(const Text& folder);

  HANDLE namespace_ = nullptr;
  UniqueKernelHandle held_;
};

}  // namespace px::win32
