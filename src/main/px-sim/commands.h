#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "platform/sim/machine.h"

namespace px::sim {

// Each px-sim command adds itself to the command line parser.
void AddRunCommand(CLI::App& app);
void AddDetectCommand(CLI::App& app);
void AddModelsCommand(CLI::App& app);
void AddReplayCommand(CLI::App& app);
void AddPortCommand(CLI::App& app);
void AddGalleryCommand(CLI::App& app);

// MACHINE as given on the command line: a folder, a machine.toml, or the name of a folder
// under the repository's machines/; none: the built-in default machine.
Machine LoadMachineArg(const std::string& machine);

}  // namespace px::sim
