#pragma once

#include "platform/processes.h"

namespace px::win32 {

// CreateProcessW with a show state; the process is never waited for. The executable is named
// absolutely (ApplicationPathFor: from the system folder, rundll32 the native one under WOW64),
// the command line is passed exactly as it was built, and the process starts in the system
// folder with the system's minimal environment (ChildEnvironment), not the installer's.
class Win32Processes : public Processes {
 public:
  Expected<std::unique_ptr<Process>> Start(const Text& command_line, ShowState show) override;
};

}  // namespace px::win32
