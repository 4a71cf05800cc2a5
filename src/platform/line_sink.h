#pragma once

#include <string_view>

namespace px {

// Where the lines of a run go: a file, a terminal, a test's buffer. The run log writes here;
// each backend offers its own kind of file.
class LineSink {
 public:
  virtual ~LineSink() = default;
  // One whole line, its '\n' included.
  virtual void Write(std::string_view line) = 0;
};

}  // namespace px
