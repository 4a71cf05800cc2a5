#pragma once

#include <cstdint>

#include "base/text.h"

// Kept free of windows.h: the choice of a program's path is a pure function of what Windows
// answers, so that it is tested with made-up answers on any system.

namespace px::win32 {

// What Windows says about where its programs lie.
struct SystemFolders {
  Text system;   // GetSystemDirectoryW: System32, or SysWOW64 for a 32-bit process on x64
  Text windows;  // GetWindowsDirectoryW
  // A 32-bit process under WOW64 on 64-bit Windows, x64 or ARM64. Its system folder holds the
  // 32-bit programs; the native ones are reached through <windows>\Sysnative.
  bool under_wow64 = false;
};

// What Windows answers about the running process's architecture.
struct Wow64Answers {
  // IsWow64Process2 (Windows 10 1511 and later): the process's machine,
  // IMAGE_FILE_MACHINE_UNKNOWN when it is not under WOW64, and the system's native machine.
  bool has_machines = false;
  std::uint16_t process_machine = 0;
  std::uint16_t native_machine = 0;
  // IsWow64Process, for older Windows, which runs WOW64 only on x64.
  bool is_wow64_process = false;
};

// Whether the system's own programs are to be reached through Sysnative: a 32-bit process under
// WOW64 on x64 (IMAGE_FILE_MACHINE_AMD64) or ARM64 (IMAGE_FILE_MACHINE_ARM64). Where
// IsWow64Process2 answered, its machines decide; otherwise IsWow64Process does.
bool UnderWow64(const Wow64Answers& answers);

// The executable that CreateProcessW is to run for a command line, named absolutely so that
// Windows does not search for it.
//
// A bare program name ("cmd", "rundll32.exe") would be searched in the installer's own folder
// and the current folder first: a program of that name planted there (an installer is often
// started from a Downloads folder) would run with administrator rights. A bare name is
// therefore taken from the system folder, with ".exe" added when it has no extension.
//
// rundll32 is the exception under WOW64 (on x64 and on ARM64 alike): the 32-bit one would install
// the printer driver for 32-bit Windows instead of the system's own architecture. The native one
// is taken instead, <windows>\Sysnative\rundll32.exe.
//
// A quoted or unquoted path is taken as it stands. Empty when the command line names nothing,
// or when the folder a bare name is to be taken from is unknown (empty).
Text ApplicationPathFor(TextView command_line, const SystemFolders& folders);

}  // namespace px::win32
