#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/print_spooler.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_platform.h"

namespace px::sim {

// The machine's print spooler and the two commands the installer launches at it:
// "cmd /c net start spooler" and "rundll32 printui.dll,PrintUIEntry /if ...". The printer
// installation reads the INF file from the machine's files and fails where Windows fails: a
// missing INF, a model the INF does not define for the machine's architecture, an unknown port.
class SimSpooler : public PrintSpooler {
 public:
  SimSpooler(const Machine& machine, const SimSystem& system)
      : machine_(machine), system_(system), ports_(machine.ports), printers_(machine.printers) {}

  using Printer = PrinterQueue;

  // Carries out a launched command line.
  SimProcesses::Outcome Run(const Text& command_line);

  bool PrinterExists(const Text& printer_name, const Text& port_name) override;

  const std::vector<Printer>& printers() const { return printers_; }
  // What went wrong in each failed installation, as PrintUIEntry's error box would say it.
  const std::vector<std::string>& errors() const { return errors_; }
  bool running() const { return running_; }

 private:
  SimProcesses::Outcome PrintUiEntry(const std::vector<Text>& command_args);
  // The bytes of a file of the machine (the driver package), or nullopt when there is none.
  std::optional<std::string> ReadMachineFile(const Text& windows_path) const;
  void Error(std::string text) { errors_.push_back(std::move(text)); }

  const Machine& machine_;
  const SimSystem& system_;
  std::vector<Text> ports_;
  std::vector<Printer> printers_;
  std::vector<std::string> errors_;
  bool running_ = false;
};

}  // namespace px::sim
