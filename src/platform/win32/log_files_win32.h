#pragma once

#include <memory>

#include "base/win32/windows_api.h"
#include "platform/log_files.h"

namespace px::win32 {

// Log files through handles: opened without following a reparse point
// (FILE_FLAG_OPEN_REPARSE_POINT), examined with GetFileInformationByHandle, renamed with
// SetFileInformationByHandle (FileRenameInfo). Shared for reading, writing and deletion, so
// that px-capture can copy the log and another run can append and rotate it.
class Win32LogFiles : public LogFiles {
 public:
  Text FullPath(const Text& path) override;
  std::unique_ptr<LogFile> Open(const Text& path) override;
};

// What a handle says of its file; zero links when it cannot say.
OpenedFileFacts FactsOf(HANDLE file);

// A full path as the kernel names it, for a rename through a handle: "C:\x" -> "\??\C:\x",
// "\\server\share\x" -> "\??\UNC\server\share\x", "\\?\C:\x" -> "\??\C:\x".
std::wstring NtPath(const Text& full_path);

}  // namespace px::win32
