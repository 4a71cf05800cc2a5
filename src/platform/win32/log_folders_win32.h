#pragma once

#include "platform/log_files.h"

namespace px::win32 {

// The log's folder under ProgramData, as Windows describes it and as the installer makes it
// (the DACL of kProtectedFolderSddl). A folder is examined through a handle to the name itself
// (FILE_FLAG_OPEN_REPARSE_POINT), so a junction is seen as one and never followed.
class Win32LogFolders : public LogFolders {
 public:
  FolderFacts Inspect(const Text& folder) override;
  Text AccountSid() override;
  std::uint32_t CreateProtected(const Text& folder) override;
  std::uint32_t Protect(const Text& folder) override;
  std::uint32_t Rename(const Text& from, const Text& to) override;
};

// The ProgramData folder (SHGetKnownFolderPath, not the environment a user may have changed);
// empty when Windows names none.
Text ProgramDataFolder();

}  // namespace px::win32
