#pragma once

// What both controls' interfaces share: bounds in twips, colours, and the outcome of a property
// set or a method.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace px::kit {

// A control's place in its parent's client area: left, top, width, height, in twips (1/1440
// inch; 15 twips to a pixel at 96 dots per inch).
struct TwipRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// A colour as the controls' properties hold it, laid out as a COLORREF: 0x00BBGGRR, so RGB()
// makes one. A colour read back is the 32-bit value that was set; the controls paint with its
// low 24 bits.
using Color = std::uint32_t;

// What a refused property set or method reports: the run-time error numbers of the controls'
// own language (6 overflow, 9 subscript out of range, 13 type mismatch) and their text.
struct ControlError {
  std::int32_t number = 0;
  std::u16string description;
};

// The outcome of a property set or a method that returns nothing. A refused set leaves the
// control as it was.
class [[nodiscard]] ControlStatus {
 public:
  ControlStatus() = default;
  ControlStatus(ControlError error) : error_(std::move(error)) {}  // NOLINT: implicit by design

  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }
  // Only for a status that is not ok().
  const ControlError& error() const { return *error_; }

 private:
  std::optional<ControlError> error_;
};

}  // namespace px::kit
