#pragma once

#include <cstdint>
#include <memory>

#include "base/text.h"
#include "platform/line_sink.h"
#include "platform/log_files.h"

namespace px {

// A log file past this size is renamed, and a new one begins.
inline constexpr std::uint64_t kLogRotateBytes = 1024 * 1024;

// Where a log file is renamed to: "C:\\ProgramData\\px-installer\\px-installer.log" ->
// "...\\px-installer.1.log"; a name without an extension gets ".1". Both "\\" and "/" separate
// folders.
Text RotatedLogPath(TextView path);

// The run's log file, appended to run after run in UTF-8. Its folder is opened once and held;
// the file is opened, and renamed, only by its name in that folder. When it passes
// kLogRotateBytes, at the start of a run or during one, it is renamed to RotatedLogPath
// (replacing an older one) through its handle and a new file begins, so the log never holds
// much more than two megabytes. Every file it opens is checked first (LogFileRefusal); a file
// that cannot be opened or renamed means fewer lines, never a different run.
class RotatingLog : public LineSink {
 public:
  // The log at path, taken from the current folder when relative, in a folder the walk down
  // the path may use (LogPathRefusal). Null when the file cannot be used; why then says what
  // was wrong, when it is given.
  static std::unique_ptr<RotatingLog> Open(LogFiles& files, const Text& path, Text* why = nullptr);
  // The log named name in a folder already checked and held; path is its full path, for the
  // reader.
  static std::unique_ptr<RotatingLog> OpenIn(std::unique_ptr<LogFolder> folder, Text path,
                                             Text* why = nullptr);

  // Each line in one append, so a second run writing at the same time never cuts it in two.
  void Write(std::string_view line) override;

  const Text& path() const { return path_; }

 private:
  RotatingLog(std::unique_ptr<LogFolder> folder, Text path);

  // Opens path_ into file_, checked; false with the reason when it may not be written.
  bool OpenChecked(Text* why);
  // Renames the full file away and opens a new one; false when the log has ended.
  bool Rotate();

  std::unique_ptr<LogFolder> folder_;
  Text path_;
  Text name_;  // the file's name in folder_
  std::unique_ptr<LogFile> file_;
  std::uint64_t size_ = 0;
  bool rotation_failed_ = false;
};

}  // namespace px
