#pragma once

#include <cassert>
#include <utility>
#include <variant>

#include "base/text.h"

namespace px {

// An unexpected failure of a system call (a WMI or COM error, a process that cannot be
// started). The platform layer names it once, with the system's own text; the installer shows
// it in its error box and ends.
struct SystemError {
  Text text;
};

// A value or the SystemError that prevented it.
template <class T>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : state_(std::move(value)) {}            // NOLINT: implicit by design
  Expected(SystemError error) : state_(std::move(error)) {}  // NOLINT

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() {
    assert(ok());
    return std::get<0>(state_);
  }
  const T& value() const {
    assert(ok());
    return std::get<0>(state_);
  }
  const SystemError& error() const {
    assert(!ok());
    return std::get<1>(state_);
  }

 private:
  std::variant<T, SystemError> state_;
};

struct Done {};
using Status = Expected<Done>;
inline Status Ok() { return Done{}; }

}  // namespace px
