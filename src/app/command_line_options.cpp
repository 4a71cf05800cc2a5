#include "app/command_line_options.h"

namespace px {

namespace {

// The switch's name in lower case, without its leading / or -; empty when arg is no switch.
Text SwitchName(TextView arg) {
  if (arg.size() < 2 || (arg[0] != u'/' && arg[0] != u'-')) return Text();
  Text name(arg.substr(1));
  for (char16_t& c : name) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return name;
}

// Whole seconds, 0 to a day; nullopt for anything else.
std::optional<std::int32_t> Seconds(TextView text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  std::int32_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  if (value > kMaxWaitSeconds) return std::nullopt;
  return value;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<Text>& args) {
  ParsedCommandLine parsed;
  CommandLineOptions& options = parsed.options;
  bool wait = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Text name = SwitchName(args[i]);
    const bool has_value = i + 1 < args.size();
    if (name == u"quiet" || name == u"q") {
      options.quiet = true;
    } else if (name == u"?" || name == u"help" || name == u"h") {
      options.usage = true;
    } else if (name == u"uninstall") {
      options.uninstall = true;
    } else if (name == u"wait") {
      const std::optional<std::int32_t> seconds = has_value ? Seconds(args[i + 1]) : std::nullopt;
      if (!seconds) {
        parsed.error = u"/wait needs a number of seconds from 0 to 86400";
        return parsed;
      }
      options.wait_seconds = *seconds;
      wait = true;
      ++i;
    } else if (name == u"log") {
      if (!has_value || args[i + 1].empty()) {
        parsed.error = u"/log needs a file name";
        return parsed;
      }
      options.log_path = args[i + 1];
      ++i;
    } else {
      parsed.error = u"unknown argument: " + args[i];
      return parsed;
    }
  }
  // A removal waits for no printer: a /wait with it is a mistake worth saying.
  if (options.uninstall && wait) parsed.error = u"/wait does not go with /uninstall";
  return parsed;
}

TextView UsageText() {
  return u"px-installer [/quiet [/wait SECONDS]] [/log FILE]\n"
         u"px-installer /uninstall [/quiet] [/log FILE]\n"
         u"\n"
         u"/quiet      Without a window or message box, for deployment tools.\n"
         u"/wait       How long /quiet waits for a supported printer (default 300 s).\n"
         u"/uninstall  Remove the printers and drivers of the driver package.\n"
         u"/log        Write the log to FILE instead of\n"
         u"            %ProgramData%\\px-installer\\px-installer.log.\n"
         u"\n"
         u"Exit codes: 0 installed (or removed, or nothing to remove), 2 no printer within the\n"
         u"wait, 3 driver package missing, 4 printer not registered, 5 installation timed out,\n"
         u"6 system error, 87 bad command line, 1618 another unattended run in progress.";
}

}  // namespace px
