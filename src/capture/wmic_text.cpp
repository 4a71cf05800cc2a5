#include "capture/wmic_text.h"

#include <algorithm>

namespace px::capture {

namespace {

void AppendLine(std::string& out, TextView text, std::size_t width) {
  Text line(text);
  line.resize(std::max(width, text.size()), u' ');
  line += u"\r\r\n";
  for (const char16_t c : line) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
}

}  // namespace

std::string WmicPropertyFile(TextView property, const std::vector<Text>& values) {
  std::size_t width = property.size();
  for (const Text& value : values) width = std::max(width, value.size());
  width += 2;
  std::string out = "\xFF\xFE";
  AppendLine(out, property, width);
  for (const Text& value : values) AppendLine(out, value, width);
  AppendLine(out, u"", 0);
  return out;
}

}  // namespace px::capture
