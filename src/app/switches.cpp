#include "app/switches.h"

#include <algorithm>
#include <utility>

namespace px {

namespace {

const Switch* Find(const std::vector<Switch>& table, TextView name) {
  for (const Switch& row : table) {
    if (std::find(row.names.begin(), row.names.end(), name) != row.names.end()) return &row;
  }
  return nullptr;
}

}  // namespace

Text SwitchName(TextView arg) {
  if (arg.size() < 2 || (arg[0] != u'/' && arg[0] != u'-')) return Text();
  return AsciiLowercase(arg.substr(1));
}

Text ParseSwitches(const std::vector<Text>& args, const std::vector<Switch>& table,
                   const std::function<Text(TextView word)>& positional) {
  Text first_error;
  auto note = [&first_error](Text error) {
    if (first_error.empty()) first_error = std::move(error);
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Text name = SwitchName(args[i]);
    const Switch* row = name.empty() ? nullptr : Find(table, name);
    if (row == nullptr) {
      if (name.empty() && positional) {
        note(positional(args[i]));
      } else {
        note(u"unknown argument: " + args[i]);
      }
      continue;
    }
    TextView value;
    if (row->takes_value && i + 1 < args.size()) {
      const Text next = SwitchName(args[i + 1]);
      if (next.empty() || Find(table, next) == nullptr) value = args[++i];
    }
    note(row->take(value));
  }
  return first_error;
}

bool HoldsSwitch(const std::vector<Text>& args, const std::vector<TextView>& names) {
  for (const Text& arg : args) {
    std::size_t start = 0;
    while (start < arg.size()) {
      const std::size_t end = arg.find_first_of(u" \t\"", start);
      const TextView word =
          TextView(arg).substr(start, end == Text::npos ? Text::npos : end - start);
      const Text name = SwitchName(word);
      if (!name.empty() && std::find(names.begin(), names.end(), name) != names.end()) {
        return true;
      }
      if (end == Text::npos) break;
      start = end + 1;
    }
  }
  return false;
}

Switch FlagSwitch(std::vector<TextView> names, bool& flag) {
  return {std::move(names), false, [&flag](TextView) {
            flag = true;
            return Text();
          }};
}

Text SettleQuiet(const std::vector<Text>& args, bool& quiet, bool usage, Text error) {
  if (error.empty() && quiet && usage)
    error = u"/? shows the usage in a box, which /quiet rules out";
  if (!error.empty() && HoldsSwitch(args, kQuietNames)) quiet = true;
  return error;
}

bool IsFileName(TextView text) {
  // A long path's prefix holds the one "?" a path may have.
  if (text.starts_with(u"\\\\?\\")) text.remove_prefix(4);
  if (text.empty()) return false;
  return std::none_of(text.begin(), text.end(), [](char16_t c) {
    return c < 0x20 || c == u'"' || c == u'<' || c == u'>' || c == u'|' || c == u'?' || c == u'*';
  });
}

}  // namespace px
