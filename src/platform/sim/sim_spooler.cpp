#include "platform/sim/sim_spooler.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "base/utf.h"
#include "platform/sim/command_line.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/driver_data.h"
#include "platform/sim/inf_file.h"
#include "platform/sim/text_case.h"

namespace px::sim {

namespace {

constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kServiceAlreadyRunning = 2;  // net.exe's exit code then

}  // namespace

SimProcesses::Outcome SimSpooler::Run(const Text& command_line) {
  const std::vector<Text> args = SplitCommandLine(command_line);
  if (args.empty()) return {kErrorFileNotFound, 0};
  const Text program = ProgramName(args[0]);
  // cmd takes its own switches (/d, /q ...) before the /c that ends them.
  std::size_t c = 1;
  while (program == u"CMD" && c < args.size() && args[c].starts_with(u'/') &&
         !SameNoCase(args[c], u"/c")) {
    ++c;
  }
  if (program == u"CMD" && args.size() == c + 4 && SameNoCase(args[c], u"/c") &&
      SameNoCase(args[c + 1], u"net") && SameNoCase(args[c + 2], u"start") &&
      SameNoCase(args[c + 3], u"spooler")) {
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
SimProcesses::Outcome SimSpooler::PrintUiEntry(const std::vector<Text>& command_args) {
  // @file names a file holding more arguments, read in its place.
  std::vector<Text> args;
  for (const Text& arg : command_args) {
    if (!arg.starts_with(u'@')) {
      args.push_back(arg);
      continue;
    }
    const std::optional<std::string> bytes = ReadMachineFile(arg.substr(1));
    if (!bytes) {
      Error("PrintUIEntry: the system cannot find the file specified: " + ToUtf8(arg.substr(1)));
      return {0, 200};
    }
    try {
      Text more = DecodeTextFile(*bytes, ToUtf8(arg.substr(1)));
      std::replace_if(
          more.begin(), more.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; },
          u' ');  // the file's lines are one command line
      for (Text& word : SplitCommandLine(more)) args.push_back(std::move(word));
    } catch (const MachineError& error) {
      Error(std::string("PrintUIEntry: the arguments are invalid: ") + error.what());
      return {0, 200};
    }
  }
  const PrintUiArguments parsed = ParsePrintUiArguments(args);
  if (!parsed.refused.empty()) {
    Error("PrintUIEntry: the arguments are invalid: " + ToUtf8(parsed.refused));
    return {0, 200};
  }
  if (parsed.command != u"/if" && !parsed.command.empty()) {
    Error("PrintUIEntry: " + ToUtf8(parsed.command) +
          " is not carried out on the simulated machine (only /if is)");
    return {0, 200};
  }
  if (parsed.command.empty() || parsed.base_name.empty() || parsed.inf_file.empty() ||
      parsed.model.empty()) {
    Error("PrintUIEntry: the arguments are invalid (need /if /b /f /m)");
    return {0, 200};
  }
  const Text& name = parsed.base_name;
  const Text& inf_path = parsed.inf_file;
  const Text& model = parsed.model;
  Text port = parsed.port;
  const std::optional<std::string> bytes = ReadMachineFile(inf_path);
  if (!bytes) {
    Error("PrintUIEntry: the system cannot find the file specified: " + ToUtf8(inf_path));
    return {0, 500};
  }
  std::optional<InfFile> inf;
  try {
    inf = InfFile::Parse(*bytes, system_.SourceName(inf_path));
  } catch (const MachineError& error) {
    Error(std::string("PrintUIEntry: the INF file is invalid: ") + error.what());
    return {0, 500};
  }
  const std::optional<InfFile::Line> model_line =
      inf->ModelLine(model, {machine_.arch, machine_.windows_version});
  if (!model_line) {
    Error("PrintUIEntry: the specified printer driver is unknown: " + ToUtf8(model));
    return {0, 1000};
  }
  // The model's printer description lies beside the INF and must read as Unidrv reads it.
  const Text folder = inf_path.substr(0, inf_path.find_last_of(u"\\/") + 1);
  if (const std::optional<std::string> problem = DriverDataProblem(
          *inf, *model_line,
          [this, &folder](const Text& name) { return ReadMachineFile(folder + name); })) {
    Error("PrintUIEntry: " + *problem);
    return {0, 1000};
  }
  if (port.empty()) port = u"LPT1:";
  bool known_port = false;
  for (const Text& p : ports_) known_port = known_port || SameNoCase(p, port);
  if (!known_port) {
    Error("PrintUIEntry: the specified port is unknown: " + ToUtf8(port));
    return {0, 1000};
  }
  // The driver goes in before the queue: a queue refused leaves it installed.
  InstallDriver(model, inf_path);
  if (AddPrinter({name, port, model}) == kErrorPrinterAlreadyExists) {
    Error("PrintUIEntry: the printer already exists (1802): " + ToUtf8(name));
    return {0, 1000};
  }
  return {0, machine_.install_ms};
}

std::optional<std::string> SimSpooler::ReadMachineFile(const Text& windows_path) const {
  return system_.ReadFile(windows_path);
}

}  // namespace px::sim
