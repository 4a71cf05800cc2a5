#include "platform/win32/application_path.h"

namespace px::win32 {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The first token of a command line as CreateProcessW reads it: up to the closing quote, or up
// to the first blank.
TextView FirstToken(TextView command_line) {
  std::size_t start = 0;
  while (start < command_line.size() && IsBlank(command_line[start])) ++start;
  command_line.remove_prefix(start);
  if (command_line.starts_with(u'"')) {
    command_line.remove_prefix(1);
    return command_line.substr(0, command_line.find(u'"'));
  }
  std::size_t end = 0;
  while (end < command_line.size() && !IsBlank(command_line[end])) ++end;
  return command_line.substr(0, end);
}

}  // namespace

Text ApplicationPathFor(TextView command_line, TextView system_folder) {
  const TextView program = FirstToken(command_line);
  if (program.empty()) return {};
  if (program.find_first_of(u"\\/:") != TextView::npos) return Text(program);
  Text path(system_folder);
  if (!path.empty() && path.back() != u'\\') path += u'\\';
  path += program;
  if (program.find(u'.') == TextView::npos) path += u".exe";
  return path;
}

}  // namespace px::win32
