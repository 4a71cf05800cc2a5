#include "app/exit_codes.h"

namespace px {

TextView ExitCodeMeaning(ExitCode code) {
  switch (code) {
    case ExitCode::kRegistered:
      return u"the printer is registered on its port";
    case ExitCode::kNoPrinter:
      return u"no supported printer within the wait";
    case ExitCode::kPackageMissing:
      return u"the driver package is missing";
    case ExitCode::kNotRegistered:
      return u"the installation ended but the printer is not registered";
    case ExitCode::kTimedOut:
      return u"the installation timed out";
    case ExitCode::kSystemError:
      return u"a system call failed";
    case ExitCode::kBadCommandLine:
      return u"the command line is not understood";
    case ExitCode::kAlreadyRunning:
      return u"another unattended run is in progress";
    case ExitCode::kBlockedByPolicy:
      return u"Windows' policy refuses the printer's driver";
  }
  return u"";
}

}  // namespace px
