#include "app/run_log.h"

#include "base/utf.h"

namespace px {

std::string RunLog::Escape(TextView field) {
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

void RunLog::Emit(std::string line) {
  line += '\n';
  out_->Write(line);
}

void RunLog::Write(std::initializer_list<TextView> fields) {
  if (!out_) return;
  std::string line = std::to_string(now_ms_());
  for (TextView field : fields) {
    line += '\t';
    line += Escape(field);
  }
  Emit(std::move(line));
}

void RunLog::WriteEscaped(std::string_view kind, std::string_view fields) {
  if (!out_) return;
  std::string line = std::to_string(now_ms_());
  line.append("\t").append(kind).append("\t").append(fields);
  Emit(std::move(line));
}

}  // namespace px
