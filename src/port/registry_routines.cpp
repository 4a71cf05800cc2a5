#include "port/registry_routines.h"

#include <algorithm>
#include <string>

namespace px {

namespace {

// The bytes before the first NUL, or all of them.
std::string_view UpToNul(std::string_view bytes) {
  return bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
}

}  // namespace

void RegistryFailure::Note(TextView what, std::int32_t answer) {
  switch (answer) {
    case kErrorSuccess:
    case kErrorFileNotFound:
    case kErrorInvalidHandle:  // a key whose open failed, already noted
    case kErrorInvalidParameter:
    case kErrorBadPathname:
    case kErrorMoreData:
    case kErrorNoMoreItems:
      return;
    default:
      if (status == 0) {
        call = Text(what);
        status = answer;
      }
  }
}

Text ReadRegistryString(Registry& registry, RegKey root, TextView key_path, TextView value_name,
                        TextView default_text) {
  Text result(default_text);
  ScopedRegKey key(registry);
  registry.RegOpenKeyA(root, registry.ToAnsi(key_path).c_str(), key.put());

  const std::string name = registry.ToAnsi(value_name);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (registry.RegQueryValueExA(key.get(), name.c_str(), &type, nullptr, &size) == kErrorSuccess &&
      type == kRegSz) {
    // The buffer starts as blanks: a value stored without its terminator reads back whole.
    std::string buffer(size, ' ');
    std::uint32_t second_type = 0;
    registry.RegQueryValueExA(key.get(), name.c_str(), &second_type,
                              reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
    result = registry.FromAnsi(UpToNul(buffer));
  }
  return result;
}

std::vector<Text> EnumRegistrySubKeys(Registry& registry, RegKey root, TextView key_path,
                                      RegistryFailure* failure) {
  RegistryFailure unused;
  RegistryFailure& noted = failure ? *failure : unused;
  constexpr std::uint32_t kNameBufferSize = 255;
  std::vector<Text> list;
  ScopedRegKey key(registry);
  noted.Note(u"RegOpenKeyA",
             registry.RegOpenKeyA(root, registry.ToAnsi(key_path).c_str(), key.put()));
  std::string buffer;
  for (std::uint32_t index = 0;; ++index) {
    buffer.assign(kNameBufferSize, ' ');
    const std::int32_t status =
        registry.RegEnumKeyA(key.get(), index, buffer.data(), kNameBufferSize);
    noted.Note(u"RegEnumKeyA", status);
    if (status != kErrorSuccess) break;
    list.push_back(registry.FromAnsi(UpToNul(buffer)));
  }
  return list;
}

}  // namespace px
