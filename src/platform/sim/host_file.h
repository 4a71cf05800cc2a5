#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace px::sim {

// The bytes of a file of the Linux host (a machine's files, a job's bytes), or nothing when it
// cannot be opened or read.
std::optional<std::string> ReadHostFile(const std::filesystem::path& path);

}  // namespace px::sim
