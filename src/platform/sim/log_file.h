#pragma once

#include <memory>

#include "platform/log_files.h"
#include "platform/sim/fault_plan.h"

namespace px::sim {

// Log files of the computer px-sim runs on (px-sim run --args "/log FILE"), with the answers
// Windows gives the installer: a symbolic link is opened as itself and reported as a reparse
// point, the handle tells the file's hard links and size, and a rename replaces the file of
// the new name. Missing folders above the file are made, as the installer's own log folder is.
// A planned fault makes the open, an append or a rename fail before it touches the file.
class SimLogFiles : public LogFiles, public FaultHook {
 public:
  Text FullPath(const Text& path) override;
  std::unique_ptr<LogFile> Open(const Text& path) override;
};

}  // namespace px::sim
