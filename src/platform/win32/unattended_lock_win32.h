#pragma once

#include <functional>

#include "base/text.h"
#include "base/win32/unique_handle.h"
#include "platform/unattended_lock.h"

namespace px::win32 {

// One unattended run at a time. The lock is a mutex in a private namespace whose boundary is
// the Administrators group, so a standard user can neither make its name first nor hold it: a
// name in Global\ could be taken by anyone, with a DACL that turns every later run away. The
// namespace functions are looked up at run time (Wine 8 has none of them); where they are
// missing or fail, the lock is a file held open without sharing in the installer's own
// protected folder.
class Win32UnattendedLock : public UnattendedLock {
 public:
  // lock_folder: the protected folder for the lock file, asked for only when needed; empty
  // when there is none.
  explicit Win32UnattendedLock(std::function<Text()> lock_folder)
      : lock_folder_(std::move(lock_folder)) {}
  ~Win32UnattendedLock() override;
  Win32UnattendedLock(const Win32UnattendedLock&) = delete;
  Win32UnattendedLock& operator=(const Win32UnattendedLock&) = delete;

  Claim Take() override;
  Text Refusal() const override { return refusal_; }

 private:
  Claim TakeInNamespace(bool& tried);
  Claim TakeFile(const Text& folder);

  std::function<Text()> lock_folder_;
  HANDLE namespace_ = nullptr;
  UniqueKernelHandle held_;
  Text refusal_;
};

}  // namespace px::win32
