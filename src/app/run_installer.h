#pragma once

#include "app/backend.h"
#include "app/command_line_options.h"
#include "app/exit_codes.h"
#include "events/run_events.h"

namespace px {

// How a run ended, for whoever started it.
struct RunResult {
  ExitCode code = ExitCode::kRegistered;
  bool window_closed = false;  // the user closed the window before the run ended
  bool printer_found = false;  // a detection pass accepted a supported printer
  Text model_name;             // the model it accepted
  Text port_name;              // the port the search named, once it ran
};

// One run of px-installer, whatever starts it (wWinMain, px-sim's run and replay, the tests):
// the usage, a command line it does not understand, the unattended lock, the removal of the
// printers, or Form1 from its load to its end; then the exit line. Everything that happens is
// told to events, once, in the order it happens.
RunResult RunInstaller(const ParsedCommandLine& command_line, Backend& backend, RunEvents& events);

}  // namespace px
