#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/run_log.h"
#include "platform/line_sink.h"
#include "platform/usb_associations.h"

namespace px {

// The log records what changes. A window left waiting for a printer runs a detection pass every
// second, each a few lines per USB device: about 150 MB a day on a PC with ten devices. A pass
// that reads the same USB devices as the pass before it shows exactly what that one showed, so
// its lines are left out, and a line once a minute counts such passes:
//   65020	Unchanged	60 detection passes read the same USB devices as the one before
// px-sim's trace keeps every line; this filter sits only in front of log files.
class UnchangedPassFilter : public LineSink {
 public:
  // out may be null: nothing is written.
  UnchangedPassFilter(LineSink* out, RunLog::Clock now_ms);

  // Lines outside a pass go through, after the count of passes left out, if any; lines inside
  // one wait for its end.
  void Write(std::string_view line) override;

  // A pass begins, reads devices or fails, and ends.
  void BeginPass();
  void Read(TextView dependent);
  void ReadFailed();
  void EndPass();

  static constexpr std::int64_t kCountIntervalMs = 60000;

 private:
  void WriteCount();

  LineSink* out_;
  RunLog own_lines_;
  RunLog::Clock now_ms_;
  bool in_pass_ = false;
  bool failed_ = false;
  std::vector<std::string> pass_lines_;
  std::vector<Text> read_;       // what this pass read
  std::vector<Text> last_read_;  // what the last pass read
  bool any_pass_ = false;
  std::int64_t unchanged_ = 0;   // passes left out since the last line about passes
  std::int64_t counted_at_ = 0;  // when that line was written
};

// WMI's USB associations as the log sees them: each query is a pass of the filter, each
// Dependent read or failure is what it read, and the pass ends when its enumeration is let go.
class PassWatchingUsb : public UsbAssociations {
 public:
  PassWatchingUsb(UsbAssociations& inner, UnchangedPassFilter& filter)
      : inner_(inner), filter_(filter) {}
  Expected<std::unique_ptr<UsbAssociationCursor>> Query() override;

 private:
  UsbAssociations& inner_;
  UnchangedPassFilter& filter_;
};

}  // namespace px
