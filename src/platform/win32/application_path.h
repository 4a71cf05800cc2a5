#pragma once

#include "platform/text.h"

namespace px::win32 {

// The executable that CreateProcessW is to run for a command line, named absolutely so that
// Windows does not search for it.
//
// A bare program name ("cmd", "rundll32.exe") would be searched in the installer's own folder
// and the current folder first: a program of that name planted there (an installer is often
// started from a Downloads folder) would run with administrator rights. A bare name is
// therefore taken from the system folder, with ".exe" added when it has no extension. A
// quoted or unquoted path is taken as it stands. Empty when the command line names nothing.
Text ApplicationPathFor(TextView command_line, TextView system_folder);

}  // namespace px::win32
