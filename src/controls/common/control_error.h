#pragma once

#include <cassert>
#include <cstdint>
#include <optional>
#include <utility>

#include "base/text.h"

namespace px {

// An error a control's property or method hands back to the caller that used it (a host
// handler, a property load): the run-time error numbers of the control's language, so a host
// can tell them apart the way it always has.
struct ControlError {
  std::int32_t number = 0;
  Text description;
  friend bool operator==(const ControlError&, const ControlError&) = default;
};

inline ControlError OverflowError() { return {6, u"Overflow"}; }
inline ControlError SubscriptOutOfRangeError() { return {9, u"Subscript out of range"}; }
inline ControlError TypeMismatchError() { return {13, u"Type mismatch"}; }

// A value of type T, or the ControlError that prevented it.
template <class T>
class [[nodiscard]] ControlResult {
 public:
  ControlResult(T value) : value_(std::move(value)) {}             // NOLINT: implicit by design
  ControlResult(ControlError error) : error_(std::move(error)) {}  // NOLINT

  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }
  const T& value() const {
    assert(ok());
    return *value_;
  }
  const ControlError& error() const {
    assert(!ok());
    return *error_;
  }

 private:
  std::optional<T> value_;
  std::optional<ControlError> error_;
};

// The outcome of a property set or a method that returns nothing.
class [[nodiscard]] ControlStatus {
 public:
  ControlStatus() = default;
  ControlStatus(ControlError error) : error_(std::move(error)) {}  // NOLINT: implicit by design

  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }
  const ControlError& error() const {
    assert(!ok());
    return *error_;
  }

 private:
  std::optional<ControlError> error_;
};

}  // namespace px
