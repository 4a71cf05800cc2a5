#pragma once

#include <memory>

#include "platform/log_files.h"
#include "platform/sim/fault_plan.h"

namespace px::sim {

// Log files of the computer px-sim runs on (px-sim run --args "/log FILE"), with the answers
// Windows gives the installer: a symbolic link is opened as itself and reported as a reparse
// point, the handle tells the file's hard links and size, and a rename replaces the file of
// the new name. Folders are walked from / down by descriptor (openat), and missing ones are
// made, as the installer's own log folder is; their owners and writers come from their Unix
// owner and mode (root stands for Administrators).
// A planned fault makes the open, an append or a rename fail before it touches the file.
class SimLogFiles : public LogFiles, public FaultHook {
 public:
  Text FullPath(const Text& path) override;
  Text AccountSid() override;
  FolderWalk OpenFolder(const Text& folder) override;
};

}  // namespace px::sim
