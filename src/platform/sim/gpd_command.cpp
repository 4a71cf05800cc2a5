#include "platform/sim/gpd_command.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/sim/dependent_list.h"

namespace px::sim {

namespace {

// Unidrv takes at most 14 quoted texts and arguments in one command.
constexpr std::size_t kMaxParts = 14;
// A max_repeat that would send its command more often than this is a mistake, not a move.
constexpr std::int64_t kMaxRepeats = 100000;
// Stands for "no bound" in the interval arithmetic; far from overflow when added or divided.
constexpr std::int64_t kUnbounded = std::int64_t{1} << 53;

[[noreturn]] void Fail(const std::string& reason) { throw MachineError(reason); }

struct Interval {
  std::int64_t low;
  std::int64_t high;
};

std::int64_t Clamp(double value) {
  if (value >= static_cast<double>(kUnbounded)) return kUnbounded;
  if (value <= -static_cast<double>(kUnbounded)) return -kUnbounded;
  return static_cast<std::int64_t>(value);
}

Interval Combine(const Interval& a, const Interval& b, double (*op)(double, double)) {
  const double values[] = {op(a.low, b.low), op(a.low, b.high), op(a.high, b.low),
                           op(a.high, b.high)};
  return {Clamp(*std::min_element(std::begin(values), std::end(values))),
          Clamp(*std::max_element(std::begin(values), std::end(values)))};
}

// Evaluates an expression over intervals: exact values are intervals of one value, bounds are
// what the variables' ranges allow.
class Evaluator {
 public:
  Evaluator(std::string_view text, const std::map<std::string, Interval>& variables, bool exact)
      : text_(text), variables_(variables), exact_(exact) {}

  Interval Run() {
    const Interval value = Sum();
    Skip();
    if (pos_ != text_.size()) Fail("unexpected text in the expression: " + std::string(Rest()));
    return value;
  }

 private:
  std::string_view Rest() const { return text_.substr(pos_, 20); }
  void Skip() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  bool Take(char c) {
    Skip();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Take(c))
      Fail(std::string("expected '") + c + "' in the expression at: " + std::string(Rest()));
  }
  std::string Word() {
    Skip();
    const std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) != 0 || text_[pos_] == '_')) {
      ++pos_;
    }
    return std::string(text_.substr(start, pos_ - start));
  }

  Interval Sum() {
    Interval value = Product();
    for (;;) {
      if (Take('+')) {
        value = Combine(value, Product(), [](double a, double b) { return a + b; });
      } else if (Take('-')) {
        value = Combine(value, Product(), [](double a, double b) { return a - b; });
      } else {
        return value;
      }
    }
  }

  Interval Product() {
    Interval value = Factor();
    for (;;) {
      Skip();
      const std::size_t before = pos_;
      if (Take('*')) {
        value = Combine(value, Factor(), [](double a, double b) { return a * b; });
      } else if (Take('/')) {
        const Interval divisor = Factor();
        if (divisor.low <= 0 && divisor.high >= 0) {
          if (exact_ || (divisor.low == 0 && divisor.high == 0)) Fail("a division by zero");
          value = {-kUnbounded, kUnbounded};
        } else {
          value = Combine(value, divisor, [](double a, double b) { return std::trunc(a / b); });
        }
      } else if (Word() == "MOD") {
        const Interval divisor = Factor();
        if (divisor.low <= 0 && divisor.high >= 0 && exact_) Fail("a MOD by zero");
        if (exact_) {
          value = {value.low % divisor.low, value.low % divisor.low};
        } else {
          const std::int64_t limit = std::max(-divisor.low, divisor.high) - 1;
          value =
              value.low >= 0 ? Interval{0, std::min(value.high, limit)} : Interval{-limit, limit};
        }
      } else {
        pos_ = before;
        return value;
      }
    }
  }

  Interval Factor() {
    if (Take('(')) {
      const Interval value = Sum();
      Expect(')');
      return value;
    }
    if (Take('-')) {
      const Interval value = Factor();
      return {-value.high, -value.low};
    }
    const std::string word = Word();
    if (word.empty()) Fail("expected a value in the expression at: " + std::string(Rest()));
    if (std::isdigit(static_cast<unsigned char>(word[0])) != 0) return Number(word);
    if (word == "max" || word == "min") {
      Expect('(');
      const Interval a = Sum();
      Expect(',');
      const Interval b = Sum();
      Expect(')');
      return word == "max" ? Interval{std::max(a.low, b.low), std::max(a.high, b.high)}
                           : Interval{std::min(a.low, b.low), std::min(a.high, b.high)};
    }
    if (word == "max_repeat") Fail("max_repeat must enclose the whole argument");
    const auto it = variables_.find(word);
    if (it != variables_.end()) return it->second;
    if (exact_) Fail("the variable " + word + " has no value");
    return {-kUnbounded, kUnbounded};
  }

  static Interval Number(const std::string& word) {
    const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    std::int64_t value = 0;
    for (std::size_t i = hex ? 2 : 0; i < word.size(); ++i) {
      const int digit = std::isdigit(static_cast<unsigned char>(word[i])) != 0 ? word[i] - '0'
                        : hex && std::isxdigit(static_cast<unsigned char>(word[i])) != 0
                            ? std::toupper(static_cast<unsigned char>(word[i])) - 'A' + 10
                            : -1;
      if (digit < 0) Fail("not a number: " + word);
      value = value * (hex ? 16 : 10) + digit;
      if (value >= kUnbounded) Fail("a number too large: " + word);
    }
    return {value, value};
  }

  std::string_view text_;
  const std::map<std::string, Interval>& variables_;
  bool exact_;
  std::size_t pos_ = 0;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// A quoted text's bytes: <1B 40> in hexadecimal, %% for one '%'.
