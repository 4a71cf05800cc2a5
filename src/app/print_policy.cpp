#include "app/print_policy.h"

#include <algorithm>
#include <string>

namespace px {

namespace {

// KEY_WOW64_64KEY: Group Policy writes the machine's own view of the registry; a 32-bit program
// on 64-bit Windows reads that view only when it asks for it (32-bit Windows ignores the flag).
constexpr std::uint32_t kPolicyAccess = kKeyRead | 0x0100;

// A REG_DWORD policy value; nullopt when the key or the value is missing or of another type.
std::optional<std::uint32_t> ReadDword(Registry& registry, const char* key_name,
                                       const char* value_name) {
  ScopedRegKey key(registry);
  if (registry.RegOpenKeyExA(kHkeyLocalMachine, key_name, 0, kPolicyAccess, key.put()) !=
      kErrorSuccess) {
    return std::nullopt;
  }
  std::uint32_t type = 0;
  std::uint8_t data[4] = {};
  std::uint32_t size = sizeof data;
  if (registry.RegQueryValueExA(key.get(), value_name, &type, data, &size) != kErrorSuccess ||
      type != kRegDword || size != sizeof data) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(data[0] | (data[1] << 8) | (data[2] << 16) |
                                    (static_cast<std::uint32_t>(data[3]) << 24));
}

// A REG_SZ policy value; empty when missing, of another type or absurdly long.
Text ReadString(Registry& registry, const char* key_name, const char* value_name) {
  ScopedRegKey key(registry);
  if (registry.RegOpenKeyExA(kHkeyLocalMachine, key_name, 0, kPolicyAccess, key.put()) !=
      kErrorSuccess) {
    return {};
  }
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  constexpr std::uint32_t kMaxBytes = 64 * 1024;
  if (registry.RegQueryValueExA(key.get(), value_name, &type, nullptr, &size) != kErrorSuccess ||
      (type != kRegSz && type != kRegExpandSz) || size == 0 || size > kMaxBytes) {
    return {};
  }
  std::string bytes(size, '\0');
  if (registry.RegQueryValueExA(key.get(), value_name, &type,
                                reinterpret_cast<std::uint8_t*>(bytes.data()),
                                &size) != kErrorSuccess) {
    return {};
  }
  bytes.resize(std::min<std::size_t>(size, bytes.size()));
  if (const std::size_t nul = bytes.find('\0'); nul != std::string::npos) bytes.resize(nul);
  return registry.FromAnsi(bytes);
}

TextView Trimmed(TextView text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

bool ListsDevice(TextView approved, TextView vid, TextView pid) {
  while (!approved.empty()) {
    const std::size_t comma = approved.find(u',');
    const TextView entry = Trimmed(approved.substr(0, comma));
    approved = comma == TextView::npos ? TextView() : approved.substr(comma + 1);
    const std::size_t slash = entry.find(u'/');
    if (slash == TextView::npos) continue;
    if (SameIgnoringAsciiCase(Trimmed(entry.substr(0, slash)), vid) &&
        SameIgnoringAsciiCase(Trimmed(entry.substr(slash + 1)), pid)) {
      return true;
    }
  }
  return false;
}

PrintPolicy CheckPrintPolicy(Registry& registry, const SystemInfo& system, bool whql_signed,
                             TextView product_id) {
  PrintPolicy policy;
  // The policy wins over what the user chose in Settings; either one on is enough.
  const std::optional<std::uint32_t> wpp =
      ReadDword(registry, kProtectedPrintPolicyKey, "WindowsProtectedPrintGroupPolicyState");
  if (wpp == 1u) {
    policy.block = PrintPolicy::kProtectedPrint;
    policy.protected_by = u"policy";
  } else if (system.ProtectedPrintEnabled() == true) {
    policy.block = PrintPolicy::kProtectedPrint;
    policy.protected_by = u"settings";
  }

  // A level outside 0 ... 4 is none Windows knows; it keeps its default then.
  const std::optional<std::uint32_t> level =
      ReadDword(registry, kDriverPolicyKey, "ValidationLevel");
  if (level && *level <= kLevelAnySignature) policy.level = *level;
  // A WHQL-signed package passes from level 2 on; a package signed by its vendor only at 4.
  const std::uint32_t needed = whql_signed ? kLevelWhql : kLevelAnySignature;
  if (policy.block == PrintPolicy::kNone && policy.level < needed) {
    policy.block = PrintPolicy::kSignature;
  }

  if (ReadDword(registry, kPrintersPolicyKey, "EnableDeviceControl") == 1u &&
      !ListsDevice(ReadString(registry, kPrintersPolicyKey, "ApprovedUsbPrintDevices"), u"1A86",
                   product_id)) {
    policy.approval_missing = u"1A86/" + Text(product_id);
  }
  return policy;
}

}  // namespace px
