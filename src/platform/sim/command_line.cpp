#include "platform/sim/command_line.h"

#include <algorithm>
#include <array>

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

namespace {

// PrintUIEntry's documented options, by what follows them. No action or switch begins with the
// letter of an option that takes a value, so an attached value is never mistaken for one.
constexpr std::array<std::u16string_view, 23> kActions = {
    u"dl", u"dn", u"dd", u"e", u"ga", u"ge", u"gd", u"ia", u"id", u"if", u"ii", u"il",
    u"in", u"ip", u"k",  u"o", u"p",  u"s",  u"Ss", u"Sr", u"Xg", u"Xs", u"?"};
constexpr std::array<std::u16string_view, 8> kSwitches = {u"q", u"u", u"w", u"y",
                                                          u"z", u"Y", u"K", u"Z"};
constexpr std::array<std::u16string_view, 17> kValued = {u"Mw", u"Mq", u"a", u"b", u"c", u"f",
                                                         u"F",  u"h",  u"j", u"l", u"m", u"n",
                                                         u"r",  u"t",  u"v", u"G", u"W"};
// What /Ss and /Sr take after the options: which settings to store or restore.
constexpr std::u16string_view kSettingsFlags = u"27cdsgmurfpi";

template <std::size_t N>
bool Listed(const std::array<std::u16string_view, N>& list, TextView name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

}  // namespace

PrintUiArguments ParsePrintUiArguments(const std::vector<Text>& args) {
  PrintUiArguments parsed;
  for (std::size_t i = 0; i < args.size() && parsed.refused.empty(); ++i) {
    const Text& arg = args[i];
    if (!arg.starts_with(u'/')) {
      const bool settings_flag = (parsed.command == u"/Ss" || parsed.command == u"/Sr") &&
                                 arg.size() == 1 && kSettingsFlags.find(arg[0]) != TextView::npos;
      if (!settings_flag) parsed.refused = arg;
      continue;
    }
    const TextView name = TextView(arg).substr(1);
    if (Listed(kActions, name)) {
      if (parsed.command.empty()) {
        parsed.command = arg;
      } else {
        parsed.refused = arg;  // one action per call
      }
      continue;
    }
    if (Listed(kSwitches, name)) continue;
    const auto valued = std::find_if(kValued.begin(), kValued.end(),
                                     [name](TextView option) { return name.starts_with(option); });
    if (valued == kValued.end()) {
      parsed.refused = arg;
      continue;
    }
    Text value;
    if (name.size() > valued->size()) {
      value = Text(name.substr(valued->size()));
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      parsed.refused = arg;
      continue;
    }
    Text* field = *valued == u"b"   ? &parsed.base_name
                  : *valued == u"f" ? &parsed.inf_file
                  : *valued == u"r" ? &parsed.port
                  : *valued == u"m" ? &parsed.model
                                    : nullptr;
    if (field) *field = std::move(value);
  }
  return parsed;
}

}  // namespace px::sim
