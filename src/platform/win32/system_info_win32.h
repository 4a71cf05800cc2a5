#pragma once

#include "platform/system_info.h"

namespace px::win32 {

class Win32SystemInfo : public SystemInfo {
 public:
  Text ProgramFolder() const override;
  std::uint16_t UserDefaultUiLanguage() const override;
  bool FileExists(const Text& path) const override;
  Text NativeArchitecture() const override;
  // The folder itself and each file directly in it, opened for reading and shared for reading
  // only; Windows then refuses to write, rename or delete them, or to rename a folder above
  // them. Each is opened as the name itself: a folder that is a junction is refused, a file
  // that is a link is held as one and never read. Sub-folders are left alone: the package
  // keeps its files at its top.
  Expected<std::unique_ptr<FileHold>> HoldFiles(const Text& folder) override;
  // <windows>\Temp\px-package.<process id>, made with the DACL of the log's folder.
  Expected<std::unique_ptr<PrivateFolder>> MakePrivateFolder() override;
  // Asks the WinRT class through combase.dll, loaded from the system folder at run time: a
  // Windows without the class, or without WinRT at all (Windows 7), answers nullopt.
  std::optional<bool> ProtectedPrintEnabled() const override;
};

// The folder of a module path: no trailing separator, except that a drive root keeps it
// ("C:\x.exe" gives "C:\", because "C:" alone names the current folder of drive C).
Text FolderOf(TextView module_path);

}  // namespace px::win32