std::string QuotedBytes(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%') {
      if (i + 1 >= text.size() || text[i + 1] != '%') Fail("a lone % in a quoted text");
      bytes += '%';
      ++i;
    } else if (text[i] == '<') {
      const std::size_t close = text.find('>', i);
      if (close == std::string_view::npos) Fail("a <hex> without its >");
      int high = -1;
      for (std::size_t j = i + 1; j < close; ++j) {
        if (text[j] == ' ') continue;
        const int digit = HexDigit(text[j]);
        if (digit < 0) Fail("not a hexadecimal digit in <>: " + std::string(1, text[j]));
        if (high < 0) {
          high = digit;
        } else {
          bytes += static_cast<char>(high * 16 + digit);
          high = -1;
        }
      }
      if (high >= 0) Fail("an odd number of hexadecimal digits in <>");
      i = close;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

std::int64_t RangeNumber(std::string_view text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) Fail("a range without its number");
  static const std::map<std::string, Interval> kNoVariables;
  return Evaluator(text.substr(start), kNoVariables, true).Run().low;
}

void Append(std::string& out, char type, std::int64_t value) {
  switch (type) {
    case 'd':
      out += std::to_string(value);
      break;
    case 'D':
      out += (value < 0 ? "-" : "+") + std::to_string(value < 0 ? -value : value);
      break;
    case 'c':
      out += static_cast<char>(value & 0xFF);
      break;
    case 'C':
      out += static_cast<char>((value + '0') & 0xFF);
      break;
    case 'l':
      out += static_cast<char>(value & 0xFF);
      out += static_cast<char>((value >> 8) & 0xFF);
      break;
    case 'm':
      out += static_cast<char>((value >> 8) & 0xFF);
      out += static_cast<char>(value & 0xFF);
      break;
  }
}

}  // namespace

std::optional<std::int64_t> FormatMaximum(char type) {
  switch (type) {
    case 'c':
    case 'C':
      return 255;
    case 'l':
    case 'm':
      return 65535;
    default:
      return std::nullopt;
  }
}

