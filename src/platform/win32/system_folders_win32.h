#pragma once

#include "base/win32/windows_api.h"
#include "platform/system_error.h"
#include "platform/win32/application_path.h"

namespace px::win32 {

// The running process's answers for ApplicationPathFor: GetSystemDirectoryW,
// GetWindowsDirectoryW and RunsUnderWow64().
Expected<SystemFolders> QuerySystemFolders();

// Whether this is a 32-bit process under WOW64 on x64 or ARM64 Windows (UnderWow64 with the
// answers of IsWow64Process2, or of IsWow64Process where Windows before 10 (1511) lacks it).
bool RunsUnderWow64();

// Loads a DLL of the system folder, never one of the program's folder or the PATH: with
// LOAD_LIBRARY_SEARCH_SYSTEM32, or by its full path in the system folder where Windows 7
// without KB2533623 refuses that flag. Null when there is none.
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace px::win32
