// The simulated spooler's queues, drivers and driver store, as the spooler's API sees them.
#include <algorithm>
#include <cstdio>

#include "base/utf.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/inf_file.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/text_case.h"

namespace px::sim {

namespace {

constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorUnknownPort = 1796;
constexpr std::uint32_t kErrorUnknownPrinterDriver = 1797;

// Where the driver store keeps a package staged from an INF file:
// C:\Windows\System32\DriverStore\FileRepository\px.inf_amd64_<16 hex digits>\px.inf. The
// digits stand for the store's own hash; here they follow from the INF's name alone.
Text StorePath(TextView inf_path, Architecture arch) {
  const std::size_t slash = inf_path.find_last_of(u'\\');
  Text file(slash == TextView::npos ? inf_path : inf_path.substr(slash + 1));
  for (char16_t& c : file) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
  for (const char16_t c : file) hash = (hash ^ c) * 0x100000001b3ull;
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  return u"C:\\Windows\\System32\\DriverStore\\FileRepository\\" + file + u"_" +
         Text(ArchitectureName(arch)) + u"_" + Utf8Literal(digits) + u"\\" + file;
}

// Whether a port list as EnumPrinters gives it ("USB001" or "USB001, USB002") holds the port.
bool PortListHas(TextView ports, TextView port) {
  while (true) {
    const std::size_t comma = ports.find(u',');
    TextView one = ports.substr(0, comma);
    while (!one.empty() && one.front() == u' ') one.remove_prefix(1);
    while (!one.empty() && one.back() == u' ') one.remove_suffix(1);
    if (SameNoCase(one, port)) return true;
    if (comma == TextView::npos) return false;
    ports.remove_prefix(comma + 1);
  }
}

}  // namespace

void SimSpooler::LoadDrivers() {
  std::vector<Text> names = machine_.drivers;
  for (const Printer& printer : printers_) {
    if (!printer.driver.empty()) names.push_back(printer.driver);
  }
  const Text package_inf = machine_.program_folder + u"\\PX\\PX.inf";
  std::set<Text> package_models;
  if (const std::optional<std::string> bytes = ReadMachineFile(package_inf)) {
    try {
      package_models = InfFile::Parse(*bytes, system_.HostPath(package_inf).string())
                           .Models({machine_.arch, machine_.windows_version});
    } catch (const MachineError&) {
      // A package the spooler cannot read stages nothing: its drivers came from elsewhere.
    }
  }
  for (const Text& name : names) {
    if (package_models.count(name) != 0) {
      InstallDriver(name, package_inf);
    } else if (std::none_of(drivers_.begin(), drivers_.end(),
                            [&](const PrinterDriverInfo& d) { return SameNoCase(d.name, name); })) {
      drivers_.push_back({name, Text(), Text(DriverEnvironment(machine_.arch))});
    }
  }
}

void SimSpooler::InstallDriver(const Text& name, const Text& inf_path) {
  const Text staged = StorePath(inf_path, machine_.arch);
  if (std::find(packages_.begin(), packages_.end(), staged) == packages_.end()) {
    packages_.push_back(staged);
  }
  for (const PrinterDriverInfo& driver : drivers_) {
    if (SameNoCase(driver.name, name)) return;
  }
  drivers_.push_back({name, staged, Text(DriverEnvironment(machine_.arch))});
}

SimSpooler::Printer* SimSpooler::FindPrinter(TextView name) {
  for (Printer& printer : printers_) {
    if (SameNoCase(printer.name, name)) return &printer;
  }
  return nullptr;
}

std::uint32_t SimSpooler::AddPrinter(const Printer& printer) {
  if (FindPrinter(printer.name) != nullptr) return kErrorPrinterAlreadyExists;
  printers_.push_back(printer);
  return 0;
}

bool SimSpooler::PrinterExists(const Text& printer_name, const Text& port_name) {
  // OpenPrinter and GetPrinter: a spooler that cannot answer has no such printer.
  if (Injected("GetPrinter") != 0) return false;
  const Printer* printer = FindPrinter(printer_name);
  return printer != nullptr && PortListHas(printer->port, port_name);
}

std::uint32_t SimSpooler::EnumQueues(std::vector<PrinterQueueInfo>& queues) {
  if (const std::uint32_t error = Injected("EnumPrinters")) return error;
  queues = printers_;
  return 0;
}

std::uint32_t SimSpooler::GetQueue(const Text& name, PrinterQueueInfo& queue) {
  if (const std::uint32_t error = Injected("GetPrinter")) return error;
  const Printer* printer = FindPrinter(name);
  if (printer == nullptr) return kErrorInvalidPrinterName;
  queue = *printer;
  return 0;
}

std::uint32_t SimSpooler::SetQueuePort(const Text& name, const Text& port) {
  if (const std::uint32_t error = Injected("SetPrinter")) return error;
  Printer* printer = FindPrinter(name);
  if (printer == nullptr) return kErrorInvalidPrinterName;
  const auto known = std::find_if(ports_.begin(), ports_.end(),
                                  [&](const Text& p) { return SameNoCase(p, port); });
  if (known == ports_.end()) return kErrorUnknownPort;
  printer->port = *known;
  return 0;
}

std::uint32_t SimSpooler::DeleteQueue(const Text& name) {
  if (const std::uint32_t error = Injected("DeletePrinter")) return error;
  const Printer* printer = FindPrinter(name);
  if (printer == nullptr) return kErrorInvalidPrinterName;
  printers_.erase(printers_.begin() + (printer - printers_.data()));
  return 0;
}

std::uint32_t SimSpooler::EnumDrivers(std::vector<PrinterDriverInfo>& drivers) {
  if (const std::uint32_t error = Injected("EnumPrinterDrivers")) return error;
  drivers = drivers_;
  return 0;
}

// No environment is the caller's, and the installer is a 32-bit program: on a 64-bit PC that
// names drivers the machine does not have.
Text SimSpooler::EnvironmentOf(const Text& environment) const {
  return environment.empty() ? Text(DriverEnvironment(Architecture::kX86)) : environment;
}

std::uint32_t SimSpooler::DeleteDriver(const Text& name, const Text& environment) {
  if (const std::uint32_t error = Injected("DeletePrinterDriverEx")) return error;
  const Text in = EnvironmentOf(environment);
  const auto driver =
      std::find_if(drivers_.begin(), drivers_.end(), [&](const PrinterDriverInfo& d) {
        return SameNoCase(d.name, name) && SameNoCase(d.environment, in);
      });
  if (driver == drivers_.end()) return kErrorUnknownPrinterDriver;
  // The queues print through the drivers of the machine's own processor.
  for (const Printer& printer : printers_) {
    if (SameNoCase(printer.driver, name) && SameNoCase(in, DriverEnvironment(machine_.arch))) {
      return kErrorPrinterDriverInUse;
    }
  }
  drivers_.erase(driver);
  return 0;
}

std::uint32_t SimSpooler::DeleteDriverPackage(const Text& inf_path, const Text& environment) {
  if (const std::uint32_t error = Injected("DeletePrinterDriverPackage")) return error;
  // The store keeps a package per processor; only the machine's own is staged here.
  if (!SameNoCase(EnvironmentOf(environment), DriverEnvironment(machine_.arch))) {
    return kErrorFileNotFound;
  }
  const auto package = std::find_if(packages_.begin(), packages_.end(),
                                    [&](const Text& p) { return SameNoCase(p, inf_path); });
  if (package == packages_.end()) return kErrorFileNotFound;
  for (const PrinterDriverInfo& driver : drivers_) {
    if (SameNoCase(driver.inf_path, *package)) return kErrorPrinterDriverPackageInUse;
  }
  packages_.erase(package);
  return 0;
}

}  // namespace px::sim
