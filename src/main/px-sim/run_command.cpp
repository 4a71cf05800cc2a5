#include <unistd.h>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/command_line_options.h"
#include "app/form1.h"
#include "app/hidden_view.h"
#include "app/logged_platform.h"
#include "app/logged_spooler.h"
#include "app/rotating_log.h"
#include "app/unchanged_passes.h"
#include "app/uninstall.h"
#include "base/sim/event_loop.h"
#include "base/utf.h"
#include "commands.h"
#include "platform/sim/command_line.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/log_file.h"
#include "platform/sim/sim_message_boxes.h"
#include "platform/sim/sim_view.h"
#include "platform/sim/simulated_pc.h"
#include "platform/sim/terminal_view.h"
#include "platform/sim/trace.h"
#include "platform/sim/window_snapshot.h"

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

Text Hex4(std::uint16_t value) {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  Text out;
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
  return out;
}

// The log's first line, as the installer writes it on this machine.
RunLogHeader HeaderFor(const Machine& machine, const Text& args) {
  const WindowsVersion& v = machine.windows_version;
  const TextView arch = machine.arch == Architecture::kX86     ? u"x86"
                        : machine.arch == Architecture::kArm64 ? u"arm64"
                                                               : u"amd64";
  return {u"px-installer " + Utf8Literal(PX_VERSION),
          Decimal(v.major) + u"." + Decimal(v.minor) + u"." + Decimal(v.build),
          Text(arch),
          Hex4(machine.ui_language),
          Utf8Literal(machine.locale),
          machine.program_folder,
          u"simulated",
          args};
}

// What the machine holds afterwards, for the person running the simulation.
void ReportSpooler(const SimSpooler& spooler) {
  for (const SimSpooler::Printer& printer : spooler.printers()) {
    std::cerr << "px-sim: printer \"" << ToUtf8(printer.name) << "\" on " << ToUtf8(printer.port)
              << "\n";
  }
  for (const PrinterDriverInfo& driver : spooler.drivers()) {
    std::cerr << "px-sim: driver \"" << ToUtf8(driver.name) << "\"\n";
  }
  for (const std::string& error : spooler.errors()) std::cerr << "px-sim: " << error << "\n";
}

// px-installer /uninstall on the machine: no window, its boxes on the terminal when there is one.
int Uninstall(const Machine& machine, const CommandLineOptions& args, EventLoop& loop,
              RunLog& trace, RunLog& log, bool terminal) {
  SimulatedPc pc(machine, loop);
  LoggedSpooler traced_spooler(pc.spooler, trace);
  LoggedSpooler spooler(traced_spooler, log);
  SimMessageBoxes shown(terminal ? &std::cout : nullptr);
  NoMessageBoxes hidden;
  LoggedMessageBoxes traced_boxes(args.quiet ? static_cast<MessageBoxes&>(hidden) : shown, trace);
  LoggedMessageBoxes boxes(traced_boxes, log);
  const UninstallResult result =
      px::Uninstall(spooler, boxes, ModelTable::Builtin(),
                    LanguageFlagFor(pc.system.UserDefaultUiLanguage()), args.quiet);
  WriteExit(log, result.code, result.meaning);
  ReportSpooler(pc.spooler);
  return static_cast<int>(result.code);
}

