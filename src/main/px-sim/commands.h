#pragma once

#include <sysexits.h>

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "platform/sim/machine.h"

namespace px::sim {

// px-sim's own failures end with the codes of sysexits.h, which the installer never uses, so
// that a script tells a broken machine from a run of the installer: EX_USAGE (64) for a bad
// px-sim command line, EX_DATAERR (65) for a malformed machine file, EX_NOINPUT (66) for a
// missing one, EX_CANTCREAT (73) for an output that cannot be written. `run --args` passes the
// installer's own exit code through.

// Each px-sim command adds itself to the command line parser.
void AddRunCommand(CLI::App& app);
void AddDetectCommand(CLI::App& app);
void AddModelsCommand(CLI::App& app);
void AddReplayCommand(CLI::App& app);
void AddPortCommand(CLI::App& app);
void AddGalleryCommand(CLI::App& app);
void AddPrintCommand(CLI::App& app);
void AddEscPosCommand(CLI::App& app);
void AddFaultsCommand(CLI::App& app);

// MACHINE as given on the command line: a folder, a machine.toml, or the name of a folder
// under the repository's machines/; none: the built-in default machine.
Machine LoadMachineArg(const std::string& machine);

}  // namespace px::sim
