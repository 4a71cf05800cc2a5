#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <variant>

#include "base/text.h"
#include "controls/common/control_error.h"
#include "controls/common/font.h"
#include "controls/common/picture.h"

namespace px {

// One stored setting of a control. std::monostate is "nothing": an absent default, a picture
// property without a picture.
using PropertyValue = std::variant<std::monostate, bool, std::int32_t, Text, PictureRef, Font>;

// The host's named store of a control's settings. Reading an absent key gives the default;
// writing a value equal to the default given with it leaves the key out of the store (so a
// saved frame carries only what differs from its defaults); writing without a default always
// stores.
class PropertyStore {
 public:
  virtual ~PropertyStore() = default;
  virtual PropertyValue Read(TextView key, const PropertyValue& default_value) const = 0;
  virtual void Write(TextView key, const PropertyValue& value,
                     const std::optional<PropertyValue>& default_value) = 0;
};

// Conversions of stored values, as the controls' language converts a variant. A text converts
// as a decimal number (blanks around it allowed, a fraction and an exponent allowed, the result
// to the nearest integer with a half to the even neighbour). A text that is not a number, a
// picture or a font is a type mismatch; a number out of range is an overflow. Nothing converts
// to 0, true to -1.
ControlResult<std::int32_t> ToInt32(const PropertyValue& value);
ControlResult<std::int16_t> ToInt16(const PropertyValue& value);
// A number is true when it is not 0; a text is "True" or "False" (any case) or a number.
ControlResult<bool> ToBoolean(const PropertyValue& value);
// A number in decimal, a boolean as "True" or "False", nothing as the empty text; a picture or
// a font is a type mismatch.
ControlResult<Text> ToText(const PropertyValue& value);

// Equality as the store judges "equal to its default": same kind and value, or a number and a
// text that converts to the same number (the stored colour 14346732 equals the default
// "14346732"). Pictures are equal when they are the same object.
bool SameValue(const PropertyValue& a, const PropertyValue& b);

// The property store of the simulated host and of tests.
class MemoryPropertyStore final : public PropertyStore {
 public:
  PropertyValue Read(TextView key, const PropertyValue& default_value) const override;
  void Write(TextView key, const PropertyValue& value,
             const std::optional<PropertyValue>& default_value) override;

  bool Contains(TextView key) const { return values_.contains(Text(key)); }
  // Puts a value in as a saved file would hold it, bypassing the default rule.
  void Set(TextView key, PropertyValue value) { values_[Text(key)] = std::move(value); }
  const std::map<Text, PropertyValue>& values() const { return values_; }

 private:
  std::map<Text, PropertyValue> values_;
};

}  // namespace px
