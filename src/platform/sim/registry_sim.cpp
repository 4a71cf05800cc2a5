#include "platform/sim/registry_sim.h"

#include <algorithm>
#include <cstring>

namespace px::sim {

namespace {

// An operation on a key that was deleted while it was open.
constexpr std::int32_t kErrorKeyDeleted = 1018;

bool IsStringType(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

}  // namespace

SimRegistry::SimRegistry(unsigned code_page) : code_page_(code_page) {}

SimRegistry::SimRegistry(RegistryStore store, CodePage code_page)
    : store_(std::move(store)), code_page_(std::move(code_page)) {}

std::shared_ptr<RegKeyNode> SimRegistry::Node(RegKey key) const {
  if (key == 0) return nullptr;
  if (std::shared_ptr<RegKeyNode> root = store_.Root(key)) return root;
  const auto at = handles_.find(key);
  return at == handles_.end() ? nullptr : at->second;
}

std::int32_t SimRegistry::Open(RegKey root, const char* sub_key, bool same_handle, RegKey* result) {
  if (!result) return kErrorInvalidParameter;
  *result = 0;
  const std::shared_ptr<RegKeyNode> base = Node(root);
  if (!base) return kErrorInvalidHandle;
  if (base->deleted()) return kErrorKeyDeleted;
  const Text path = sub_key ? FromAnsi(sub_key) : Text();
  if (path.empty() && same_handle) {
    *result = root;
    return kErrorSuccess;
  }
  const auto parts = SplitKeyPath(path);
  if (!parts) return kErrorBadPathname;
  std::shared_ptr<RegKeyNode> node = base;
  for (TextView part : *parts) {
    node = node->FindChild(part);
    if (!node) return kErrorFileNotFound;
  }
  // Handles are multiples of four and never reused, so a stale handle stays invalid.
  *result = next_handle_;
  next_handle_ += 4;
  handles_[*result] = std::move(node);
  return kErrorSuccess;
}

// A call refused before it did anything: no key is opened, no buffer is written.
std::int32_t SimRegistry::Refused(std::uint32_t error, RegKey* result) {
  if (result) *result = 0;
  return static_cast<std::int32_t>(error);
}

std::int32_t SimRegistry::RegOpenKeyA(RegKey root, const char* sub_key, RegKey* result) {
  ++calls_.open_key;
  if (const std::uint32_t error = Injected("RegOpenKeyA")) return Refused(error, result);
  return Open(root, sub_key, true, result);
}

std::int32_t SimRegistry::RegOpenKeyExA(RegKey root, const char* sub_key, std::uint32_t,
                                        std::uint32_t, RegKey* result) {
  ++calls_.open_key_ex;
  if (const std::uint32_t error = Injected("RegOpenKeyExA")) return Refused(error, result);
  return Open(root, sub_key, false, result);
}

std::string SimRegistry::AnsiData(const RegValue& value) const {
  if (!IsStringType(value.type)) return value.data;
  // An odd last byte is half a character; the narrow functions drop it.
  Text text(value.data.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(value.data[2 * i]) |
                                    (static_cast<unsigned char>(value.data[2 * i + 1]) << 8));
  }
  // NULs inside the value stay where they are: the conversion is done piece by piece.
  std::string ansi;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(u'\0', start);
    if (end == Text::npos) end = text.size();
    ansi += ToAnsi(TextView(text).substr(start, end - start));
    if (end < text.size()) ansi += '\0';
    start = end + 1;
  }
  return ansi;
}

std::int32_t SimRegistry::RegQueryValueExA(RegKey key, const char* value_name, std::uint32_t* type,
                                           std::uint8_t* data, std::uint32_t* data_size) {
  ++calls_.query_value;
  if (const std::uint32_t error = Injected("RegQueryValueExA")) return Refused(error, nullptr);
  const std::shared_ptr<RegKeyNode> node = Node(key);
  if (!node) return kErrorInvalidHandle;
  if (node->deleted()) return kErrorKeyDeleted;
  if (data && !data_size) return kErrorInvalidParameter;
  const RegValue* value = node->FindValue(value_name ? FromAnsi(value_name) : Text());
  if (!value) return kErrorFileNotFound;

  const std::string bytes = AnsiData(*value);
  const auto size = static_cast<std::uint32_t>(bytes.size());
  if (type) *type = value->type;
  if (!data) {
    if (data_size) *data_size = size;
    return kErrorSuccess;
  }
  const std::uint32_t room = *data_size;
  *data_size = size;
  if (room < size) return kErrorMoreData;
  std::memcpy(data, bytes.data(), size);
  return kErrorSuccess;
}

std::int32_t SimRegistry::RegEnumKeyA(RegKey key, std::uint32_t index, char* name,
                                      std::uint32_t name_size) {
  ++calls_.enum_key;
  if (const std::uint32_t error = Injected("RegEnumKeyA")) return Refused(error, nullptr);
  const std::shared_ptr<RegKeyNode> node = Node(key);
  if (!node) return kErrorInvalidHandle;
  if (node->deleted()) return kErrorKeyDeleted;
  if (index >= node->child_count()) return kErrorNoMoreItems;
  if (!name) return kErrorInvalidParameter;
  const std::string ansi = ToAnsi(node->child(index).name());
  if (ansi.size() + 1 > name_size) return kErrorMoreData;
  std::memcpy(name, ansi.c_str(), ansi.size() + 1);
  return kErrorSuccess;
}

std::int32_t SimRegistry::RegCloseKey(RegKey key) {
  ++calls_.close_key;
  if (key != 0 && store_.Root(key)) return kErrorSuccess;
  return handles_.erase(key) > 0 ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace px::sim
