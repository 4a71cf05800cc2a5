#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/sim/event_loop.h"
#include "platform/processes.h"
#include "platform/sim/fault_plan.h"
#include "platform/sim/machine.h"
#include "platform/system_info.h"
#include "platform/usb_associations.h"

namespace px::sim {

// WMI on the simulated machine: the Dependent list in force when the query runs, handed out one
// object at a time. The machine's faults make the query fail from a moment on, or every
// enumeration after a number of objects.
class SimUsb : public UsbAssociations, public FaultHook {
 public:
  SimUsb(const Machine& machine, const EventLoop& loop) : machine_(machine), loop_(loop) {}
  Expected<std::unique_ptr<UsbAssociationCursor>> Query() override;

 private:
  const Machine& machine_;
  const EventLoop& loop_;
};

// Process creation on the machine. A command the machine runs (the spooler's own
// start command, the printer installation) is handed to a runner that says how it ended.
class SimProcesses : public Processes, public FaultHook {
 public:
  // How a command ends: its exit code, and how long it runs.
  struct Outcome {
    std::uint32_t exit_code;
    std::int64_t run_ms;
  };
  // Carries out a command line on the machine.
  using Runner = std::function<Outcome(const Text& command_line)>;

  explicit SimProcesses(const EventLoop& loop) : loop_(loop) {}
  // Programs that cannot be started on this machine (as ProgramName names them).
  void SetStartFailures(std::vector<Text> programs) { start_fails_ = std::move(programs); }
  void SetRunner(Runner runner) { runner_ = std::move(runner); }

  Expected<std::unique_ptr<Process>> Start(const Text& command_line, ShowState show) override;

  const std::vector<Text>& launched() const { return launched_; }

 private:
  const EventLoop& loop_;
  Runner runner_;
  std::vector<Text> start_fails_;
  std::vector<Text> launched_;
};

// The machine's own facts: its program folder, UI language and files.
class SimSystem : public SystemInfo, public FaultHook {
 public:
  explicit SimSystem(const Machine& machine) : machine_(machine) {}
  Text ProgramFolder() const override { return machine_.program_folder; }
  std::uint16_t UserDefaultUiLanguage() const override { return machine_.ui_language; }
  // Files under <program folder>\PX are those of the machine's driver package.
  bool FileExists(const Text& path) const override;
  Text NativeArchitecture() const override;
  // The driver package's folder is held as a whole; holds() tells how many holds live.
  Expected<std::unique_ptr<FileHold>> HoldFiles(const Text& folder) override;
  std::optional<bool> ProtectedPrintEnabled() const override { return machine_.protected_print; }
  int holds() const { return holds_; }
  // Private folders live in the machine's memory, C:\Windows\Temp\px-package.1 and on.
  Expected<std::unique_ptr<PrivateFolder>> MakePrivateFolder() override;
  // The files of private folders that are there now (those kept included).
  std::size_t private_files() const { return private_files_.size(); }

  // The Linux path that stands for a Windows path, or empty when the machine has no such file.
  std::filesystem::path HostPath(const Text& windows_path) const;
  // A file's bytes, from a private folder or the driver package; nothing when there is none.
  std::optional<std::string> ReadFile(const Text& windows_path) const;
  // Where a file's text comes from, for messages about it: the package's Linux path (a private
  // copy names the package file it was copied from).
  std::string SourceName(const Text& windows_path) const;

 private:
  friend class SimPrivateFolder;
  friend class SimHold;
  const Machine& machine_;
  int holds_ = 0;
  int private_folders_ = 0;
  std::map<Text, std::string> private_files_;  // by the upcased Windows path
};

}  // namespace px::sim
