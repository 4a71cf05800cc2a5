#pragma once

#include <vector>

#include "base/text.h"
#include "platform/registry.h"

namespace px {

// The first registry call that answered otherwise than a missing or unreadable key or value
// does (access denied, say): a search that came to nothing after one is no answer.
struct RegistryFailure {
  Text call;
  std::int32_t status = 0;
  // Keeps the call's status when it is the first such failure.
  void Note(TextView what, std::int32_t answer);
};

// The general registry readers. Neither reports an error: a missing key or value shows only in
// the result. Each opens its key with RegOpenKeyA and closes it before it returns.

// The REG_SZ value `value_name` of root\key_path up to its first NUL; default_text when the
// key or the value is missing, or the value has another type (REG_EXPAND_SZ included).
Text ReadRegistryString(Registry& registry, RegKey root, TextView key_path, TextView value_name,
                        TextView default_text);

// The names of the direct sub-keys of root\key_path in the registry's enumeration order. The
// list ends at the first index the registry refuses, so a name that does not fit a 255-byte
// buffer ends it there, and the names before it are kept.
std::vector<Text> EnumRegistrySubKeys(Registry& registry, RegKey root, TextView key_path,
                                      RegistryFailure* failure = nullptr);

}  // namespace px
