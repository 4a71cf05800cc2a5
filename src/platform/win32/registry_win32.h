#pragma once

#include "platform/registry.h"

namespace px::win32 {

// The registry through advapi32's narrow-character functions, and the conversions of the
// system's ANSI code page (CP_ACP). Each call maps onto one Windows call.
class Win32Registry : public Registry {
 public:
  std::int32_t RegOpenKeyA(RegKey root, const char* sub_key, RegKey* result) override;
  std::int32_t RegOpenKeyExA(RegKey root, const char* sub_key, std::uint32_t options,
                             std::uint32_t sam_desired, RegKey* result) override;
  std::int32_t RegQueryValueExA(RegKey key, const char* value_name, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* data_size) override;
  std::int32_t RegEnumKeyA(RegKey key, std::uint32_t index, char* name,
                           std::uint32_t name_size) override;
  std::int32_t RegCloseKey(RegKey key) override;
  std::string ToAnsi(TextView text) const override;
  Text FromAnsi(std::string_view bytes) const override;
};

}  // namespace px::win32
