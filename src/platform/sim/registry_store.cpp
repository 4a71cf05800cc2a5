#include "platform/sim/registry_store.h"

#include <algorithm>

namespace px::sim {

std::string StringData(TextView text) {
  std::string data;
  data.reserve(text.size() * 2 + 2);
  for (char16_t c : text) {
    data += static_cast<char>(c & 0xFF);
    data += static_cast<char>(c >> 8);
  }
  data.append(2, '\0');
  return data;
}

std::string DwordData(std::uint32_t number) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return data;
}

RegKeyNode::RegKeyNode(Text name) : name_(std::move(name)), upper_(Upcase(name_)) {}

std::size_t RegKeyNode::LowerBound(TextView upper) const {
  const auto at = std::lower_bound(
      children_.begin(), children_.end(), upper,
      [](const std::shared_ptr<RegKeyNode>& child, TextView u) { return child->upper_ < u; });
  return static_cast<std::size_t>(at - children_.begin());
}

std::shared_ptr<RegKeyNode> RegKeyNode::FindChild(TextView name) const {
  const Text upper = Upcase(name);
  const std::size_t at = LowerBound(upper);
  return at < children_.size() && children_[at]->upper_ == upper ? children_[at] : nullptr;
}

RegKeyNode* RegKeyNode::AddChild(TextView name) {
  if (name.empty() || name.size() > kMaxKeyNameLength) return nullptr;
  const Text upper = Upcase(name);
  const std::size_t at = LowerBound(upper);
  if (at < children_.size() && children_[at]->upper_ == upper) return children_[at].get();
  auto child = std::make_shared<RegKeyNode>(Text(name));
  RegKeyNode* added = child.get();
  children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(at), std::move(child));
  return added;
}

bool RegKeyNode::RemoveChild(TextView name) {
  const Text upper = Upcase(name);
  const std::size_t at = LowerBound(upper);
  if (at >= children_.size() || children_[at]->upper_ != upper) return false;
  children_[at]->MarkDeleted();
  children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(at));
  return true;
}

void RegKeyNode::MarkDeleted() {
  deleted_ = true;
  for (auto& child : children_) child->MarkDeleted();
}

const RegValue* RegKeyNode::FindValue(TextView name) const {
  const auto at = values_.find(Upcase(name));
  return at == values_.end() ? nullptr : &at->second;
}

void RegKeyNode::SetValue(RegValue value) {
  Text upper = Upcase(value.name);
  values_.insert_or_assign(std::move(upper), std::move(value));
}

bool RegKeyNode::RemoveValue(TextView name) { return values_.erase(Upcase(name)) > 0; }

std::optional<std::vector<TextView>> SplitKeyPath(TextView path) {
  if (!path.empty() && path.front() == u'\\') return std::nullopt;
  std::vector<TextView> parts;
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == TextView::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

RegistryStore::RegistryStore() {
  for (RegKey root :
       {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers, kHkeyCurrentConfig}) {
    roots_[root] = std::make_shared<RegKeyNode>(Text());
  }
}

std::shared_ptr<RegKeyNode> RegistryStore::Root(RegKey predefined) const {
  const auto at = roots_.find(predefined);
  return at == roots_.end() ? nullptr : at->second;
}

RegKey RegistryStore::RootForName(TextView name) {
  struct Named {
    TextView name;
    RegKey key;
  };
  static constexpr Named kRoots[] = {{u"HKEY_CLASSES_ROOT", kHkeyClassesRoot},
                                     {u"HKEY_CURRENT_USER", kHkeyCurrentUser},
                                     {u"HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
                                     {u"HKEY_USERS", kHkeyUsers},
                                     {u"HKEY_CURRENT_CONFIG", kHkeyCurrentConfig}};
  const Text upper = Upcase(name);
  for (const Named& root : kRoots) {
    if (upper == root.name) return root.key;
  }
  return 0;
}

std::shared_ptr<RegKeyNode> RegistryStore::Find(RegKey root, TextView path) const {
  std::shared_ptr<RegKeyNode> node = Root(root);
  const auto parts = SplitKeyPath(path);
  if (!node || !parts) return nullptr;
  for (TextView part : *parts) {
    node = node->FindChild(part);
    if (!node) return nullptr;
  }
  return node;
}

RegKeyNode* RegistryStore::Create(RegKey root, TextView path) {
  std::shared_ptr<RegKeyNode> start = Root(root);
  const auto parts = SplitKeyPath(path);
  if (!start || !parts) return nullptr;
  RegKeyNode* node = start.get();
  for (TextView part : *parts) {
    node = node->AddChild(part);
    if (!node) return nullptr;
  }
  return node;
}

bool RegistryStore::Delete(RegKey root, TextView path) {
  const auto parts = SplitKeyPath(path);
  if (!parts || parts->empty()) return false;
  const TextView last = parts->back();
  const TextView parent_path = path.substr(0, static_cast<std::size_t>(last.data() - path.data()));
  std::shared_ptr<RegKeyNode> parent = Find(root, parent_path);
  return parent && parent->RemoveChild(last);
}

void RegistryStore::SetValue(RegKey root, TextView path, RegValue value) {
  if (RegKeyNode* key = Create(root, path)) key->SetValue(std::move(value));
}

void RegistryStore::SetString(RegKey root, TextView path, TextView name, TextView text) {
  SetValue(root, path, {Text(name), kRegSz, StringData(text)});
}

void RegistryStore::SetDword(RegKey root, TextView path, TextView name, std::uint32_t number) {
  SetValue(root, path, {Text(name), kRegDword, DwordData(number)});
}

}  // namespace px::sim
