#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"

namespace px {

// A registry key handle as the 32-bit program holds it. 0 is no key: every call on it fails
// with kErrorInvalidHandle, which is how a failed open shows up in the calls that follow.
using RegKey = std::uint32_t;

inline constexpr RegKey kHkeyClassesRoot = 0x80000000;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002;
inline constexpr RegKey kHkeyUsers = 0x80000003;
inline constexpr RegKey kHkeyCurrentConfig = 0x80000005;

// Status codes of the advapi32 registry functions.
inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorInvalidHandle = 6;
inline constexpr std::int32_t kErrorInvalidParameter = 87;
inline constexpr std::int32_t kErrorBadPathname = 161;
inline constexpr std::int32_t kErrorMoreData = 234;
inline constexpr std::int32_t kErrorNoMoreItems = 259;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// Access mask KEY_READ.
inline constexpr std::uint32_t kKeyRead = 0x20019;

// The narrow-character registry functions of advapi32, with their semantics: names are
// NUL-terminated texts in the system's ANSI code page, sizes are in bytes, results are status
// codes, and a string value reads back in the ANSI code page. The interface also owns the
// conversion between the installer's UTF-16 texts and that code page, so that no other code
// depends on the code page.
class Registry {
 public:
  virtual ~Registry() = default;

  // An empty or null sub_key opens root itself (the same handle comes back).
  virtual std::int32_t RegOpenKeyA(RegKey root, const char* sub_key, RegKey* result) = 0;
  virtual std::int32_t RegOpenKeyExA(RegKey root, const char* sub_key, std::uint32_t options,
                                     std::uint32_t sam_desired, RegKey* result) = 0;

  // With data null: the type and the size only. With a buffer of *data_size bytes that is too
  // short: kErrorMoreData, *data_size the size needed, the buffer untouched. type may be null.
  virtual std::int32_t RegQueryValueExA(RegKey key, const char* value_name, std::uint32_t* type,
                                        std::uint8_t* data, std::uint32_t* data_size) = 0;

  // The name of sub-key `index` (in the registry's order), NUL-terminated, into a buffer of
  // name_size bytes: kErrorMoreData when it does not fit, kErrorNoMoreItems past the last.
  virtual std::int32_t RegEnumKeyA(RegKey key, std::uint32_t index, char* name,
                                   std::uint32_t name_size) = 0;

  virtual std::int32_t RegCloseKey(RegKey key) = 0;

  // UTF-16 to the ANSI code page; a character the code page lacks becomes its default "?".
  virtual std::string ToAnsi(TextView text) const = 0;
  // The ANSI code page to UTF-16.
  virtual Text FromAnsi(std::string_view bytes) const = 0;
};

// Owns the key a routine opens: it starts at 0, the open fills it (or leaves it 0), and it is
// closed when the routine returns, whatever path it takes. Closing 0 fails harmlessly with
// kErrorInvalidHandle, as on Windows.
class ScopedRegKey {
 public:
  explicit ScopedRegKey(Registry& registry) : registry_(registry) {}
  ~ScopedRegKey() { registry_.RegCloseKey(key_); }
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;

  RegKey* put() { return &key_; }
  RegKey get() const { return key_; }

 private:
  Registry& registry_;
  RegKey key_ = 0;
};

}  // namespace px
