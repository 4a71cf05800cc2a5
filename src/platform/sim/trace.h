#pragma once

#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>

#include "base/text.h"

namespace px::sim {

// One UTF-8 line per visible effect: the milliseconds since start, then TAB-separated fields.
// A line break inside a text is written as the two characters \n (a TAB as \t, a CR as \r),
// so that every effect stays on one line.
class Trace {
 public:
  Trace(std::ostream* out, std::function<std::int64_t()> now_ms)
      : out_(out), now_ms_(std::move(now_ms)) {}

  bool enabled() const { return out_ != nullptr; }
  void Write(std::initializer_list<TextView> fields);

  static std::string Escape(TextView field);

 private:
  std::ostream* out_;
  std::function<std::int64_t()> now_ms_;
};

}  // namespace px::sim
