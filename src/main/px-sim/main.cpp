// px-sim: the installer on a simulated Windows PC, and tools for support engineers.
#include <iostream>

#include "commands.h"
#include "platform/sim/dependent_list.h"

namespace px::sim {

Machine LoadMachineArg(const std::string& machine) {
  if (machine.empty()) return LoadMachine(MachinesDir() / "default");
  const std::filesystem::path path(machine);
  if (std::filesystem::exists(path)) return LoadMachine(path);
  if (path.filename() == path && std::filesystem::exists(MachinesDir() / path)) {
    return LoadMachine(MachinesDir() / path);
  }
  throw MachineError(machine + ": no such machine folder");
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
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  } catch (const px::sim::MachineError& error) {
    std::cerr << "px-sim: " << error.what() << "\n";
    return 2;
  }
  return 0;
}
