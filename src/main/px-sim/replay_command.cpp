// px-sim replay: what the installer does on a PC captured by a support engineer, and why. The
// installer's own run goes on the captured machine, on the virtual clock, and the report is read
// off its events.
#include <algorithm>
#include <iostream>
#include <sstream>

#include "app/run_installer.h"
#include "app/run_log.h"
#include "commands.h"
#include "explain.h"
#include "platform/sim/sim_form_host.h"
#include "platform/sim/sim_message_boxes.h"
#include "platform/sim/simulated_pc.h"
#include "texts/installer_texts.h"

namespace px::sim {

namespace {

struct ReplayOptions {
  std::string machine;
  std::optional<std::int64_t> at_ms;
};

// The window's message boxes, as the run shows them.
class MessageRecorder : public WindowPainter {
 public:
  void Paint(const WindowImage&) override {}
  void ShowMessage(const WindowImage&, const Text&, const Text& text) override {
    messages.push_back(text);
  }
  std::vector<Text> messages;
};

// The report, read off the run's events as they come: why the detection pass took or left
// each device, why the port search took or left each interface. A pass without a printer
// ends the replay: the installer would scan on every second, on the same devices.
class ReplayReader : public RunEvents {
 public:
  ReplayReader(EventLoop& loop, const std::vector<Text>& paths)
      : loop_(loop), detection_(std::cout, paths), port_(port_lines) {}
  void On(const RunEvent& event) override {
    if (const auto* scan = std::get_if<event::Scan>(&event)) detection_.Note(scan->note);
    if (const auto* port = std::get_if<event::Port>(&event)) port_.Note(port->note);
    const auto* pass = std::get_if<event::PassEnd>(&event);
    if (pass && !pass->printer_found) loop_.Quit();
  }
  std::ostringstream port_lines;

 private:
  EventLoop& loop_;
  DetectionExplainLines detection_;
  PortExplainLines port_;
};

void Replay(const ReplayOptions& options) {
  Machine machine = LoadMachineArg(options.machine);
  // The devices of that moment are plugged in from the start, so the first detection pass
  // (five seconds in) meets them.
  const std::int64_t at =
      options.at_ms.value_or(machine.usb.empty() ? 0 : machine.usb.back().from_ms);
  const std::vector<Text> paths = machine.DependentsAt(at);
  machine.usb = {{0, "", paths}};

  EventLoop loop(EventLoop::Clock::kVirtual);
  MessageRecorder boxes;
  SimFormHost host(loop, {&boxes});
  SimulatedPc pc(machine, loop);
  SimMessageBoxes no_boxes(nullptr);
  Backend backend{pc.usb, pc.registry, pc.processes, pc.spooler, pc.system, host, no_boxes, {}};
  backend.release_package = ReleasePackageOf(machine);

  std::cout << "# Detection: " << paths.size() << " USB associations at " << at << " ms\n";
  ReplayReader reader(loop, paths);
  const std::vector<SimSpooler::Printer> printers_before = pc.spooler.printers();
  const RunResult run = RunInstaller({}, backend, reader);

  std::cout << "PrinterFound\t" << (run.printer_found ? 1 : 0) << "\n"
            << "ModelName\t" << RunLog::Escape(run.model_name) << "\n"
            << "Label1(2)\t" << RunLog::Escape(host.view()->Label1(2)) << "\n";
  if (!run.printer_found && run.window_closed) {
    std::cout << "# No supported printer: the installer would scan on every second.\n";
    return;
  }
  if (run.printer_found) {
    std::cout << "# Port search: " << machine.registry_files.size() << " registry files\n"
              << reader.port_lines.str() << "PortName\t" << RunLog::Escape(run.port_name) << "\n";
    std::cout << "# Installation\n";
    for (const Text& command : pc.processes.launched()) {
      if (command != kSpoolerCommand)
        std::cout << "CommandLine\t" << RunLog::Escape(command) << "\n";
    }
    // The queues the run added, or moved to another port.
    for (const SimSpooler::Printer& printer : pc.spooler.printers()) {
      const bool held = std::any_of(printers_before.begin(), printers_before.end(),
                                    [&](const SimSpooler::Printer& p) {
                                      return p.name == printer.name && p.port == printer.port;
                                    });
      if (held) continue;
      std::cout << "Result\tprinter \"" << RunLog::Escape(printer.name) << "\" on "
                << RunLog::Escape(printer.port) << "\n";
    }
    for (const std::string& error : pc.spooler.errors()) std::cout << "Result\t" << error << "\n";
  }
  for (const Text& text : boxes.messages) std::cout << "Message\t" << RunLog::Escape(text) << "\n";
}

}  // namespace

void AddReplayCommand(CLI::App& app) {
  auto options = std::make_shared<ReplayOptions>();
  auto* command = app.add_subcommand(
      "replay", "What the installer would do on a captured PC: model, port, command line, and why");
  command->add_option("MACHINE", options->machine, "Machine folder or name (default: built-in)");
  command->add_option("--at", options->at_ms, "The moment of the USB list (default: the last one)")
      ->check(CLI::NonNegativeNumber);
  command->callback([options] { Replay(*options); });
}

}  // namespace px::sim
