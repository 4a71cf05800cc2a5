// px-sim replay: what the installer would do on a PC captured by a support engineer, and why.
#include <iostream>

#include "app/form1.h"
#include "texts/installer_texts.h"
#include "commands.h"
#include "detect/install_command.h"
#include "explain.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_view.h"
#include "platform/sim/trace.h"

namespace px::sim {

namespace {

struct ReplayOptions {
  std::string machine;
  std::optional<std::int64_t> at_ms;
};

void Replay(const ReplayOptions& options) {
  const Machine machine = LoadMachineArg(options.machine);
  const std::int64_t at =
      options.at_ms.value_or(machine.usb.empty() ? 0 : machine.usb.back().from_ms);
  const std::vector<Text>& paths = machine.DependentsAt(at);

  std::cout << "# Detection: " << paths.size() << " USB associations at " << at << " ms\n";
  SimView view({});
  view.SetCaption(Text(kCaption));
  DetectionState detection;
  detection.LanguageFlag = LanguageFlagFor(machine.ui_language);
  DetectionExplainLines detection_lines(std::cout, paths);
  ScanAssociations(detection, view, paths, ModelTable::Builtin(), &detection_lines);
  std::cout << "PrinterFound\t" << detection.PrinterFound << "\n"
            << "ModelName\t" << Trace::Escape(detection.ModelName) << "\n"
            << "Label1(2)\t" << Trace::Escape(view.Label1(2)) << "\n";
  if (detection.PrinterFound != 1) {
    std::cout << "# No supported printer: the installer would scan on every second.\n";
    return;
  }

  std::cout << "# Port search: " << machine.registry_files.size() << " registry files\n";
  SimRegistry registry = LoadMachineRegistry(machine);
  PortSearch port;
  PortExplainLines port_lines(std::cout);
  FindPrinterPort(registry, port, &port_lines);
  std::cout << "PortName\t" << Trace::Escape(port.PortName) << "\n";

  std::cout << "# Installation\n";
  const Text inf_path = InfPath(machine.program_folder);
  SimSystem system(machine);
  if (!system.FileExists(inf_path)) {
    std::cout << "Result\tno driver package: " << Trace::Escape(inf_path) << " is missing\n";
    return;
  }
  const Text command =
      PrintUiCommandLine(detection.ModelName, inf_path, port.PortName, detection.ModelName);
  std::cout << "CommandLine\t" << Trace::Escape(command) << "\n";
  SimSpooler spooler(machine, system);
  spooler.Run(command);
  if (spooler.PrinterExists(detection.ModelName, port.PortName)) {
    std::cout << "Result\tprinter \"" << Trace::Escape(detection.ModelName) << "\" on "
              << Trace::Escape(port.PortName) << "\n";
  }
  for (const std::string& error : spooler.errors()) std::cout << "Result\t" << error << "\n";
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
