#include "capture/capture_options.h"

#include "app/switches.h"

namespace px::capture {

ParsedCaptureLine ParseCaptureCommandLine(const std::vector<Text>& args) {
  ParsedCaptureLine parsed;
  CaptureOptions& options = parsed.options;
  const std::vector<Switch> table = {
      FlagSwitch(kQuietNames, options.quiet),
      FlagSwitch(kUsageNames, options.usage),
  };
  parsed.error = ParseSwitches(args, table, [&options](TextView word) {
    if (!options.folder.empty()) return u"a second folder: " + Text(word);
    if (!IsFileName(word)) return u"not a folder name: " + Text(word);
    options.folder = Text(word);
    return Text();
  });
  parsed.error = SettleQuiet(args, options.quiet, options.usage, std::move(parsed.error));
  return parsed;
}

}  // namespace px::capture
