#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace px::sim {

// The values a standard variable (DestYRel, NumOfDataBytes ...) can take while Unidrv prints.
struct VariableRange {
  std::int64_t low;
  std::int64_t high;
};

// An argument of a printer command, as in %c[0,255]{max_repeat(DestYRel)}.
struct GpdArgument {
  char type = 'd';  // d D c C l m
  std::optional<VariableRange> range;
  std::string expression;   // what the braces hold, without a max_repeat( ) around it
  bool max_repeat = false;  // Unidrv sends the command again while the value is above range
};

// The largest value an argument type can carry: 255 for a byte, 65535 for a word; nullopt for
// the decimal texts, which carry any.
std::optional<std::int64_t> FormatMaximum(char type);

// A printer command string as a GPD gives it after *Cmd: quoted texts, in which <1B 40> are
// bytes in hexadecimal and %% is one '%', and arguments %<type>[low,high]{expression} whose
// expressions combine standard variables and integers with + - * / MOD, max( , ), min( , ) and
// parentheses.
class GpdCommand {
 public:
  // Throws MachineError with the reason for a string that is no command, including a max_repeat
  // that is not the only argument or has no range, which Unidrv does not allow.
  static GpdCommand Parse(std::string_view text);

  const std::vector<GpdArgument>& arguments() const { return arguments_; }

  // The bytes Unidrv sends for these values of the variables: one string per command sent,
  // several when max_repeat splits a value beyond the range; a value without max_repeat is held
  // to its range. Throws MachineError for a variable without a value or a division by zero.
  std::vector<std::string> Emit(const std::map<std::string, std::int64_t>& variables) const;

 private:
  struct Part {
    std::string bytes;  // a quoted text, or empty for an argument
    int argument = -1;  // index into arguments_
  };
  std::vector<Part> parts_;
  std::vector<GpdArgument> arguments_;
};

// The largest value an expression can take while each variable stays within its range; a
// variable that has none can take any value. nullopt when no bound follows. Throws MachineError
// for text that is no expression.
std::optional<std::int64_t> UpperBound(std::string_view expression,
                                       const std::map<std::string, VariableRange>& ranges);

}  // namespace px::sim
