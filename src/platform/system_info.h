#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "platform/system_error.h"

namespace px {

// The files of a folder, kept from change while it lives.
class FileHold {
 public:
  virtual ~FileHold() = default;
  // The names of the folder's files, sorted; a link among them is named too.
  virtual std::vector<Text> Names() const = 0;
  // A held file's bytes, read through the handle that holds it: the bytes nobody could change
  // since the hold began. A link, or a name the hold does not have, is an error.
  virtual Expected<std::string> Read(const Text& name) const = 0;
};

// A folder the installer made for itself, where only SYSTEM and Administrators may change
// anything. It goes with its files when the object goes, unless Keep() was called: a program
// still reading from it then keeps it, and the next run's MakePrivateFolder removes it.
class PrivateFolder {
 public:
  virtual ~PrivateFolder() = default;
  // Its Windows path, without a trailing separator.
  virtual const Text& path() const = 0;
  // Creates a new file of the folder with these bytes.
  virtual Status Write(const Text& name, std::string_view bytes) = 0;
  virtual void Keep() = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // The folder of the program's executable, without a trailing separator; a drive root keeps
  // its separator ("C:\").
  virtual Text ProgramFolder() const = 0;
  // GetUserDefaultUILanguage: a LANGID such as 0x0804 (zh-CN) or 0x0409 (en-US).
  virtual std::uint16_t UserDefaultUiLanguage() const = 0;
  virtual bool FileExists(const Text& path) const = 0;
  // The machine's own processor architecture, not this 32-bit program's: "x86", "amd64",
  // "arm64" (as the run log names it).
  virtual Text NativeArchitecture() const = 0;
  // Opens every file of the folder without sharing write or deletion: while the hold lives,
  // nobody may change, rename or delete them, nor rename the folder. Null when there is no
  // such folder or it is a link; the error when Windows refused to open or list it. A file
  // that cannot be held (open for writing elsewhere) is named all the same, and reading it
  // answers why it is not held.
  virtual Expected<std::unique_ptr<FileHold>> HoldFiles(const Text& folder) = 0;
  // A new private folder under the system's temporary folder, after removing those that
  // earlier runs left behind.
  virtual Expected<std::unique_ptr<PrivateFolder>> MakePrivateFolder() = 0;
  // Whether Windows protected print mode is on, as the user set it in Settings or a policy did:
  // WindowsProtectedPrintInfo.IsProtectedPrintEnabled (Windows 11 24H2 and later). nullopt
  // where this Windows cannot tell (no such class, or the question failed): never "off".
  virtual std::optional<bool> ProtectedPrintEnabled() const = 0;
};

}  // namespace px
