#pragma once

#include <memory>

#include "app/run_log.h"
#include "base/text.h"
#include "base/win32/unique_handle.h"

namespace px::win32 {

// The installer's log file, appended to run after run in UTF-8. Before a run begins its lines,
// a file past kLogRotateBytes is renamed to RotatedLogPath (replacing an older one), so the log
// never holds much more than two megabytes. Each line goes to the file as it comes, in one
// append, so a second run writing at the same time never cuts a line in two.
class LogFileWin32 : public LineSink {
 public:
  // The file's folder is made when missing. Null when the file cannot be opened for writing:
  // the run then goes on without a log.
  static std::unique_ptr<LogFileWin32> Open(const Text& path);

  void Write(std::string_view line) override;

 private:
  explicit LogFileWin32(UniqueKernelHandle file) : file_(std::move(file)) {}

  UniqueKernelHandle file_;
};

}  // namespace px::win32
