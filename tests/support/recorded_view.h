#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "app/run_lines.h"
#include "events/form_texts.h"
#include "platform/sim/trace.h"

namespace px::testing {

// Form1's texts with their trace kept in memory: every effect as "Kind<TAB>text", without the
// time stamp.
class RecordedView {
 public:
  RecordedView() : trace_(&sink_, [] { return std::int64_t{0}; }), form_(trace_) {}

  FormTexts& view() { return form_; }
  FormTexts* operator->() { return &form_; }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);)
      lines.push_back(line.substr(line.find('\t') + 1));
    return lines;
  }
  std::size_t Count(const std::string& line) const {
    std::size_t n = 0;
    for (const std::string& l : Lines()) n += l == line;
    return n;
  }
  void Clear() { out_.str(""); }

 private:
  std::ostringstream out_;
  sim::StreamSink sink_{out_};
  TraceLines trace_;
  FormTexts form_;
};

}  // namespace px::testing
