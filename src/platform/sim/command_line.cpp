#include "platform/sim/command_line.h"

#include "platform/sim/text_case.h"

namespace px::sim {

std::vector<Text> SplitCommandLine(TextView line) {
  std::vector<Text> args;
  Text arg;
  bool in_arg = false;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c == u'\\') {
      std::size_t n = 0;
      while (i + n < line.size() && line[i + n] == u'\\') ++n;
      in_arg = true;
      if (i + n < line.size() && line[i + n] == u'"') {
        arg.append(n / 2, u'\\');
        if (n % 2 == 1) {
          arg += u'"';
          i += n;  // the quote is taken
        } else {
          i += n - 1;  // the quote is handled next
        }
      } else {
        arg.append(n, u'\\');
        i += n - 1;
      }
    } else if (c == u'"') {
      in_arg = true;
      // Two quotes inside a quoted run stand for one literal quote.
      if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
        arg += u'"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if ((c == u' ' || c == u'\t') && !quoted) {
      if (in_arg) args.push_back(std::move(arg));
      arg.clear();
      in_arg = false;
    } else {
      arg += c;
      in_arg = true;
    }
  }
  if (in_arg) args.push_back(std::move(arg));
  return args;
}

Text ProgramName(TextView first_arg) {
  const std::size_t slash = first_arg.find_last_of(u"\\/");
  Text name = Upcase(slash == TextView::npos ? first_arg : first_arg.substr(slash + 1));
  if (name.ends_with(u".EXE")) name.resize(name.size() - 4);
  return name;
}

}  // namespace px::sim
