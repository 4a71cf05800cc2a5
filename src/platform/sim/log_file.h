#pragma once

#include <filesystem>
#include <memory>

#include "app/run_log.h"

namespace px::sim {

// A log file of the computer px-sim runs on (px-sim run --args "/log FILE"), appended to run
// after run in UTF-8, rotated as the installer rotates its own: a file past kLogRotateBytes is
// renamed before the run begins its lines. The file's folder is created when missing. Null when
// the file cannot be opened for writing: the run then goes on without a log.
std::unique_ptr<LineSink> OpenLogFile(const std::filesystem::path& path);

}  // namespace px::sim
