#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"

namespace px::win32 {

// What the installer's log says of the machine it ran on, each in a word or two.

// The version as RtlGetVersion reports it, whatever the manifest: "10.0.22631".
Text WindowsVersionText();
// The machine's own architecture, not the 32-bit process's: "x86", "amd64", "arm64".
Text NativeArchitectureText();
// A LANGID as four hex digits and its name: "0804 zh-CN".
Text LanguageText(std::uint16_t lang_id);
// The user's locale: "zh-CN".
Text UserLocaleText();
// The current time in UTC: "2026-12-07 17:54:38 UTC".
Text UtcTimeText();

// The program's arguments after its own name, split as CommandLineToArgvW splits them, and the
// raw text after the name.
std::vector<Text> CommandLineArguments();
Text CommandLineArgumentsText();

// Whether the process's window station is visible (WSF_VISIBLE) and the process runs in a
// user's session: a service's station, that of a deployment tool's run as SYSTEM, or anything in
// session 0 is seen by nobody, and a box there waits for a click that never comes.
bool WindowStationVisible();

}  // namespace px::win32
