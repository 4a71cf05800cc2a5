#pragma once

#include "base/win32/unique_handle.h"
#include "base/win32/windows_api.h"
#include "platform/log_files.h"

namespace px::win32 {

// The log's folder under ProgramData, as Windows describes it and as the installer makes it
// (the DACL of kProtectedFolderSddl). A folder is examined through a handle to the name itself
// (FILE_FLAG_OPEN_REPARSE_POINT), so a junction is seen as one and never followed; that handle,
// or the one a new folder was made with (NtCreateFile), is held for what follows.
class Win32LogFolders : public LogFolders {
 public:
  FolderFacts Inspect(const Text& folder) override;
  Text AccountSid() override;
  std::uint32_t CreateProtected(const Text& folder) override;
  std::uint32_t Protect() override;
  std::uint32_t Rename(const Text& from, const Text& to) override;
  std::unique_ptr<LogFolder> TakeHeld() override;

 private:
  UniqueKernelHandle held_;
};

// What a folder's handle says of it: its attributes, its owner and who may write in it.
FolderFacts FolderFactsOf(HANDLE folder);

// The ProgramData folder (SHGetKnownFolderPath, not the environment a user may have changed);
// empty when Windows names none.
Text ProgramDataFolder();

}  // namespace px::win32
