// A control setting stored as text: converted to a number, a boolean and back as the controls
// convert it. Any text gives a value or an error, and the conversions agree with each other.
#include <cstddef>
#include <cstdint>

#include "controls/common/property_store.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One character per byte: ASCII reaches the number syntax, the rest must be refused.
  const px::PropertyValue text = px::Text(data, data + size);
  const auto as_int32 = px::ToInt32(text);
  const auto as_int16 = px::ToInt16(text);
  const auto as_boolean = px::ToBoolean(text);

  // A number that fits 16 bits fits 32 the same; only numbers come out of both.
  if (as_int16) Check(as_int32 && as_int32.value() == as_int16.value());
  if (as_int32) {
    Check(as_boolean.ok());
    // The stored number and its decimal text are the same setting.
    const px::PropertyValue number = as_int32.value();
    const auto decimal = px::ToText(number);
    Check(decimal && px::ToInt32(decimal.value()).value() == as_int32.value());
    Check(px::SameValue(number, decimal.value()));
  } else {
    // Too large for a number (an overflow) still names a number: it is a boolean.
    const bool overflow = as_int32.error() == px::OverflowError();
    Check(overflow || as_int32.error() == px::TypeMismatchError());
    if (overflow) Check(as_boolean.ok());
  }
  // A text equal to a number as a default is that number.
  for (const std::int32_t n : {0, 1, -1}) {
    if (px::SameValue(px::PropertyValue(n), text)) Check(as_int32 && as_int32.value() == n);
  }
  return 0;
}
