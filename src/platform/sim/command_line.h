#pragma once

#include <vector>

#include "base/text.h"

namespace px::sim {

// Splits a command line into arguments the way Windows programs do (CommandLineToArgvW):
// blanks separate, double quotes group, 2n backslashes before a quote give n backslashes and
// the quote toggles grouping, 2n+1 give n backslashes and a literal quote; other backslashes
// are literal.
std::vector<Text> SplitCommandLine(TextView line);

// The program a command line's first argument names, as Windows looks it up: its file name
// without folder and ".exe", in upper case ("C:\\Windows\\System32\\cmd.exe" -> "CMD").
Text ProgramName(TextView first_arg);

}  // namespace px::sim
