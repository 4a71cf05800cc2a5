#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "base/text.h"

namespace px {

// Files kept from change while it lives.
class FileHold {
 public:
  virtual ~FileHold() = default;
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
  // nobody may change, rename or delete them, nor rename the folder. Null when the folder or
  // one of its files cannot be held (missing, or open for writing elsewhere).
  virtual std::unique_ptr<FileHold> HoldFiles(const Text& folder) = 0;
  // Whether Windows protected print mode is on, as the user set it in Settings or a policy did:
  // WindowsProtectedPrintInfo.IsProtectedPrintEnabled (Windows 11 24H2 and later). nullopt
  // where this Windows cannot tell (no such class, or the question failed): never "off".
  virtual std::optional<bool> ProtectedPrintEnabled() const = 0;
};

}  // namespace px
