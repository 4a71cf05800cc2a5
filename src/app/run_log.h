#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/text.h"
#include "platform/line_sink.h"

namespace px {

// The record of a run: one UTF-8 line per event, the milliseconds since the start, then
// TAB-separated fields. px-sim's trace and the installer's log file are both written here, so
// that their lines cannot drift apart. A line break inside a text is written as the two
// characters \n (a TAB as \t, a CR as \r), so that every event stays on one line.
//
// The log never reads a clock: whoever runs the installer says what time it is. A stream that
// cannot be written (a full disk, a file that failed to open) loses lines, and nothing else.
//
// Where the lines go is the program's (a LineSink): a file, a terminal, a test's buffer.

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

}  // namespace px
