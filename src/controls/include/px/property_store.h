#pragma once

// Settings a control is restored from, as a saved form holds them.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "px/picture.h"

namespace px::kit {

// The font a button prints its caption with. A face the system lacks falls back to one of its
// own.
struct Font {
  std::u16string name = u"Microsoft Sans Serif";
  double size_points = 8.25;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

// One saved setting. std::monostate is "nothing", a picture property without a picture. A
// number may also be saved as its decimal text ("14346732"): loading converts it as the
// property wants it.
using PropertyValue =
    std::variant<std::monostate, bool, std::int32_t, std::u16string, Picture, Font>;

// Named settings in memory. A key the store lacks loads as the property's default; a value that
// does not convert to what the property wants fails the load with a type mismatch.
class MemoryPropertyStore {
 public:
  MemoryPropertyStore();
  ~MemoryPropertyStore();
  MemoryPropertyStore(const MemoryPropertyStore&) = delete;
  MemoryPropertyStore& operator=(const MemoryPropertyStore&) = delete;

  // Puts a value in under the property's name ("BackPicture", "Style", "Caption", ...).
  void Set(std::u16string_view key, PropertyValue value);
  bool Contains(std::u16string_view key) const;

 private:
  friend struct KitAccess;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace px::kit