int Run(const RunOptions& options) {
  const Machine machine = LoadMachineArg(options.machine);

  // The installer's own command line, as px-installer.exe would take it.
  const Text arguments = FromUtf8(options.args).value_or(u"\uFFFD");
  const ParsedCommandLine command_line = ParseCommandLine(SplitCommandLine(arguments));
  const CommandLineOptions& args = command_line.options;
  // The simulated desktop is always visible: only /quiet keeps boxes away.
  const bool boxes = MayShowWindows(command_line, true);
  if (args.usage && command_line.error.empty()) {
    std::cout << ToUtf8(UsageText()) << "\n";
    return 0;
  }

  std::ofstream trace_file;
  std::ostream* trace_out = nullptr;
  if (options.trace == "-") {
    trace_out = &std::cout;
  } else if (!options.trace.empty()) {
    trace_file.open(options.trace, std::ios::binary);
    if (!trace_file) {
      std::cerr << "px-sim: " << options.trace << ": cannot be written\n";
      throw CLI::RuntimeError(EX_CANTCREAT);
    }
    trace_out = &trace_file;
  }
  // /log names a file of this computer; without it the simulated run keeps no log.
  SimLogFiles log_files;
  std::unique_ptr<RotatingLog> log_file;
  if (args.log_path) {
    Text why;
    log_file = RotatingLog::Open(log_files, *args.log_path, &why);
    if (!log_file) std::cerr << "px-sim: no log: " << ToUtf8(why) << "\n";
  }
  std::unique_ptr<StreamSink> trace_sink;
  if (trace_out) trace_sink = std::make_unique<StreamSink>(*trace_out);

  // The terminal view shares stdout with nothing else; an unattended run shows no window.
  const bool terminal =
      boxes && (options.view == "terminal" ||
                (options.view == "auto" && options.trace != "-" && isatty(STDOUT_FILENO)));

  EventLoop loop(options.instant ? EventLoop::Clock::kVirtual : EventLoop::Clock::kReal);
  RunLog trace(trace_sink.get(), [&loop] { return loop.NowMs(); });
  // The log records what changes; the trace keeps every line.
  UnchangedPassFilter log_filter(log_file.get(), [&loop] { return loop.NowMs(); });
  RunLog log(&log_filter, [&loop] { return loop.NowMs(); });
  WriteStart(log, HeaderFor(machine, arguments));
  // As the installer does: the line it did not understand, logged, and the usage in its box.
  if (!command_line.error.empty()) {
    log.Write({u"Message", u"px-installer", command_line.error});
    WriteExit(log, ExitCode::kBadCommandLine, false);
    std::cerr << "px-installer: " << ToUtf8(command_line.error) << "\n";
    if (boxes) std::cerr << ToUtf8(UsageText()) << "\n";
    return static_cast<int>(ExitCode::kBadCommandLine);
  }

  if (args.uninstall) return Uninstall(machine, args, loop, trace, log, terminal);

  SimView window([&loop] { loop.Quit(); });
  HiddenView hidden([&loop] { loop.Quit(); });
  InstallerView& shown = boxes ? static_cast<InstallerView&>(window) : hidden;
  LoggedView traced_view(shown, trace);
  LoggedView view(traced_view, log);

  std::unique_ptr<TerminalView> terminal_view;
  if (terminal) {
    const bool wait_for_enter = !options.instant && isatty(STDIN_FILENO);
    terminal_view = std::make_unique<TerminalView>(std::cout, wait_for_enter ? &std::cin : nullptr);
    window.AddPainter(terminal_view.get());
  }
  std::unique_ptr<WindowSnapshot> snapshot;
  if (!options.snapshot_dir.empty() && boxes) {
    snapshot =
        std::make_unique<WindowSnapshot>(options.snapshot_dir, [&loop] { return loop.NowMs(); });
    window.AddPainter(snapshot.get());
  }
  loop.SetAfterTick([&window] { window.Paint(); });

  SimulatedPc pc(machine, loop);
  LoggedProcesses traced_processes(pc.processes, trace);
  LoggedProcesses logged_processes(traced_processes, log);
  LoggedSpooler traced_spooler(pc.spooler, trace);
  LoggedSpooler logged_spooler(traced_spooler, log);
  LoggedPortNotes port_notes(log);
  PassWatchingUsb usb(pc.usb, log_filter);
  Form1 form({view, loop, logged_processes, usb, pc.registry, logged_spooler, pc.system},
             ModelTable::Builtin());
  form.Quiet = args.quiet;
  form.WaitSeconds = args.wait_seconds;
  form.SetNotes(nullptr, &port_notes);

  form.Form_Load();
  window.Paint();
  if (!view.ended()) {
    if (loop.Run(options.close_at_ms) == EventLoop::Stopped::kTimeLimit) {
      window.Close();
      view.Closed();
      traced_view.Closed();
    }
  }
  terminal_view.reset();
  // The window closed before the end: the program ends as it does after its success box.
  const ExitCode code = form.Result.value_or(ExitCode::kRegistered);
  WriteExit(log, code, !form.Result.has_value());

  ReportSpooler(pc.spooler);
  return static_cast<int>(code);
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
