#pragma once

#include <vector>

#include "base/text.h"
#include "capture/machine_toml.h"
#include "capture/reg_export.h"
#include "platform/system_error.h"

namespace px::capture::win32 {

// A key under HKEY_LOCAL_MACHINE and everything below it, in the order reg export writes them
// (a key, its values, then each sub-key in the registry's order), read through the same view
// of the registry the installer has (no WOW64 flags). Empty when the key does not exist.
std::vector<ExportedKey> ReadLocalMachineTree(const Text& sub_path);

// The system's facts for machine.toml: computer, time, languages, Windows version, native
// architecture, program folder, the spooler's ports and printers. The file names are left to
// the caller.
CapturedMachine ReadMachineFacts();

// The name of the folder a capture goes to: px-capture-<computer>-<yyyymmdd-hhmmss>.
Text CaptureFolderName();

// The user's desktop folder; empty when Windows cannot say.
Text DesktopFolder();

// %ProgramData%\px-installer\px-installer.log, where the installer logs its runs.
Text InstallerLogPath();

// Writes the bytes to a new file (replacing one of that name).
Status WriteWholeFile(const Text& path, const std::string& bytes);

}  // namespace px::capture::win32
