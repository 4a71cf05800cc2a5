#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"

namespace px::capture {

// A registry value as advapi32 hands it out: the raw bytes, strings in UTF-16LE.
struct ExportedValue {
  Text name;  // empty: the key's default value
  std::uint32_t type = 0;
  std::string data;
};

// A key with its full path ("HKEY_LOCAL_MACHINE\SYSTEM\...") and its values in the order the
// registry enumerates them.
struct ExportedKey {
  Text path;
  std::vector<ExportedValue> values;
};

// The bytes of a .reg file as `reg export` and regedit write one: UTF-16LE with a BOM, CR LF,
// the header "Windows Registry Editor Version 5.00", then each key (keys in the order given:
// a key before the keys below it) as "[path]", its values and a blank line. A REG_SZ that is
// one NUL-terminated text is written "text" (with \\ and \"), a REG_DWORD of 4 bytes dword:,
// REG_BINARY hex:, anything else hex(n): with lists wrapped as regedit wraps them (a line
// ends in "\" once it reaches 77 characters; the next starts with two blanks). No keys: the
// header alone, which imports as nothing.
std::string RegExportFile(const std::vector<ExportedKey>& keys);

}  // namespace px::capture
