// px-sim port: the port search on a machine's registry, or on .reg files a customer exported.
#include <iostream>

#include "commands.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/trace.h"
#include "port/find_printer_port.h"

namespace px::sim {

namespace {

struct PortOptions {
  std::string machine;
  std::vector<std::string> reg_files;
  bool explain = false;
  bool stats = false;
};

// One line per interface key: name, vendor, port number, usbprint value, verdict.
class ExplainLines : public PortSearchNotes {
 public:
  explicit ExplainLines(std::ostream& out) : out_(out) {}

  void Note(const InterfaceNote& note) override {
    out_ << Trace::Escape(note.key_name) << "\t" << Trace::Escape(note.vendor) << "\t"
         << (!note.port_read            ? "-"
             : note.port_digits.empty() ? "none"
                                        : Trace::Escape(note.port_digits))
         << "\t";
    if (note.usbprint_value < 0) {
      out_ << "none";
    } else if (note.usbprint_status != 0) {
      out_ << note.usbprint_value << "=unreadable";
    } else {
      out_ << note.usbprint_value << "=" << Trace::Escape(note.instance);
    }
    out_ << "\t" << Verdict(note) << "\n";
  }

 private:
  static std::string Verdict(const InterfaceNote& note) {
    switch (note.verdict) {
      case InterfaceNote::kAccepted:
        return "accepted";
      case InterfaceNote::kOtherVendor:
        return "rejected: vendor is not 1A86";
      case InterfaceNote::kNotServed:
        return "rejected: no usbprint value names the device";
      case InterfaceNote::kUsbPrintUnreadable:
        return "rejected: usbprint value " + std::to_string(note.usbprint_value) +
               " cannot be read";
      case InterfaceNote::kNoPortNumber:
        return "rejected: no REG_DWORD Port Number";
    }
    return "";
  }

  std::ostream& out_;
};

void Port(const PortOptions& options) {
  const Machine machine = LoadMachineArg(options.machine);
  std::vector<std::filesystem::path> files = machine.registry_files;
  if (!options.reg_files.empty()) files.assign(options.reg_files.begin(), options.reg_files.end());
  SimRegistry registry = LoadRegistry(files, machine.ansi_code_page);

  ExplainLines explain(std::cout);
  PortSearch search;
  registry.ResetCalls();
  FindPrinterPort(registry, search, options.explain ? &explain : nullptr);
  if (options.stats) {
    std::cout << "registry-value-reads\t" << registry.calls().query_value << "\n";
  }
  std::cout << "PortName\t" << Trace::Escape(search.PortName) << "\n";
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
