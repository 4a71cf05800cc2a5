#include "platform/sim/trace.h"

#include "base/utf.h"

namespace px::sim {

std::string Trace::Escape(TextView field) {
  std::string utf8 = ToUtf8(field);
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void Trace::Write(std::initializer_list<TextView> fields) {
  if (!out_) return;
  std::string line = std::to_string(now_ms_());
  for (TextView field : fields) {
    line += '\t';
    line += Escape(field);
  }
  line += '\n';
  *out_ << line;
  out_->flush();
}

}  // namespace px::sim
