#pragma once

#include "platform/system_error.h"
#include "platform/win32/application_path.h"

namespace px::win32 {

// The running process's answers for ApplicationPathFor: GetSystemDirectoryW,
// GetWindowsDirectoryW and RunsUnderWow64().
Expected<SystemFolders> QuerySystemFolders();

// Whether this is a 32-bit process under WOW64 on x64 or ARM64 Windows (UnderWow64 with the
// answers of IsWow64Process2, or of IsWow64Process where Windows before 10 (1511) lacks it).
bool RunsUnderWow64();

}  // namespace px::win32
