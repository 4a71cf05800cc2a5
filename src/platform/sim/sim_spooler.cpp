#include "platform/sim/sim_spooler.h"

#include <fstream>
#include <sstream>

#include "platform/sim/command_line.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/inf_file.h"
#include "platform/sim/text_case.h"
#include "base/utf.h"

namespace px::sim {

namespace {

constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kServiceAlreadyRunning = 2;  // net.exe's exit code then

}  // namespace

SimProcesses::Outcome SimSpooler::Run(const Text& command_line) {
  const std::vector<Text> args = SplitCommandLine(command_line);
  if (args.empty()) return {kErrorFileNotFound, 0};
  const Text program = ProgramName(args[0]);
  if (program == u"CMD" && args.size() == 5 && SameNoCase(args[1], u"/c") &&
      SameNoCase(args[2], u"net") && SameNoCase(args[3], u"start") &&
      SameNoCase(args[4], u"spooler")) {
    if (running_) return {kServiceAlreadyRunning, 300};
    running_ = true;
    return {0, 1500};
  }
  if (program == u"RUNDLL32" && args.size() >= 2 &&
      SameNoCase(args[1], u"printui.dll,PrintUIEntry")) {
    return PrintUiEntry(std::vector<Text>(args.begin() + 2, args.end()));
  }
  return {kErrorFileNotFound, 0};  // nothing else is installed on this machine
}

// rundll32 ends with 0 whatever PrintUIEntry did: the outcome shows only in the spooler.
SimProcesses::Outcome SimSpooler::PrintUiEntry(const std::vector<Text>& args) {
  bool install = false;
  Text name, inf_path, port, model;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Text option = Upcase(args[i]);
    Text* value = option == u"/B"   ? &name
                  : option == u"/F" ? &inf_path
                  : option == u"/R" ? &port
                  : option == u"/M" ? &model
                                    : nullptr;
    if (option == u"/IF") {
      install = true;
    } else if (value && i + 1 < args.size()) {
      *value = args[++i];
    } else {
      Error("PrintUIEntry: the arguments are invalid: " + ToUtf8(args[i]));
      return {0, 200};
    }
  }
  if (!install || name.empty() || inf_path.empty() || model.empty()) {
    Error("PrintUIEntry: the arguments are invalid (need /if /b /f /m)");
    return {0, 200};
  }
  const std::filesystem::path file = system_.HostPath(inf_path);
  std::ifstream in(file, std::ios::binary);
  if (file.empty() || !in) {
    Error("PrintUIEntry: the system cannot find the file specified: " + ToUtf8(inf_path));
    return {0, 500};
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  std::set<Text> models;
  try {
    models =
        InfFile::Parse(bytes.str(), file.string()).Models(machine_.x64 ? u"NTamd64" : u"NTx86");
  } catch (const MachineError& error) {
    Error(std::string("PrintUIEntry: the INF file is invalid: ") + error.what());
    return {0, 500};
  }
  if (models.count(model) == 0) {
    Error("PrintUIEntry: the specified printer driver is unknown: " + ToUtf8(model));
    return {0, 1000};
  }
  if (port.empty()) port = u"LPT1:";
  bool known_port = false;
  for (const Text& p : ports_) known_port = known_port || SameNoCase(p, port);
  if (!known_port) {
    Error("PrintUIEntry: the specified port is unknown: " + ToUtf8(port));
    return {0, 1000};
  }
  printers_.push_back({name, port, model});
  return {0, machine_.install_ms};
}

bool SimSpooler::PrinterExists(const Text& printer_name, const Text& port_name) {
  for (const Printer& printer : printers_) {
    if (printer.name == printer_name && SameNoCase(printer.port, port_name)) return true;
  }
  return false;
}

}  // namespace px::sim
