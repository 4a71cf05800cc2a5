#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/text.h"

namespace px {

// The record of a run: one UTF-8 line per event, the milliseconds since the start, then
// TAB-separated fields. px-sim's trace and the installer's log file are both written here, so
// that their lines cannot drift apart. A line break inside a text is written as the two
// characters \n (a TAB as \t, a CR as \r), so that every event stays on one line.
//
// The log never reads a clock: whoever runs the installer says what time it is. A stream that
// cannot be written (a full disk, a file that failed to open) loses lines, and nothing else.
//
// Where the lines go is the program's: a file, a terminal, a test's buffer.
class LineSink {
 public:
  virtual ~LineSink() = default;
  // One whole line, its '\n' included.
  virtual void Write(std::string_view line) = 0;
};

class RunLog {
 public:
  using Clock = std::function<std::int64_t()>;

  // out may be null: nothing is written.
  RunLog(LineSink* out, Clock now_ms) : out_(out), now_ms_(std::move(now_ms)) {}

  bool enabled() const { return out_ != nullptr; }

  // A line of texts, each escaped.
  void Write(std::initializer_list<TextView> fields);
  // A line whose fields after the first are already UTF-8 and escaped, TABs included.
  void WriteEscaped(std::string_view kind, std::string_view fields);

  static std::string Escape(TextView field);

 private:
  void Emit(std::string line);

  LineSink* out_;
  Clock now_ms_;
};

// A log file past this size is renamed before a run begins its lines, and a new one begins.
inline constexpr std::uint64_t kLogRotateBytes = 1024 * 1024;

// Where a log file is renamed to: "C:\\ProgramData\\px-installer\\px-installer.log" ->
// "...\\px-installer.1.log"; a name without an extension gets ".1". Both "\\" and "/" separate
// folders.
Text RotatedLogPath(TextView path);

}  // namespace px
