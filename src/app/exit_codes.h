#pragma once

#include <cstdint>

#include "base/text.h"

namespace px {

// How a run ended, as the program's exit code: documented numbers an administrator's
// deployment tool can branch on, borrowed from Windows where one fits.
enum class ExitCode : std::uint32_t {
  kRegistered = 0,          // the printer is registered on its port (or the user closed the window)
  kNoPrinter = 2,           // unattended: no supported printer within the wait
  kPackageMissing = 3,      // the driver package is not beside the program
  kNotRegistered = 4,       // the installation ended, but the printer is not registered
  kTimedOut = 5,            // the installation was still running after two minutes
  kSystemError = 6,         // a system call failed (WMI, starting a process)
  kBadCommandLine = 87,     // ERROR_INVALID_PARAMETER
  kAlreadyRunning = 1618,   // ERROR_INSTALL_ALREADY_RUNNING: another unattended run
  kBlockedByPolicy = 1625,  // ERROR_INSTALL_PACKAGE_REJECTED: Windows' policy refuses the driver
};

// Every code a run may end with, as the README documents them.
inline constexpr ExitCode kExitCodes[] = {
    ExitCode::kRegistered,     ExitCode::kNoPrinter,      ExitCode::kPackageMissing,
    ExitCode::kNotRegistered,  ExitCode::kTimedOut,       ExitCode::kSystemError,
    ExitCode::kBadCommandLine, ExitCode::kAlreadyRunning, ExitCode::kBlockedByPolicy};

// What the code means, in the log's words.
TextView ExitCodeMeaning(ExitCode code);

}  // namespace px
