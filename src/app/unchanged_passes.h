#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/run_log.h"
#include "events/run_events.h"
#include "platform/line_sink.h"

namespace px {

// The log records what changes. A window left waiting for a printer runs a detection pass every
// second, each a few lines per USB device: about 150 MB a day on a PC with ten devices. A pass
// that reads the same USB devices as the pass before it shows exactly what that one showed, so
// its lines are left out, and a line once a minute counts such passes:
//   65020	Unchanged	60 detection passes read the same USB devices as the one before
// px-sim's trace keeps every line; this filter sits only in front of log files.

// Whether a pass shows what the pass before it showed: it read the same devices in the same
// order, and nothing failed in it (a failure is never the same as before). The first pass has
// none before it.
bool PassUnchanged(const std::optional<event::PassEnd>& before, const event::PassEnd& pass);

class UnchangedPassFilter : public LineSink {
 public:
  // out may be null: nothing is written.
  UnchangedPassFilter(LineSink* out, RunLog::Clock now_ms);

  // Lines outside a pass go through, after the count of passes left out, if any; lines inside
  // one wait for its end.
  void Write(std::string_view line) override;

  void BeginPass();
  // The pass's lines go out, or are counted when the pass is unchanged.
  void EndPass(const event::PassEnd& pass);

  static constexpr std::int64_t kCountIntervalMs = 60000;

 private:
  void WriteCount();

  LineSink* out_;
  RunLog own_lines_;
  RunLog::Clock now_ms_;
  bool in_pass_ = false;
  std::vector<std::string> pass_lines_;
  std::optional<event::PassEnd> last_;  // the last pass whose lines went out
  std::int64_t unchanged_ = 0;          // passes left out since the last line about passes
  std::int64_t counted_at_ = 0;         // when that line was written
};

}  // namespace px