GpdCommand GpdCommand::Parse(std::string_view text) {
  GpdCommand command;
  std::size_t i = 0;
  for (;;) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i >= text.size()) break;
    if (command.parts_.size() == kMaxParts) {
      Fail("more than " + std::to_string(kMaxParts) + " texts and arguments in one command");
    }
    if (text[i] == '"') {
      const std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) Fail("a quoted text without its closing quote");
      command.parts_.push_back({QuotedBytes(text.substr(i + 1, close - i - 1))});
      i = close + 1;
      continue;
    }
    if (text[i] != '%') Fail("unexpected text in a command: " + std::string(text.substr(i, 20)));
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) ++i;
    GpdArgument argument;
    if (i >= text.size() || std::string_view("dDcClm").find(text[i]) == std::string_view::npos) {
      Fail("an argument type these printers' commands do not use: %" +
           std::string(text.substr(i, 1)));
    }
    argument.type = text[i++];
    if (i < text.size() && text[i] == '[') {
      const std::size_t comma = text.find(',', i);
      const std::size_t close = text.find(']', i);
      if (comma == std::string_view::npos || close == std::string_view::npos || comma > close) {
        Fail("a range that is not [low,high]");
      }
      argument.range = VariableRange{RangeNumber(text.substr(i + 1, comma - i - 1)),
                                     RangeNumber(text.substr(comma + 1, close - comma - 1))};
      if (argument.range->low > argument.range->high) Fail("a range whose low is above its high");
      i = close + 1;
    }
    if (i >= text.size() || text[i] != '{') Fail("an argument without its {expression}");
    const std::size_t close = text.find('}', i);
    if (close == std::string_view::npos) Fail("an argument without its }");
    std::string expression(text.substr(i + 1, close - i - 1));
    i = close + 1;
    const std::size_t start = expression.find_first_not_of(' ');
    if (start != std::string::npos && expression.compare(start, 10, "max_repeat") == 0) {
      const std::size_t open = expression.find('(', start);
      const std::size_t end = expression.find_last_of(')');
      if (open == std::string::npos || end == std::string::npos || end < open) {
        Fail("max_repeat without its parentheses");
      }
      argument.max_repeat = true;
      expression = expression.substr(open + 1, end - open - 1);
    }
    static const std::map<std::string, Interval> kNoVariables;
    Evaluator(expression, kNoVariables, false).Run();  // the syntax, now rather than in use
    argument.expression = std::move(expression);
    command.parts_.push_back({"", static_cast<int>(command.arguments_.size())});
    command.arguments_.push_back(std::move(argument));
  }
  for (const GpdArgument& argument : command.arguments_) {
    if (!argument.max_repeat) continue;
    if (command.arguments_.size() != 1) Fail("max_repeat in a command with more than one argument");
    if (!argument.range || argument.range->high <= 0) {
      Fail("max_repeat on an argument without a range above 0");
    }
  }
  return command;
}

std::vector<std::string> GpdCommand::Emit(
    const std::map<std::string, std::int64_t>& variables) const {
  std::map<std::string, Interval> exact;
  for (const auto& [name, value] : variables) exact[name] = {value, value};
  std::vector<std::int64_t> values;
  for (const GpdArgument& argument : arguments_) {
    values.push_back(Evaluator(argument.expression, exact, true).Run().low);
  }
  std::vector<std::string> sent;
  auto send = [&] {
    std::string bytes;
    for (const Part& part : parts_) {
      if (part.argument < 0) {
        bytes += part.bytes;
        continue;
      }
      const GpdArgument& argument = arguments_[part.argument];
      std::int64_t value = values[part.argument];
      if (argument.range) value = std::clamp(value, argument.range->low, argument.range->high);
      Append(bytes, argument.type, value);
    }
    sent.push_back(std::move(bytes));
  };
  if (arguments_.size() == 1 && arguments_[0].max_repeat) {
    const std::int64_t high = arguments_[0].range->high;
    if (values[0] / high > kMaxRepeats) Fail("max_repeat would send the command too often");
    std::int64_t& value = values[0];
    while (value > high) {
      const std::int64_t rest = value - high;
      value = high;
      send();
      value = rest;
    }
  }
  send();
  return sent;
}

std::optional<std::int64_t> UpperBound(std::string_view expression,
                                       const std::map<std::string, VariableRange>& ranges) {
  std::map<std::string, Interval> intervals;
  for (const auto& [name, range] : ranges) intervals[name] = {range.low, range.high};
  const Interval value = Evaluator(expression, intervals, false).Run();
  if (value.high >= kUnbounded) return std::nullopt;
  return value.high;
}

}  // namespace px::sim
