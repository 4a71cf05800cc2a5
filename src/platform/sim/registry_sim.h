#pragma once

#include "platform/sim/fault_plan.h"

#include <cstdint>
#include <map>
#include <memory>

#include "platform/registry.h"
#include "platform/sim/registry_code_page.h"
#include "platform/sim/registry_store.h"

namespace px::sim {

// How often each function was called since the registry was made or the counts were reset.
struct RegistryCalls {
  std::uint64_t open_key = 0;     // RegOpenKeyA
  std::uint64_t open_key_ex = 0;  // RegOpenKeyExA
  std::uint64_t query_value = 0;  // RegQueryValueExA: every value read counts
  std::uint64_t enum_key = 0;     // RegEnumKeyA
  std::uint64_t close_key = 0;    // RegCloseKey
};

// The simulated machine's registry behind the advapi32 interface: the status codes, sizes
// and orders of Windows, in the machine's ANSI code page.
class SimRegistry : public Registry, public FaultHook {
 public:
  explicit SimRegistry(unsigned code_page = 936);
  SimRegistry(RegistryStore store, CodePage code_page);

  RegistryStore& store() { return store_; }
  const CodePage& code_page() const { return code_page_; }
  const RegistryCalls& calls() const { return calls_; }
  void ResetCalls() { calls_ = {}; }
  // Keys opened and not closed yet.
  std::size_t open_handle_count() const { return handles_.size(); }

  std::int32_t RegOpenKeyA(RegKey root, const char* sub_key, RegKey* result) override;
  std::int32_t RegOpenKeyExA(RegKey root, const char* sub_key, std::uint32_t options,
                             std::uint32_t sam_desired, RegKey* result) override;
  std::int32_t RegQueryValueExA(RegKey key, const char* value_name, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* data_size) override;
  std::int32_t RegEnumKeyA(RegKey key, std::uint32_t index, char* name,
                           std::uint32_t name_size) override;
  std::int32_t RegCloseKey(RegKey key) override;
  std::string ToAnsi(TextView text) const override { return code_page_.Encode(text); }
  Text FromAnsi(std::string_view bytes) const override { return code_page_.Decode(bytes); }

 private:
  static std::int32_t Refused(std::uint32_t error, RegKey* result);
  // The node a handle names; null for 0 and for handles never given out or closed.
  std::shared_ptr<RegKeyNode> Node(RegKey key) const;
  // Opens sub_key below root; `same_handle` gives root back for an empty path.
  std::int32_t Open(RegKey root, const char* sub_key, bool same_handle, RegKey* result);
  // A value's data as the narrow functions give it: strings in the ANSI code page.
  std::string AnsiData(const RegValue& value) const;

  RegistryStore store_;
  CodePage code_page_;
  std::map<RegKey, std::shared_ptr<RegKeyNode>> handles_;
  RegKey next_handle_ = 0x100;
  RegistryCalls calls_;
};

}  // namespace px::sim
