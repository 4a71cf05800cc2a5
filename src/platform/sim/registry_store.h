#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/registry.h"
#include "platform/sim/text_case.h"

namespace px::sim {

// Registry names compare without regard to letter case (text_case.h), as Windows keeps its
// sub-keys sorted.

// The longest key name Windows accepts, in characters.
inline constexpr std::size_t kMaxKeyNameLength = 255;

// A value as the registry keeps it: strings as UTF-16LE bytes, whatever the code page.
struct RegValue {
  Text name;
  std::uint32_t type = kRegNone;
  std::string data;
};

class RegKeyNode {
 public:
  explicit RegKeyNode(Text name);

  const Text& name() const { return name_; }
  bool deleted() const { return deleted_; }

  std::shared_ptr<RegKeyNode> FindChild(TextView name) const;
  // The existing child of that name, or a new one; null when the name is empty or too long.
  RegKeyNode* AddChild(TextView name);
  bool RemoveChild(TextView name);
  // Sub-keys in the registry's order: sorted by upcased name.
  std::size_t child_count() const { return children_.size(); }
  const RegKeyNode& child(std::size_t index) const { return *children_[index]; }

  const RegValue* FindValue(TextView name) const;
  void SetValue(RegValue value);
  bool RemoveValue(TextView name);
  std::size_t value_count() const { return values_.size(); }

 private:
  std::size_t LowerBound(TextView upper) const;
  void MarkDeleted();

  Text name_;
  Text upper_;
  bool deleted_ = false;
  std::vector<std::shared_ptr<RegKeyNode>> children_;
  std::map<Text, RegValue> values_;  // by upcased name
};

// The components of a key path. Runs of "\" count as one and a trailing "\" is ignored, as
// Windows and Wine parse a path; nullopt when it starts with "\".
std::optional<std::vector<TextView>> SplitKeyPath(TextView path);

// The keys under the predefined roots (HKEY_LOCAL_MACHINE ...). Key handles are nodes shared
// with the handle table, so that a key deleted while open is seen as deleted.
class RegistryStore {
 public:
  RegistryStore();

  // A predefined key's node; null for any other handle.
  std::shared_ptr<RegKeyNode> Root(RegKey predefined) const;
  // "HKEY_LOCAL_MACHINE" ... as .reg files name them; 0 when unknown.
  static RegKey RootForName(TextView name);

  std::shared_ptr<RegKeyNode> Find(RegKey root, TextView path) const;
  // Creates the key and the keys above it; null when a name is longer than kMaxKeyNameLength
  // or the path is malformed.
  RegKeyNode* Create(RegKey root, TextView path);
  // Deletes the key with its sub-keys; false when there is no such key.
  bool Delete(RegKey root, TextView path);

  // Shorthands for building a registry in code.
  void SetValue(RegKey root, TextView path, RegValue value);
  void SetString(RegKey root, TextView path, TextView name, TextView text);
  void SetDword(RegKey root, TextView path, TextView name, std::uint32_t number);

 private:
  std::map<RegKey, std::shared_ptr<RegKeyNode>> roots_;
};

// Text as the registry stores a REG_SZ: UTF-16LE with its terminating NUL.
std::string StringData(TextView text);
std::string DwordData(std::uint32_t number);

}  // namespace px::sim
