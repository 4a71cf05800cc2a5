#pragma once

#include <functional>
#include <vector>

#include "base/text.h"

namespace px {

// A program's command line read as Windows tools read theirs: "/quiet" and "-quiet" alike,
// letter case ignored, an unknown switch an error, never ignored. Each program lists its
// switches in a table; a new switch is one more row.
struct Switch {
  std::vector<TextView> names;  // lower case, without the "/" or "-"
  bool takes_value = false;     // the next argument is its value
  // Takes the switch, and its value (empty when none follows), into the program's options:
  // an error text, or empty.
  std::function<Text(TextView value)> take;
};

// Reads every argument against the table, and goes on past an error, so that a switch later
// on the line (/quiet above all) still counts. A value-taking switch does not take a switch of
// the table as its value ("/log /quiet" lacks its file). A word that is no switch goes to
// positional, or is an error without one. Returns the first error; empty when the whole line
// was understood.
Text ParseSwitches(const std::vector<Text>& args, const std::vector<Switch>& table,
                   const std::function<Text(TextView word)>& positional = {});

// Whether any argument holds one of the names as a switch, also inside a text that an
// unclosed quote ran together: `/log "C:\logs\" /quiet` splits into "/log" and
// `C:\logs" /quiet`.
bool HoldsSwitch(const std::vector<Text>& args, const std::vector<TextView>& names);

// A switch without a value that sets a flag.
Switch FlagSwitch(std::vector<TextView> names, bool& flag);

// The two switches both programs take alike: /quiet (or /q), no window and no box, for
// deployment tools; /? (or /help, /h), the usage in a box.
inline const std::vector<TextView> kQuietNames = {u"quiet", u"q"};
inline const std::vector<TextView> kUsageNames = {u"?", u"help", u"h"};

// What /quiet settles once the whole line is read: with /? it is a mistake (the usage is a box
// /quiet rules out), and a line not understood that holds /quiet anywhere is quiet all the same.
// Returns the line's error: the one given, if any.
Text SettleQuiet(const std::vector<Text>& args, bool& quiet, bool usage, Text error);

// The switch's name in lower case, without its leading / or -; empty when arg is no switch.
Text SwitchName(TextView arg);

// Whether a text can name a file: not empty, and none of the characters Windows refuses in a
// path (" < > | ? * and control characters) beyond a long path's \\?\ prefix.
bool IsFileName(TextView text);

}  // namespace px
