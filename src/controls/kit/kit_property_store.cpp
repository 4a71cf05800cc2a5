#include "px/property_store.h"

#include <type_traits>

#include "controls/kit/kit_access.h"

namespace px::kit {
namespace {

// A saved value as the core's store holds it; no picture is nothing, as the core saves it.
px::PropertyValue ToCore(const PropertyValue& value) {
  return std::visit(
      [](const auto& v) -> px::PropertyValue {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Picture>) {
          if (!v) return std::monostate();
          return KitAccess::Ref(v);
        } else if constexpr (std::is_same_v<T, Font>) {
          return kit::ToCore(v);
        } else {
          return v;
        }
      },
      value);
}

}  // namespace

MemoryPropertyStore::MemoryPropertyStore() : impl_(std::make_unique<Impl>()) {}

MemoryPropertyStore::~MemoryPropertyStore() = default;

void MemoryPropertyStore::Set(std::u16string_view key, PropertyValue value) {
  impl_->store.Set(key, ToCore(value));
}

bool MemoryPropertyStore::Contains(std::u16string_view key) const {
  return impl_->store.Contains(key);
}

}  // namespace px::kit
