#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/print_spooler.h"
#include "platform/sim/fault_plan.h"
#include "platform/sim/inf_file.h"

namespace px::sim {

// The USB devices present from one moment on: the whole Dependent list WMI would give then.
struct UsbSnapshot {
  std::int64_t from_ms = 0;
  std::string file;
  std::vector<Text> dependents;
};

// A printer queue the spooler holds: its name, its port (names separated by commas, as
// EnumPrinters gives them) and its driver.
using PrinterQueue = PrinterQueueInfo;

// A simulated Windows PC, loaded from a folder holding machine.toml (see docs/px-sim.md).
struct Machine {
  std::filesystem::path dir;
  std::uint16_t ui_language = 0x0804;  // LANGID of the user's UI language
  std::string locale = "zh-CN";        // the system locale
  unsigned ansi_code_page = 936;       // follows the system locale
  Text program_folder;                 // Windows path of the folder holding px-installer.exe
  std::filesystem::path package_dir;   // what stands for <program folder>\PX
  bool release = false;                // package_dir should be the release's package
  std::vector<std::filesystem::path> registry_files;  // .reg files, loaded in this order
  std::vector<UsbSnapshot> usb;                       // sorted by from_ms
  Architecture arch = Architecture::kAmd64;  // which INF models apply (NTx86, NTamd64, NTarm64)
  WindowsVersion windows_version;            // 10.0.22631 unless machine.toml says otherwise
  std::vector<Text> ports;  // the spooler's ports: LPT1: LPT2: LPT3: COM1: COM2: FILE: unless given
  std::vector<PrinterQueue> printers;  // the printers the spooler holds before the run
  std::vector<Text> drivers;  // drivers installed before the run, besides those of the printers
  std::int64_t install_ms = 2500;  // how long PrintUIEntry takes to install a printer
  // What WindowsProtectedPrintInfo.IsProtectedPrintEnabled answers; nullopt where the class is
  // unknown (before Windows 11 24H2), as on the built-in PC.
  std::optional<bool> protected_print;

  // Faults to play through: WMI's query failing from a moment on, programs that cannot start.
  std::optional<std::int64_t> wmi_error_from_ms;
  std::optional<std::int64_t> wmi_error_after;  // every enumeration fails after this many objects
  std::vector<Text> start_fails;  // program names as ProgramName gives them ("CMD", "RUNDLL32")
  // [[faults]]: the nth call of an operation fails with a documented error.
  std::vector<PlannedFault> planned_faults;

  // What the description holds that a reader should know of ("file:line: why"), such as a
  // language tag taken as a custom locale.
  std::vector<std::string> warnings;

  // The Dependent list WMI gives at that moment (empty before the first snapshot).
  const std::vector<Text>& DependentsAt(std::int64_t ms) const;
};

// Loads a machine folder (or its machine.toml). Throws MachineError naming file, line, reason.
Machine LoadMachine(const std::filesystem::path& path);

// The description itself, read from machine.toml's bytes; the files it names are read from
// dir.
Machine ParseMachine(std::string_view toml, const std::string& file_name,
                     const std::filesystem::path& dir);

// The repository's machines/ folder and driver package, where px-sim finds them.
std::filesystem::path MachinesDir();
std::filesystem::path DefaultPackageDir();

// "10.0.22631" -> {10, 0, 22631}: three whole numbers of up to nine digits; nullopt otherwise.
std::optional<WindowsVersion> ParseWindowsVersion(std::string_view text);

}  // namespace px::sim
