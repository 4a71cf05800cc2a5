#pragma once

#include "base/text.h"
#include "platform/win32/application_path.h"

namespace px::win32 {

// The environment the installer's children (cmd for the spooler's start, rundll32 for
// PrintUIEntry) get instead of the installer's own, which the user who started it chose: a
// PATH or PATHEXT of theirs would pick the programs cmd runs, a windir of theirs the folder
// setup reads from. Built from the Windows folder alone, as Windows sets it for the system:
//   ALLUSERSPROFILE and ProgramData  <drive>\ProgramData
//   ComSpec                          <windows>\System32\cmd.exe
//   OS                               Windows_NT
//   PATH                             <windows>\System32;<windows>;<windows>\System32\Wbem
//   PATHEXT                          .COM;.EXE;.BAT;.CMD
//   SystemDrive                      the Windows folder's drive, "C:"
//   SystemRoot and windir            the Windows folder
//   TEMP and TMP                     <windows>\Temp, the system's
// as a block for CreateProcessW (CREATE_UNICODE_ENVIRONMENT): NAME=value strings, sorted
// without regard to case, each ended by a null, and one more null at the end.
Text ChildEnvironment(const SystemFolders& folders);

}  // namespace px::win32
