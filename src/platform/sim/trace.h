#pragma once

#include <ostream>
#include <string_view>

#include "platform/line_sink.h"

namespace px::sim {

// Run-log lines into a stream, each flushed as it comes, so that a run that stops half-way
// leaves every line it wrote.
class StreamSink : public LineSink {
 public:
  explicit StreamSink(std::ostream& out) : out_(out) {}
  void Write(std::string_view line) override { out_.write(line.data(), line.size()).flush(); }

 private:
  std::ostream& out_;
};

}  // namespace px::sim
