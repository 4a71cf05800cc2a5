#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "base/text.h"
#include "platform/system_error.h"

namespace px {

enum class ShowState {
  kHidden,     // SW_HIDE
  kMinimized,  // SW_SHOWMINIMIZED: minimised and activated
};

// A started process; the installer never waits for one, it may only ask.
class Process {
 public:
  virtual ~Process() = default;
  // nullopt while the process runs, then its exit code.
  virtual std::optional<std::uint32_t> ExitCode() = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts the command line as it stands, without waiting for it.
  virtual Expected<std::unique_ptr<Process>> Start(const Text& command_line, ShowState show) = 0;
};

}  // namespace px
