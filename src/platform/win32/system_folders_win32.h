#pragma once

#include "platform/system_error.h"
#include "platform/win32/application_path.h"

namespace px::win32 {

// The running process's answers for ApplicationPathFor: GetSystemDirectoryW,
// GetWindowsDirectoryW and RunsUnderWow64OnAmd64().
Expected<SystemFolders> QuerySystemFolders();

// Whether this is a 32-bit process on 64-bit x64 Windows. IsWow64Process2 tells the native
// machine; Windows before 10 (1511) lacks it, and there IsWow64Process answers, since those
// versions run WOW64 only on x64.
bool RunsUnderWow64OnAmd64();

}  // namespace px::win32
