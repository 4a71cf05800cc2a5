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

// PrintUIEntry's arguments (after "printui.dll,PrintUIEntry"), parsed as printui.dll parses
// them. Options are case-sensitive (/z keeps a printer unshared, /Z shares it). An option with
// a value takes it attached (/r"USB001" arrives as /rUSB001) or as the next argument. Every
// documented option is accepted; those that cannot change the outcome of an installation on
// this machine (/q /u /y /z /Z /Y /K /w, /a /c /F /h /j /l /n /t /v /G /W /Mw /Mq) are read
// and dropped.
struct PrintUiArguments {
  Text command;    // the one action: "/if", "/dl", "/Xs" ... (empty when none was given)
  Text base_name;  // /b: the printer's name
  Text inf_file;   // /f
  Text port;       // /r
  Text model;      // /m: the driver model as the INF names it
  // The first argument printui.dll refuses (an unknown option, a second action, a value
  // missing at the end, a stray word), or empty when all were taken.
  Text refused;
};
PrintUiArguments ParsePrintUiArguments(const std::vector<Text>& args);

}  // namespace px::sim
