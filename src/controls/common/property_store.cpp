#include "controls/common/property_store.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

#include "controls/common/geometry.h"

namespace px {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The number a text holds, or nothing when it is not a number. Only plain ASCII decimal is a
// number: sign, digits, an optional fraction and exponent, blanks around it.
std::optional<double> ParseNumber(TextView text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty() || text.size() > 64) return std::nullopt;
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7F) return std::nullopt;
    ascii.push_back(static_cast<char>(c));
  }
  // from_chars takes no '+' and accepts "inf" and "nan", which are not numbers here.
  std::size_t start = 0;
  bool negative = false;
  if (ascii[0] == '+' || ascii[0] == '-') {
    negative = ascii[0] == '-';
    start = 1;
  }
  if (start >= ascii.size() ||
      !(std::isdigit(static_cast<unsigned char>(ascii[start])) || ascii[start] == '.')) {
    return std::nullopt;
  }
  double value = 0;
  const char* first = ascii.data() + start;
  const char* last = ascii.data() + ascii.size();
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (end != last) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // Only an exponent takes a text of 64 characters out of a double's range: a negative one
    // makes it too small (it rounds to 0), a positive one too large for any integer.
    const std::size_t e = ascii.find_first_of("eE");
    const bool tiny = e != std::string::npos && e + 1 < ascii.size() && ascii[e + 1] == '-';
    value = tiny ? 0 : std::numeric_limits<double>::infinity();
  } else if (error != std::errc()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

ControlResult<std::int64_t> ToInteger(const PropertyValue& value, std::int64_t min,
                                      std::int64_t max) {
  double number = 0;
  if (std::holds_alternative<std::monostate>(value)) {
    number = 0;
  } else if (const bool* b = std::get_if<bool>(&value)) {
    number = *b ? -1 : 0;
  } else if (const std::int32_t* i = std::get_if<std::int32_t>(&value)) {
    number = *i;
  } else if (const Text* t = std::get_if<Text>(&value)) {
    const std::optional<double> parsed = ParseNumber(*t);
    if (!parsed) return TypeMismatchError();
    number = RoundHalfEven(*parsed);
  } else {
    return TypeMismatchError();
  }
  if (!std::isfinite(number) || number < static_cast<double>(min) ||
      number > static_cast<double>(max)) {
    return OverflowError();
  }
  return static_cast<std::int64_t>(number);
}

bool EqualsIgnoringCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

ControlResult<std::int32_t> ToInt32(const PropertyValue& value) {
  const ControlResult<std::int64_t> r = ToInteger(value, std::numeric_limits<std::int32_t>::min(),
                                                  std::numeric_limits<std::int32_t>::max());
  if (!r) return r.error();
  return static_cast<std::int32_t>(r.value());
}

ControlResult<std::int16_t> ToInt16(const PropertyValue& value) {
  const ControlResult<std::int64_t> r = ToInteger(value, std::numeric_limits<std::int16_t>::min(),
                                                  std::numeric_limits<std::int16_t>::max());
  if (!r) return r.error();
  return static_cast<std::int16_t>(r.value());
}

ControlResult<bool> ToBoolean(const PropertyValue& value) {
  if (const bool* b = std::get_if<bool>(&value)) return *b;
  if (const Text* t = std::get_if<Text>(&value)) {
    TextView v = *t;
    while (!v.empty() && IsBlank(v.front())) v.remove_prefix(1);
    while (!v.empty() && IsBlank(v.back())) v.remove_suffix(1);
    if (EqualsIgnoringCase(v, u"true")) return true;
    if (EqualsIgnoringCase(v, u"false")) return false;
    const std::optional<double> parsed = ParseNumber(v);
    if (!parsed) return TypeMismatchError();
    return *parsed != 0;
  }
  const ControlResult<std::int32_t> number = ToInt32(value);
  if (!number) return number.error();
  return number.value() != 0;
}

ControlResult<Text> ToText(const PropertyValue& value) {
  if (std::holds_alternative<std::monostate>(value)) return Text();
  if (const bool* b = std::get_if<bool>(&value)) return Text(*b ? u"True" : u"False");
  if (const std::int32_t* i = std::get_if<std::int32_t>(&value)) return Decimal(*i);
  if (const Text* t = std::get_if<Text>(&value)) return *t;
  return TypeMismatchError();
}

bool SameValue(const PropertyValue& a, const PropertyValue& b) {
  if (a.index() == b.index()) return a == b;
  const auto number_and_text = [](const PropertyValue& n, const PropertyValue& t) {
    if (!std::holds_alternative<std::int32_t>(n) || !std::holds_alternative<Text>(t)) {
      return false;
    }
    const std::optional<double> parsed = ParseNumber(std::get<Text>(t));
    return parsed && *parsed == std::get<std::int32_t>(n);
  };
  return number_and_text(a, b) || number_and_text(b, a);
}

PropertyValue MemoryPropertyStore::Read(TextView key, const PropertyValue& default_value) const {
  const auto it = values_.find(Text(key));
  return it == values_.end() ? default_value : it->second;
}

void MemoryPropertyStore::Write(TextView key, const PropertyValue& value,
                                const std::optional<PropertyValue>& default_value) {
  if (default_value && SameValue(value, *default_value)) {
    values_.erase(Text(key));
    return;
  }
  values_[Text(key)] = value;
}

}  // namespace px
