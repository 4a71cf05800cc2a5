#include "platform/sim/dependent_list.h"

#include <algorithm>

#include "base/utf.h"

namespace px::sim {

namespace {

Text DecodeUtf16(std::string_view bytes, bool little_endian, const std::string& file_name) {
  if (bytes.size() % 2 != 0) {
    throw MachineError(file_name + ": UTF-16 text with an odd number of bytes");
  }
  Text text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lo = static_cast<unsigned char>(bytes[2 * i + (little_endian ? 0 : 1)]);
    const auto hi = static_cast<unsigned char>(bytes[2 * i + (little_endian ? 1 : 0)]);
    text[i] = static_cast<char16_t>(lo | (hi << 8));
  }
  return text;
}

// UTF-16LE without a BOM shows as ASCII letters followed by zero bytes.
bool LooksLikeUtf16Le(std::string_view bytes) {
  return bytes.size() >= 4 && bytes[0] != '\0' && bytes[1] == '\0' && bytes[3] == '\0';
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\0'; }

// Whether a WMI object path leaves a quoted key value open. Inside quotes a backslash escapes
// the next character (\\ and \" in DeviceID="USB\\VID_1A86&PID_A798\\5&2A&0&3"); outside
// them it is an ordinary character (\\PC\root\cimv2).
bool QuoteLeftOpen(TextView value) {
  bool quoted = false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (quoted && value[i] == u'\\') {
      ++i;
    } else if (value[i] == u'"') {
      quoted = !quoted;
    }
  }
  return quoted;
}

}  // namespace

Text DecodeTextFile(std::string_view bytes, const std::string& file_name) {
  if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16(bytes.substr(2), true, file_name);
  if (bytes.starts_with("\xFE\xFF")) return DecodeUtf16(bytes.substr(2), false, file_name);
  if (LooksLikeUtf16Le(bytes)) return DecodeUtf16(bytes, true, file_name);
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (std::optional<Text> text = FromUtf8(bytes)) return *text;
  // Name the first line that is not UTF-8.
  std::size_t line_start = 0;
  int line = 1;
  for (std::size_t i = 0; i <= bytes.size(); ++i) {
    if (i == bytes.size() || bytes[i] == '\n') {
      if (!FromUtf8(bytes.substr(line_start, i - line_start))) break;
      line_start = i + 1;
      ++line;
    }
  }
  throw MachineError(file_name + ":" + std::to_string(line) +
                     ": not UTF-8 text (save it as UTF-8 or UTF-16 with a BOM)");
}

std::vector<Text> ParseDependentList(std::string_view bytes, const std::string& file_name) {
  const Text text = DecodeTextFile(bytes, file_name);
  std::vector<Text> dependents;
  bool first = true;
  std::size_t start = 0;
  int number = 0;
  while (start <= text.size()) {
    ++number;
    std::size_t end = text.find(u'\n', start);
    if (end == Text::npos) end = text.size();
    TextView line(text.data() + start, end - start);
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    start = end + 1;
    if (line.empty()) continue;
    const bool header = first && line == u"Dependent";
    const bool underline =
        std::all_of(line.begin(), line.end(), [](char16_t c) { return c == u'-'; });
    first = false;
    if (header || underline) continue;
    if (QuoteLeftOpen(line)) {
      throw MachineError(file_name + ":" + std::to_string(number) +
                         ": a quote opened and never closed");
    }
    dependents.emplace_back(line);
  }
  return dependents;
}

}  // namespace px::sim
