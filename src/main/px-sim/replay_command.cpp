// px-sim replay: what the installer does on a PC captured by a support engineer, and why. The
// installer's own Form1 runs on the captured machine, on the virtual clock, with the detection
// pass's and the port search's notes attached; the report is read off that run.
#include <algorithm>
#include <iostream>
#include <sstream>

#include "app/form1.h"
#include "app/run_log.h"
#include "commands.h"
#include "explain.h"
#include "platform/sim/sim_view.h"
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

void Replay(const ReplayOptions& options) {
  Machine machine = LoadMachineArg(options.machine);
  // The devices of that moment are plugged in from the start, so the first detection pass
  // (five seconds in) meets them.
  const std::int64_t at =
      options.at_ms.value_or(machine.usb.empty() ? 0 : machine.usb.back().from_ms);
  const std::vector<Text> paths = machine.DependentsAt(at);
  machine.usb = {{0, "", paths}};

  EventLoop loop(EventLoop::Clock::kVirtual);
  SimView view([&loop] { loop.Quit(); });
  MessageRecorder boxes;
  view.AddPainter(&boxes);
  SimulatedPc pc(machine, loop);
  Form1 form({view, loop, pc.processes, pc.usb, pc.registry, pc.spooler, pc.system},
             ModelTable::Builtin());

  std::cout << "# Detection: " << paths.size() << " USB associations at " << at << " ms\n";
  std::ostringstream port_lines;
  DetectionExplainLines detection_notes(std::cout, paths);
  PortExplainLines port_notes(port_lines);
  form.SetNotes(&detection_notes, &port_notes);
  const std::vector<SimSpooler::Printer> printers_before = pc.spooler.printers();
  form.Form_Load();
  // A pass that finds no printer leaves the scan going every second, on the same devices.
  loop.SetAfterTick([&] {
    if (form.detection.PrinterFound != 1 && form.TimerUSBCheck().Interval() == 1000) loop.Quit();
  });
  if (view.end() == SimView::EndKind::kRunning) loop.Run(std::nullopt);

  std::cout << "PrinterFound\t" << form.detection.PrinterFound << "\n"
            << "ModelName\t" << RunLog::Escape(form.detection.ModelName) << "\n"
            << "Label1(2)\t" << RunLog::Escape(view.Label1(2)) << "\n";
  if (form.detection.PrinterFound != 1 && view.end() == SimView::EndKind::kRunning) {
    std::cout << "# No supported printer: the installer would scan on every second.\n";
    return;
  }
  if (form.detection.PrinterFound == 1) {
    std::cout << "# Port search: " << machine.registry_files.size() << " registry files\n"
              << port_lines.str() << "PortName\t" << RunLog::Escape(form.port.PortName) << "\n";
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
