#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/run_log.h"
#include "app/unchanged_passes.h"
#include "events/run_events.h"
#include "platform/line_sink.h"

namespace px {

// The run's events as lines of the run log, one per visible effect: px-sim's trace and the
// installer's log file are written alike, so that their lines cannot drift apart.

// px-sim's trace: every effect of the window and of the removal, every pass in full.
class TraceLines : public RunEvents {
 public:
  // out may be null: nothing is written.
  TraceLines(LineSink* out, RunLog::Clock now_ms) : log_(out, std::move(now_ms)) {}
  void On(const RunEvent& event) override;

 private:
  RunLog log_;
};

// The installer's log: the trace's lines, and the run's start and exit, a command line it did
// not understand and the port search's verdicts; a pass that read what the one before it read
// is left out (UnchangedPassFilter). The file is opened when the run starts, so that a run that
// only shows its usage leaves no file behind.
class LogLines : public RunEvents {
 public:
  // Opens the log's file; null when the run logs nowhere.
  using Opener = std::function<std::unique_ptr<LineSink>()>;

  LogLines(Opener open, RunLog::Clock now_ms);
  ~LogLines() override;
  void On(const RunEvent& event) override;

  // A word on the log's own folder (what was done to make it safe to write into), written
  // after the start line, or before the next line when it comes later.
  void Note(const Text& text);

 private:
  void WriteNotes();

  Opener open_;
  RunLog::Clock now_ms_;
  // Made when the run starts.
  std::unique_ptr<LineSink> file_;
  std::unique_ptr<UnchangedPassFilter> filter_;
  std::unique_ptr<RunLog> log_;
  std::vector<Text> notes_;
};

// The port search's verdict on one interface key as TAB-separated fields, escaped: the key
// name, the vendor, the port number read, the usbprint value that ended the look-up, the
// verdict. px-sim's port --explain prints the same.
std::string PortNoteFields(const InterfaceNote& note);

}  // namespace px
