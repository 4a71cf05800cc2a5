#include "capture/reg_export.h"

#include <cstdio>

namespace px::capture {

namespace {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

// regedit wraps a hex list once a line has reached this many characters.
constexpr std::size_t kHexLineLength = 77;

void AppendUtf16Le(std::string& out, TextView text) {
  for (const char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
}

Text Quoted(TextView text) {
  Text out = u"\"";
  for (const char16_t c : text) {
    if (c == u'\\' || c == u'"') out += u'\\';
    out += c;
  }
  return out + u"\"";
}

// The text of a REG_SZ that regedit writes in quotes: whole UTF-16 units ending in the one NUL,
// with no NUL, CR or LF before it (those would not survive a quoted line).
bool AsQuotedText(const std::string& data, Text& text) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  text.clear();
  for (std::size_t i = 0; i + 2 < data.size(); i += 2) {
    const auto c = static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                         (static_cast<unsigned char>(data[i + 1]) << 8));
    if (c == u'\0' || c == u'\r' || c == u'\n') return false;
    text += c;
  }
  return data[data.size() - 2] == '\0' && data[data.size() - 1] == '\0';
}

Text Ascii(const char* text) {
  Text out;
  while (*text) out += static_cast<char16_t>(*text++);
  return out;
}

Text HexList(const ExportedValue& value, std::size_t line_length) {
  char prefix[16];
  if (value.type == kRegBinary) {
    std::snprintf(prefix, sizeof prefix, "hex:");
  } else {
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
  }
  Text out = Ascii(prefix);
  line_length += out.size();
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(value.data[i]));
    out += Ascii(byte);
    if (i + 1 == value.data.size()) break;
    out += u',';
    line_length += 3;
    if (line_length >= kHexLineLength) {
      out += u"\\\r\n  ";
      line_length = 2;
    }
  }
  return out;
}

Text ValueLine(const ExportedValue& value) {
  Text line = value.name.empty() ? Text(u"@") : Quoted(value.name);
  line += u'=';
  Text text;
  if (value.type == kRegSz && AsQuotedText(value.data, text)) {
    line += Quoted(text);
  } else if (value.type == kRegDword && value.data.size() == 4) {
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) {
      number = number << 8 | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(number));
    line += Ascii(digits);
  } else {
    line += HexList(value, line.size());
  }
  return line;
}

}  // namespace

std::string RegExportFile(const std::vector<ExportedKey>& keys) {
  std::string out = "\xFF\xFE";
  AppendUtf16Le(out, u"Windows Registry Editor Version 5.00\r\n\r\n");
  for (const ExportedKey& key : keys) {
    AppendUtf16Le(out, u"[" + key.path + u"]\r\n");
    for (const ExportedValue& value : key.values) AppendUtf16Le(out, ValueLine(value) + u"\r\n");
    AppendUtf16Le(out, u"\r\n");
  }
  return out;
}

}  // namespace px::capture
