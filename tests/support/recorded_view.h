#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/sim_view.h"
#include "platform/sim/trace.h"

namespace px::testing {

// The simulated window with its trace kept in memory: every effect as "Kind<TAB>text", without
// the time stamp.
class RecordedView {
 public:
  RecordedView() : trace_(&out_, [] { return std::int64_t{0}; }), view_(trace_, {}) {}

  sim::SimView& view() { return view_; }
  sim::SimView* operator->() { return &view_; }

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
  sim::Trace trace_;
  sim::SimView view_;
};

}  // namespace px::testing
