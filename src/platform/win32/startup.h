#pragma once

#include <optional>

#include "platform/system_error.h"

namespace px::win32 {

// What StartCom found: the process's COM security set before it (by a DLL loaded into the
// process, say), which WMI's calls then use instead of the installer's: why, for the log.
struct ComStart {
  std::optional<SystemError> security_set_before;
};

// COM for the UI thread (single-threaded apartment) with the process' security set so that
// WMI may impersonate the user, and only SYSTEM and Administrators may call the process.
// Once, at start-up, before any COM call.
Expected<ComStart> StartCom();

// Ends COM on the thread that started it.
void StopCom();

// Confines DLL loading to the system folder, before anything loads a DLL by name: an installer
// is often started from a Downloads folder, where a planted DLL would otherwise be found first.
// SetDefaultDllDirectories is looked up at run time (Windows 7 without KB2533623 lacks it);
// without it, SetDllDirectoryW(L"") at least takes the current folder out of the search.
void RestrictDllSearchToSystemFolder();

}  // namespace px::win32
