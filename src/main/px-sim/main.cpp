// px-sim: the installer on a simulated Windows PC, and tools for support engineers.
#include <iostream>

#include "commands.h"
#include "platform/sim/dependent_list.h"

namespace px::sim {

namespace {

Machine LoadNamedMachine(const std::string& machine) {
  if (machine.empty()) return LoadMachine(MachinesDir() / "default");
  const std::filesystem::path path(machine);
  if (std::filesystem::exists(path)) return LoadMachine(path);
  if (path.filename() == path && std::filesystem::exists(MachinesDir() / path)) {
    return LoadMachine(MachinesDir() / path);
  }
  throw MachineFileMissing(machine + ": no such machine folder");
}

}  // namespace

Machine LoadMachineArg(const std::string& machine) {
  Machine loaded = LoadNamedMachine(machine);
  for (const std::string& warning : loaded.warnings) std::cerr << "px-sim: " << warning << "\n";
  return loaded;
}

}  // namespace px::sim

int main(int argc, char** argv) {
  CLI::App app{"px-sim: px-installer on a simulated Windows PC"};
  app.require_subcommand(1);
  px::sim::AddRunCommand(app);
  px::sim::AddDetectCommand(app);
  px::sim::AddModelsCommand(app);
  px::sim::AddReplayCommand(app);
  px::sim::AddPortCommand(app);
  px::sim::AddGalleryCommand(app);
  px::sim::AddPrintCommand(app);
  px::sim::AddEscPosCommand(app);
  px::sim::AddFaultsCommand(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::RuntimeError& error) {
    return error.get_exit_code();  // the installer's exit code, or a command's own failure
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);  // prints the help, or the error and a hint
    return code == 0 ? 0 : EX_USAGE;
  } catch (const px::sim::MachineFileMissing& error) {
    std::cerr << "px-sim: " << error.what() << "\n";
    return EX_NOINPUT;
  } catch (const px::sim::MachineError& error) {
    std::cerr << "px-sim: " << error.what() << "\n";
    return EX_DATAERR;
  }
  return 0;
}
