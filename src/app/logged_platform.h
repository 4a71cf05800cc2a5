#pragma once

#include <memory>

#include "app/exit_codes.h"
#include "app/run_log.h"
#include "platform/installer_view.h"
#include "platform/processes.h"
#include "port/find_printer_port.h"

namespace px {

// The window as the run log sees it: every visible effect becomes a line, then goes on to the
// real window (on Windows, the simulated one or none at all). The same lines are px-sim's
// trace and the installer's log file.
class LoggedView : public InstallerView {
 public:
  // title: the message boxes' title, for the log's Message lines.
  LoggedView(InstallerView& inner, RunLog& log, Text title = u"px-installer")
      : inner_(inner), log_(log), title_(std::move(title)) {}

  void SetCaption(const Text& text) override;
  Text Caption() const override { return inner_.Caption(); }
  void SetLabel2(const Text& text) override;
  void SetLabel1(int index, const Text& text) override;
  Text Label1(int index) const override { return inner_.Label1(index); }
  void Refresh() override;
  void ShowMessage(const Text& text) override;
  void Unload() override;
  void ShowErrorAndEnd(const SystemError& error) override;

  // The user closed the window (its close button, or px-sim's time limit): the log's End line.
  void Closed();
  bool ended() const { return ended_; }

 private:
  void End(TextView word);

  InstallerView& inner_;
  RunLog& log_;
  Text title_;
  bool ended_ = false;
};

// Process creation with a Launch line for every process started.
class LoggedProcesses : public Processes {
 public:
  LoggedProcesses(Processes& inner, RunLog& log) : inner_(inner), log_(log) {}
  Expected<std::unique_ptr<Process>> Start(const Text& command_line, ShowState show) override;

 private:
  Processes& inner_;
  RunLog& log_;
};

// The port search's reasons, one Port line per interface key it looked at.
class LoggedPortNotes : public PortSearchNotes {
 public:
  explicit LoggedPortNotes(RunLog& log) : log_(log) {}
  void Note(const InterfaceNote& note) override;

 private:
  RunLog& log_;
};

// Who wrote the log and on which machine: the first line of a run.
struct RunLogHeader {
  Text program;         // "px-installer 1.20.1108"
  Text windows;         // "10.0.22631"
  Text architecture;    // the machine's own: "x86", "amd64", "arm64"
  Text ui_language;     // "zh-CN"
  Text locale;          // "zh-CN"
  Text program_folder;  // "C:\Drivers"
  Text start_time;      // "2026-12-07 17:54:38 UTC"
  Text arguments;       // the command line after the program's name
};
void WriteStart(RunLog& log, const RunLogHeader& header);

// The last line of a run: the exit code and what it means.
void WriteExit(RunLog& log, ExitCode code, bool window_closed);
void WriteExit(RunLog& log, ExitCode code, TextView meaning);

// The port search's verdict on one interface key as TAB-separated fields, escaped: the key
// name, the vendor, the port number read, the usbprint value that ended the look-up, the
// verdict. px-sim's port --explain prints the same.
std::string PortNoteFields(const InterfaceNote& note);

}  // namespace px
