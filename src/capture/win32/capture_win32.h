#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/win32/unique_handle.h"
#include "base/win32/windows_api.h"
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

// The installer's log (ProgramData\px-installer\px-installer.log), read through a handle
// checked as the installer checks its own: a folder that is no junction and whose owner is
// trusted, a file that is no link and has one name. Nothing when there is no such log.
std::optional<std::string> ReadInstallerLog();

// The folder the capture writes into, held open from its making to the end without sharing its
// deletion, so that it can be neither renamed away nor replaced by a junction meanwhile.
// Elevated (new_only), it is made new with a DACL of its own, not the one it would inherit from
// the desktop: SYSTEM and Administrators full control, the account that ran the tool read.
// Otherwise a folder that exists already is used. The folders above it are made when missing.
// Null, with GetLastError's code, when it cannot be made or opened.
px::win32::UniqueKernelHandle MakeCaptureFolder(const Text& folder, bool new_only);

// Writes the bytes to a file by its name in the held folder: with create_new only when nothing
// has that name (an elevated capture writes through no link), otherwise replacing a file of
// that name. folder_path names the folder in the error.
Status WriteWholeFile(HANDLE folder, const Text& folder_path, const Text& name,
                      const std::string& bytes, bool create_new);

}  // namespace px::capture::win32
