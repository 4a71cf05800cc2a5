#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"
#include "base/win32/unique_handle.h"

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

// %ProgramData%\px-installer\px-installer.log; empty when the system names no ProgramData.
Text DefaultLogPath();

// The program's arguments after its own name, split as CommandLineToArgvW splits them, and the
// raw text after the name.
std::vector<Text> CommandLineArguments();
Text CommandLineArgumentsText();

// Takes the named mutex that one unattended run at a time holds, across sessions, into held;
// false when another run holds it already. A mutex that cannot be made for another reason
// stops nothing.
bool ClaimUnattendedRun(UniqueKernelHandle& held);

}  // namespace px::win32
