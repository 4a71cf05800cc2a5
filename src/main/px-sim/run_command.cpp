#include <unistd.h>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/form1.h"
#include "commands.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/event_loop.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_view.h"
#include "platform/sim/terminal_view.h"
#include "platform/utf.h"

namespace px::sim {

namespace {

struct RunOptions {
  std::string machine;
  bool instant = false;
  std::string trace;
  std::string view = "auto";
  std::optional<std::int64_t> close_at_ms;
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
  loop.SetAfterTick([&view] { view.Paint(); });

  SimUsb usb(machine, loop);
  SimProcesses processes(trace);
  SimSystem system(machine);
  // For now the run ends with the detected printer; the port search and the installation
  // follow it on a real PC.
  Form1 form({view, loop, processes, usb, system}, ModelTable::Builtin(),
             [](Form1& f) { f.view().Unload(); });

  form.Form_Load();
  view.Paint();
  if (view.end() == SimView::EndKind::kRunning) {
    if (loop.Run(options.close_at_ms) == EventLoop::Stopped::kTimeLimit) view.Close();
  }
  terminal_view.reset();

  std::cout << "PrinterFound\t" << form.detection.PrinterFound << "\n"
            << "ModelName\t" << ToUtf8(form.detection.ModelName) << "\n";
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
  command->callback([options] {
    const int code = Run(*options);
    if (code != 0) throw CLI::RuntimeError(code);
  });
}

}  // namespace px::sim
