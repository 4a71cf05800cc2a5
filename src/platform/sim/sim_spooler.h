#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/print_spooler.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_platform.h"

namespace px::sim {

// The machine's print spooler and the two commands the installer launches at it:
// "cmd /d /c net start spooler" and "rundll32 printui.dll,PrintUIEntry /if ...". The printer
// installation reads the INF file from the machine's files and fails where Windows fails: a
// missing INF, a model the INF does not define for the machine's architecture, an unknown port,
// a queue of that name already there.
//
// The queues and drivers answer the spooler's calls as Windows does: a driver a queue uses
// cannot be deleted, nor a package a driver uses. A driver that is a model of the machine's
// driver package comes from that package, staged in the driver store; any other driver from a
// package the machine does not describe (no INF path). A call the machine's faults make fail
// does nothing: a spooler that stopped or restarted keeps what it had committed.
class SimSpooler : public PrintSpooler, public FaultHook {
 public:
  SimSpooler(const Machine& machine, const SimSystem& system)
      : machine_(machine), system_(system), ports_(machine.ports), printers_(machine.printers) {
    LoadDrivers();
  }

  using Printer = PrinterQueue;

  // Carries out a launched command line.
  SimProcesses::Outcome Run(const Text& command_line);

  bool PrinterExists(const Text& printer_name, const Text& port_name) override;
  std::uint32_t EnumQueues(std::vector<PrinterQueueInfo>& queues) override;
  std::uint32_t GetQueue(const Text& name, PrinterQueueInfo& queue) override;
  std::uint32_t SetQueuePort(const Text& name, const Text& port) override;
  std::uint32_t DeleteQueue(const Text& name) override;
  std::uint32_t EnumDrivers(std::vector<PrinterDriverInfo>& drivers) override;
  std::uint32_t DeleteDriver(const Text& name, const Text& environment) override;
  std::uint32_t DeleteDriverPackage(const Text& inf_path, const Text& environment) override;

  const std::vector<Printer>& printers() const { return printers_; }
  const std::vector<PrinterDriverInfo>& drivers() const { return drivers_; }
  // The INF paths of the packages in the driver store.
  const std::vector<Text>& packages() const { return packages_; }
  // What went wrong in each failed installation, as PrintUIEntry's error box would say it.
  const std::vector<std::string>& errors() const { return errors_; }
  bool running() const { return running_; }

 private:
  SimProcesses::Outcome PrintUiEntry(const std::vector<Text>& command_args);
  // The bytes of a file of the machine (the driver package), or nullopt when there is none.
  std::optional<std::string> ReadMachineFile(const Text& windows_path) const;
  void Error(std::string text) { errors_.push_back(std::move(text)); }
  // The drivers of the machine's printers and its list of drivers, with their packages.
  void LoadDrivers();
  // Installs a driver from an INF file of the machine (staging its package) unless one of that
  // name is there.
  void InstallDriver(const Text& name, const Text& inf_path);
  // AddPrinter: 0, or 1802 when a queue of that name exists.
  std::uint32_t AddPrinter(const Printer& printer);
  Printer* FindPrinter(TextView name);
  // The environment a call names, or the 32-bit caller's own when it names none.
  Text EnvironmentOf(const Text& environment) const;

  const Machine& machine_;
  const SimSystem& system_;
  std::vector<Text> ports_;
  std::vector<Printer> printers_;
  std::vector<PrinterDriverInfo> drivers_;
  std::vector<Text> packages_;
  std::vector<std::string> errors_;
  bool running_ = false;
};

}  // namespace px::sim
