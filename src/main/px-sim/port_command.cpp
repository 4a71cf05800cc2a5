// px-sim port: the port search on a machine's registry, or on .reg files a customer exported.
#include <iostream>

#include "app/run_log.h"
#include "commands.h"
#include "explain.h"
#include "platform/sim/reg_file.h"
#include "port/find_printer_port.h"

namespace px::sim {

namespace {

struct PortOptions {
  std::string machine;
  std::vector<std::string> reg_files;
  bool explain = false;
  bool stats = false;
};

void Port(const PortOptions& options) {
  const Machine machine = LoadMachineArg(options.machine);
  std::vector<std::filesystem::path> files = machine.registry_files;
  if (!options.reg_files.empty()) files.assign(options.reg_files.begin(), options.reg_files.end());
  SimRegistry registry = LoadRegistry(files, machine.ansi_code_page);

  // The search tells every interface it examines; --explain prints them.
  struct Explained : RunEvents {
    explicit Explained(bool shown) : shown(shown) {}
    void On(const RunEvent& event) override {
      if (const auto* port = std::get_if<event::Port>(&event); port && shown)
        lines.Note(port->note);
    }
    bool shown;
    PortExplainLines lines{std::cout};
  } explained(options.explain);
  PortSearch search;
  registry.ResetCalls();
  FindPrinterPort(registry, search, explained);
  if (options.stats) {
    std::cout << "registry-value-reads\t" << registry.calls().query_value << "\n";
  }
  std::cout << "PortName\t" << RunLog::Escape(search.PortName) << "\n";
}

}  // namespace

void AddPortCommand(CLI::App& app) {
  auto options = std::make_shared<PortOptions>();
  auto* command = app.add_subcommand(
      "port", "Find the printer's USB port in a machine's registry, as the installer does");
  command->add_option("MACHINE", options->machine, "Machine folder or name (default: built-in)");
  command
      ->add_option("--reg", options->reg_files,
                   "Search these .reg files (regedit or reg export) instead, in the "
                   "machine's code page")
      ->check(CLI::ExistingFile);
  command->add_flag("--explain", options->explain,
                    "One line per interface key examined, with the reason it was taken or not");
  command->add_flag("--stats", options->stats, "Count the registry value reads");
  command->callback([options] { Port(*options); });
}

}  // namespace px::sim
