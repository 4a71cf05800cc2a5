#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"

namespace px {

// px-installer's command line. With no argument the installer shows its window; /quiet runs
// the same sequence unattended, for deployment tools; /uninstall removes what it installed.
// Switches are taken as Windows tools take them: "/quiet" and "-quiet" alike, letter case ignored.
struct CommandLineOptions {
  bool quiet = false;
  bool usage = false;               // /? (or /help): show the usage and do nothing else
  bool uninstall = false;           // /uninstall: remove the package's printers and drivers
  std::int32_t wait_seconds = 300;  // /wait: how long to wait for a supported printer
  std::optional<Text> log_path;     // /log: the log file instead of the default one
};

struct ParsedCommandLine {
  CommandLineOptions options;
  Text error;  // empty when the whole command line was understood
};

// The arguments after the program's name, as CommandLineToArgvW splits them. A command line
// that holds /quiet anywhere is quiet, even when it is not understood: a deployment tool runs
// the installer where nobody can close a box.
ParsedCommandLine ParseCommandLine(const std::vector<Text>& args);

// Whether the program may show its window and message boxes: not when the command line holds
// /quiet, and not when nobody can see them (a window station that is not visible, as a
// service's).
inline bool MayShowWindows(const ParsedCommandLine& parsed, bool station_visible) {
  return !parsed.options.quiet && station_visible;
}

// The usage, for the message box /? shows.
TextView UsageText();

inline constexpr std::int32_t kMaxWaitSeconds = 86400;

}  // namespace px
