#pragma once

#include <memory>

#include "base/win32/unique_handle.h"
#include "base/win32/windows_api.h"
#include "platform/log_files.h"

namespace px::win32 {

// Log files through handles: their folder opened from the drive's root down, each folder by its
// name in the one above (NtCreateFile with a RootDirectory), and each file by its name in the
// held folder, without following a reparse point (FILE_OPEN_REPARSE_POINT); files examined with
// GetFileInformationByHandle and renamed relative to the folder (FileRenameInformation). Shared
// for reading, writing and deletion, so that px-capture can copy the log and another run can
// append and rotate it.
class Win32LogFiles : public LogFiles {
 public:
  Text FullPath(const Text& path) override;
  Text AccountSid() override;
  FolderWalk OpenFolder(const Text& folder) override;
};

// A folder's handle as the log's folder.
std::unique_ptr<LogFolder> HeldLogFolder(UniqueKernelHandle folder);

// What a handle says of its file; zero links when it cannot say.
OpenedFileFacts FactsOf(HANDLE file);

// A full path as the kernel names it, for a rename through a handle: "C:\x" -> "\??\C:\x",
// "\\server\share\x" -> "\??\UNC\server\share\x", "\\?\C:\x" -> "\??\C:\x".
std::wstring NtPath(const Text& full_path);

}  // namespace px::win32
