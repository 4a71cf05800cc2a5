#include <unistd.h>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/form1.h"
#include "commands.h"
#include "platform/sim/dependent_list.h"
#include "base/sim/event_loop.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_view.h"
#include "platform/sim/terminal_view.h"
#include "platform/sim/window_snapshot.h"
#include "base/utf.h"

namespace px::sim {

namespace {

struct RunOptions {
  std::string machine;
  bool instant = false;
  std::string trace;
  std::string view = "auto";
  std::optional<std::int64_t> close_at_ms;
  std::string snapshot_dir;
};

int Run(const RunOptions& options) {
  const Machine machine = LoadMachineArg(options.machine);

  std::ofstream trace_file;
  std::ostream* trace_out = nullptr;
  if (options.trace == "-") {
    trace_out = &std::cout;
  } else if (!options.trace.empty()) {
    trace_file.open(options.trace, std::ios::binary);
    if (!trace_file) throw MachineError(options.trace + ": cannot be written");
    trace_out = &trace_file;
  }
  // The terminal view shares stdout with nothing else.
  const bool terminal = options.view == "terminal" ||
                        (options.view == "auto" && options.trace != "-" && isatty(STDOUT_FILENO));

  EventLoop loop(options.instant ? EventLoop::Clock::kVirtual : EventLoop::Clock::kReal);
  Trace trace(trace_out, [&loop] { return loop.NowMs(); });
  SimView view(trace, [&loop] { loop.Quit(); });
  std::unique_ptr<TerminalView> terminal_view;
  if (terminal) {
    const bool wait_for_enter = !options.instant && isatty(STDIN_FILENO);
    terminal_view = std::make_unique<TerminalView>(std::cout, wait_for_enter ? &std::cin : nullptr);
    view.AddPainter(terminal_view.get());
  }
  std::unique_ptr<WindowSnapshot> snapshot;
  if (!options.snapshot_dir.empty()) {
    snapshot =
        std::make_unique<WindowSnapshot>(options.snapshot_dir, [&loop] { return loop.NowMs(); });
    view.AddPainter(snapshot.get());
  }
  loop.SetAfterTick([&view] { view.Paint(); });

  SimUsb usb(machine, loop);
  SimProcesses processes(trace, loop);
  SimSystem system(machine);
  SimRegistry registry = LoadMachineRegistry(machine);
  SimSpooler spooler(machine, system);
  processes.SetStartFailures(machine.start_fails);
  processes.SetRunner([&spooler](const Text& command_line) { return spooler.Run(command_line); });
  Form1 form({view, loop, processes, usb, registry, spooler, system}, ModelTable::Builtin());

  form.Form_Load();
  view.Paint();
  if (view.end() == SimView::EndKind::kRunning) {
    if (loop.Run(options.close_at_ms) == EventLoop::Stopped::kTimeLimit) view.Close();
  }
  terminal_view.reset();

  // What the machine holds afterwards, for the person running the simulation.
  for (const SimSpooler::Printer& printer : spooler.printers()) {
    std::cerr << "px-sim: printer \"" << ToUtf8(printer.name) << "\" on " << ToUtf8(printer.port)
              << "\n";
  }
  for (const std::string& error : spooler.errors()) std::cerr << "px-sim: " << error << "\n";
  return view.end() == SimView::EndKind::kError ? 1 : 0;
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
  command->callback([options] {
    const int code = Run(*options);
    if (code != 0) throw CLI::RuntimeError(code);
  });
}

}  // namespace px::sim
