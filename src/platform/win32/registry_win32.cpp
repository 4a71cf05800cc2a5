#include "platform/win32/registry_win32.h"

#include "base/win32/windows_api.h"

namespace px::win32 {

namespace {

// The predefined keys are negative 32-bit numbers that HKEY sign-extends.
HKEY ToHkey(RegKey key) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(key)));
}

RegKey FromHkey(HKEY key) { return static_cast<RegKey>(reinterpret_cast<ULONG_PTR>(key)); }

}  // namespace

std::int32_t Win32Registry::RegOpenKeyA(RegKey root, const char* sub_key, RegKey* result) {
  HKEY key = nullptr;
  const LONG status = ::RegOpenKeyA(ToHkey(root), sub_key, result ? &key : nullptr);
  if (result) *result = FromHkey(key);
  return status;
}

std::int32_t Win32Registry::RegOpenKeyExA(RegKey root, const char* sub_key, std::uint32_t options,
                                          std::uint32_t sam_desired, RegKey* result) {
  HKEY key = nullptr;
  const LONG status =
      ::RegOpenKeyExA(ToHkey(root), sub_key, options, sam_desired, result ? &key : nullptr);
  if (result) *result = FromHkey(key);
  return status;
}

std::int32_t Win32Registry::RegQueryValueExA(RegKey key, const char* value_name,
                                             std::uint32_t* type, std::uint8_t* data,
                                             std::uint32_t* data_size) {
  DWORD value_type = type ? *type : 0;
  DWORD size = data_size ? *data_size : 0;
  const LONG status =
      ::RegQueryValueExA(ToHkey(key), value_name, nullptr, type ? &value_type : nullptr, data,
                         data_size ? &size : nullptr);
  if (type) *type = value_type;
  if (data_size) *data_size = size;
  return status;
}

std::int32_t Win32Registry::RegEnumKeyA(RegKey key, std::uint32_t index, char* name,
                                        std::uint32_t name_size) {
  return ::RegEnumKeyA(ToHkey(key), index, name, name_size);
}

std::int32_t Win32Registry::RegCloseKey(RegKey key) { return ::RegCloseKey(ToHkey(key)); }

std::string Win32Registry::ToAnsi(TextView text) const {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), size, nullptr, nullptr);
  return ansi;
}

Text Win32Registry::FromAnsi(std::string_view bytes) const {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), size);
  return FromWide(wide);
}

}  // namespace px::win32
