#include "capture/capture_options.h"

#include "app/switches.h"

namespace px::capture {

namespace {

const std::vector<TextView> kQuietNames = {u"quiet", u"q"};

}  // namespace

ParsedCaptureLine ParseCaptureCommandLine(const std::vector<Text>& args) {
  ParsedCaptureLine parsed;
  CaptureOptions& options = parsed.options;
  const std::vector<Switch> table = {
      {kQuietNames, false,
       [&options](TextView) {
         options.quiet = true;
         return Text();
       }},
      {{u"?", u"help", u"h"},
       false,
       [&options](TextView) {
         options.usage = true;
         return Text();
       }},
  };
  parsed.error = ParseSwitches(args, table, [&options](TextView word) {
    if (!options.folder.empty()) return u"a second folder: " + Text(word);
    if (!IsFileName(word)) return u"not a folder name: " + Text(word);
    options.folder = Text(word);
    return Text();
  });
  if (parsed.error.empty() && options.quiet && options.usage) {
    parsed.error = u"/? shows the usage in a box, which /quiet rules out";
  }
  if (!parsed.error.empty() && HoldsSwitch(args, kQuietNames)) options.quiet = true;
  return parsed;
}

}  // namespace px::capture
