// px-sim run: px-installer's run on a simulated PC, with its window on the terminal or in
// pictures, its trace and its log.
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <memory>

#include "app/rotating_log.h"
#include "app/run_installer.h"
#include "app/run_lines.h"
#include "base/utf.h"
#include "commands.h"
#include "platform/sim/command_line.h"
#include "platform/sim/log_file.h"
#include "platform/sim/sim_form_host.h"
#include "platform/sim/sim_message_boxes.h"
#include "platform/sim/simulated_pc.h"
#include "platform/sim/terminal_view.h"
#include "platform/sim/trace.h"
#include "platform/sim/window_snapshot.h"
#include "run_facts.h"

namespace px::sim {

namespace {

struct RunOptions {
  std::string machine;
  bool instant = false;
  std::string trace;
  std::string view = "auto";
  std::optional<std::int64_t> close_at_ms;
  std::string snapshot_dir;
  std::string args;
};

int Run(const RunOptions& options) {
  const Machine machine = LoadMachineArg(options.machine);
  // The installer's own command line, as px-installer.exe would take it.
  const Text arguments = FromUtf8(options.args).value_or(u"\uFFFD");
  const ParsedCommandLine command_line = ParseCommandLine(SplitCommandLine(arguments));
  if (!command_line.error.empty()) {
    std::cerr << "px-installer: " << ToUtf8(command_line.error) << "\n";
  }

  std::ofstream trace_file;
  std::unique_ptr<StreamSink> trace_sink;
  if (options.trace == "-") {
    trace_sink = std::make_unique<StreamSink>(std::cout);
  } else if (!options.trace.empty()) {
    trace_file.open(options.trace, std::ios::binary);
    if (!trace_file) {
      std::cerr << "px-sim: " << options.trace << ": cannot be written\n";
      throw CLI::RuntimeError(EX_CANTCREAT);
    }
    trace_sink = std::make_unique<StreamSink>(trace_file);
  }

  EventLoop loop(options.instant ? EventLoop::Clock::kVirtual : EventLoop::Clock::kReal);
  const auto now = [&loop] { return loop.NowMs(); };
  TraceLines trace(trace_sink.get(), now);
  // /log names a file of this computer; without it the simulated run keeps no log.
  SimLogFiles log_files;
  LogLines log(
      [&]() -> std::unique_ptr<LineSink> {
        if (!command_line.options.log_path) return nullptr;
        Text why;
        std::unique_ptr<RotatingLog> file =
            RotatingLog::Open(log_files, *command_line.options.log_path, &why);
        if (!file) std::cerr << "px-sim: no log: " << ToUtf8(why) << "\n";
        return file;
      },
      now);
  RunReaders readers{&log, &trace};

  // The simulated desktop is always visible: only /quiet keeps the window and boxes away. The
  // terminal view shares stdout with nothing else.
  const bool shown = !command_line.options.quiet;
  const bool terminal =
      shown && (options.view == "terminal" ||
                (options.view == "auto" && options.trace != "-" && isatty(STDOUT_FILENO)));
  std::vector<WindowPainter*> painters;
  std::unique_ptr<TerminalView> terminal_view;
  if (terminal) {
    const bool wait_for_enter = !options.instant && isatty(STDIN_FILENO);
    terminal_view = std::make_unique<TerminalView>(std::cout, wait_for_enter ? &std::cin : nullptr);
    painters.push_back(terminal_view.get());
  }
  std::unique_ptr<WindowSnapshot> snapshot;
  if (!options.snapshot_dir.empty() && shown) {
    snapshot = std::make_unique<WindowSnapshot>(options.snapshot_dir, now);
    painters.push_back(snapshot.get());
  }

  SimulatedPc pc(machine, loop);
  SimFormHost host(loop, painters, options.close_at_ms);
  host.SetFaults(&pc.faults);
  SimMessageBoxes boxes(terminal ? &std::cout : nullptr);
  boxes.SetFaults(&pc.faults);
  Backend backend{pc.usb,    pc.registry, pc.processes, pc.spooler,
                  pc.system, host,        boxes,        HeaderFor(machine, arguments)};
  backend.release_package = ReleasePackageOf(machine);
  backend.lock = &pc.lock;
  const RunResult result = RunInstaller(command_line, backend, readers);
  terminal_view.reset();
  // A run that did not get past its command line has changed nothing.
  if (command_line.error.empty() && !command_line.options.usage) ReportSpooler(pc.spooler);
  return static_cast<int>(result.code);
}

}  // namespace

void AddRunCommand(CLI::App& app) {
  auto options = std::make_shared<RunOptions>();
  auto* command = app.add_subcommand("run", "Run the installer on a simulated PC");
  command->add_option("MACHINE", options->machine, "Machine folder or name (default: built-in)");
  command->add_flag("--instant", options->instant, "Virtual clock: time jumps from tick to tick");
  command->add_option("--trace", options->trace, "Write one line per visible effect (- = stdout)");
  command->add_option("--view", options->view, "terminal, none or auto")
      ->check(CLI::IsMember({"auto", "terminal", "none"}));
  command->add_option("--close-at", options->close_at_ms, "Close the window at this moment (ms)")
      ->check(CLI::NonNegativeNumber);
  command->add_option("--snapshot", options->snapshot_dir,
                      "Write a PNG picture of the window at every visible change into DIR");
  command->add_option("--args", options->args,
                      "px-installer's own command line, e.g. \"/quiet /wait 30 /log run.log\"; "
                      "px-sim then exits with the installer's exit code");
  command->callback([options] {
    const int code = Run(*options);
    if (code != 0) throw CLI::RuntimeError(code);
  });
}

}  // namespace px::sim
