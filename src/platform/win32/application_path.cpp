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

// Programs that must run with the system's own architecture.
bool MustRunNatively(TextView program) {
  return SameIgnoringAsciiCase(program, u"rundll32") ||
         SameIgnoringAsciiCase(program, u"rundll32.exe");
}

Text Joined(TextView folder, TextView name) {
  Text path(folder);
  if (!path.empty() && path.back() != u'\\') path += u'\\';
  path += name;
  return path;
}

}  // namespace

bool UnderWow64(const Wow64Answers& answers) {
  constexpr std::uint16_t kUnknown = 0;
  constexpr std::uint16_t kAmd64 = 0x8664;
  constexpr std::uint16_t kArm64 = 0xAA64;
  if (!answers.has_machines) return answers.is_wow64_process;
  return answers.process_machine != kUnknown &&
         (answers.native_machine == kAmd64 || answers.native_machine == kArm64);
}

Text ApplicationPathFor(TextView command_line, const SystemFolders& folders) {
  const TextView program = FirstToken(command_line);
  if (program.empty()) return {};
  if (program.find_first_of(u"\\/:") != TextView::npos) return Text(program);
  const bool native = folders.under_wow64 && MustRunNatively(program);
  const TextView folder = native ? folders.windows : folders.system;
  // Without its folder the path would be relative, and found in the current folder after all.
  if (folder.empty()) return {};
  Text path = native ? Joined(Joined(folder, u"Sysnative"), program) : Joined(folder, program);
  if (program.find(u'.') == TextView::npos) path += u".exe";
  return path;
}

}  // namespace px::win32
