#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/text.h"
#include "platform/sim/inf_file.h"

namespace px::sim {

// The data file a model installs with: the DataFile of the install section its models line
// names, or the section's own name when it gives none, as the print class installer takes it.
Text DataFileOf(const InfFile& inf, const InfFile::Line& model_line);

// The bytes of a file of the driver package by name, nullopt when the package has none.
using PackageFileReader = std::function<std::optional<std::string>(const Text& name)>;

// What stops the printer description of a model, with the files it includes, from being read
// as Unidrv reads it while the driver is installed: the data file is missing, or a file does
// not parse (the message names file and line). nullopt when it reads. Unidrv's own include
// files (StdNames.gpd ...) come with its data section and need not be in the package.
std::optional<std::string> DriverDataProblem(const InfFile& inf, const InfFile::Line& model_line,
                                             const PackageFileReader& read);

}  // namespace px::sim
