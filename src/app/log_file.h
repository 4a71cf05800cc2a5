#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>

namespace px {

// The installer's log file, appended to run after run, in UTF-8. Before a run begins its lines,
// a file that has passed kLogRotateBytes is renamed NAME.1.EXT (replacing an older one) and a
// new one begins, so that the log never holds more than about two megabytes. The programs open
// it; the installer's core only writes lines.
inline constexpr std::uintmax_t kLogRotateBytes = 1024 * 1024;

// The file's parent folder is created when missing. Null when the file cannot be opened for
// writing: the run then goes on without a log.
std::unique_ptr<std::ofstream> OpenLogFile(const std::filesystem::path& path);

// Where a log file is renamed to: "px-installer.log" -> "px-installer.1.log".
std::filesystem::path RotatedLogPath(const std::filesystem::path& path);

}  // namespace px
