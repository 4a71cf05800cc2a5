#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace px {

// The files of a driver package by name; names compare without regard to case, as on Windows.
using PackageFiles = std::map<std::string, std::string>;

// Applies Microsoft's documented rules for printer INF files and GPD files, and the printers' own
// command set, to a package: one finding per broken rule, each naming file and line where it
// can; empty when the package keeps them all.
std::vector<std::string> CheckDriverPackage(const PackageFiles& files,
                                            const std::string& inf_name = "PX.inf");

// The roll a model starts on, in mm, by its name: 57 or 58 standing in it means the 58 mm roll,
// 80 the 80 mm roll; a name that says neither gets the narrower roll, which loses nothing of a
// line.
int RollWidthOfName(std::string_view model);

}  // namespace px
