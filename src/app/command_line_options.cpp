#include "app/command_line_options.h"

#include "app/switches.h"

namespace px {

namespace {

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
  const std::vector<Switch> table = {
      FlagSwitch(kQuietNames, options.quiet),
      FlagSwitch(kUsageNames, options.usage),
      FlagSwitch({u"uninstall"}, options.uninstall),
      {{u"wait"},
       true,
       [&options, &wait](TextView value) {
         const std::optional<std::int32_t> seconds = Seconds(value);
         if (!seconds) return Text(u"/wait needs a number of seconds from 0 to 86400");
         options.wait_seconds = *seconds;
         wait = true;
         return Text();
       }},
      {{u"log"},
       true,
       [&options](TextView value) {
         if (value.empty()) return Text(u"/log needs a file name");
         // A "\"" ends up in a value when a backslash before a closing quote escaped it.
         if (!IsFileName(value)) return u"/log needs a file name, not " + Text(value);
         options.log_path = Text(value);
         return Text();
       }},
  };
  parsed.error = ParseSwitches(args, table);
  // A removal waits for no printer: a /wait with it is a mistake worth saying.
  if (parsed.error.empty() && options.uninstall && wait) {
    parsed.error = u"/wait does not go with /uninstall";
  }
  parsed.error = SettleQuiet(args, options.quiet, options.usage, std::move(parsed.error));
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
