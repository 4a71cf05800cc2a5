#pragma once

#include <cstdint>
#include <initializer_list>
#include <variant>
#include <vector>

#include "base/text.h"
#include "detect/scan_note.h"
#include "platform/processes.h"
#include "platform/system_error.h"
#include "port/interface_note.h"

namespace px {

// What a run of the installer reports, in the order it happens. The core tells each event once,
// to one sink; the window, px-sim's trace, the log file and replay are readers of that stream,
// each taking the events it shows and leaving the rest.
namespace event {

// Who runs on which machine: the log's first line.
struct Start {
  Text program;         // "px-installer 1.20.1108"
  Text windows;         // "10.0.22631"
  Text architecture;    // the machine's own: "x86", "amd64", "arm64"
  Text ui_language;     // "zh-CN"
  Text locale;          // "zh-CN"
  Text program_folder;  // "C:\Drivers"
  Text start_time;      // "2026-12-07 17:54:38 UTC"
  Text arguments;       // the command line after the program's name
};

// A command line the program does not understand: why.
struct BadCommandLine {
  Text error;
};

// The window's texts, each setting as it comes (an unchanged text counts too).
struct Caption {
  Text text;
};
struct Label2 {
  Text text;
};
struct Label1 {
  int index;  // 0 ... 14
  Text text;
};
// The window paints now, before long blocking work.
struct Refresh {};

// A modal box with one OK button: the window's, or one of a run without the window.
struct Message {
  Text text;
};
// A question with Yes and No, once it is answered.
struct Question {
  Text text;
  bool yes;
};
// A system call's answer the run goes on from, but that a reader of the log should know.
struct Warning {
  SystemError error;
};
// An unexpected failure of a system call: the error box, then the end of the run.
struct Failure {
  SystemError error;
};
// The window's end: unloaded by the run, closed by the user, or after the error box.
struct End {
  enum Kind { kUnload, kClosed, kError };
  Kind kind;
};

// A process started, and not waited for.
struct Launch {
  ShowState show;
  Text command_line;
};
// A spooler call that changes something, or lists for a removal, and Windows' answer (0 or
// the error code): "SetPrinter", "Lunor L58T", "USB002".
struct SpoolerCall {
  std::vector<Text> call;  // the function's name, then its arguments
  std::uint32_t code;
};

// A detection pass begins (WMI has answered its query) and ends, with what it read.
struct PassStart {};
struct PassEnd {
  std::vector<Text> read;  // every Dependent the pass read, in order
  bool failed = false;     // a WMI call failed during the pass
  bool printer_found = false;
};
// Why the pass took or left a device path, and why the port search took or left an interface.
struct Scan {
  ScanNote note;
};
struct Port {
  InterfaceNote note;
};

// How the run ended: the program's exit code and what it means in the log's words.
struct Exit {
  std::uint32_t code;
  Text meaning;
};

}  // namespace event

using RunEvent =
    std::variant<event::Start, event::BadCommandLine, event::Caption, event::Label2, event::Label1,
                 event::Refresh, event::Message, event::Question, event::Warning, event::Failure,
                 event::End, event::Launch, event::SpoolerCall, event::PassStart, event::PassEnd,
                 event::Scan, event::Port, event::Exit>;

// A reader of the run's events.
class RunEvents {
 public:
  virtual ~RunEvents() = default;
  virtual void On(const RunEvent& event) = 0;
};

// Several readers, each told every event in the order they were added.
class RunReaders : public RunEvents {
 public:
  RunReaders() = default;
  RunReaders(std::initializer_list<RunEvents*> readers) : readers_(readers) {}
  void Add(RunEvents* reader) { readers_.push_back(reader); }
  void On(const RunEvent& event) override {
    for (RunEvents* reader : readers_) reader->On(event);
  }

 private:
  std::vector<RunEvents*> readers_;
};

// Nobody reads: for a part of a run whose events nobody needs (one detection pass, one search).
inline RunEvents& NoReaders() {
  struct Nobody : RunEvents {
    void On(const RunEvent&) override {}
  };
  static Nobody nobody;
  return nobody;
}

// Passes a spooler call's answer on, once it is told to the run's events.
inline std::uint32_t Told(RunEvents& events, std::vector<Text> call, std::uint32_t code) {
  events.On(event::SpoolerCall{std::move(call), code});
  return code;
}

// Visits an event with a set of lambdas, one per kind a reader takes.
template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace px
