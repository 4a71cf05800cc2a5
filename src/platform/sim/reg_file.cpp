#include "platform/sim/reg_file.h"

#include <optional>

#include "base/utf.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/host_file.h"

namespace px::sim {

namespace {

constexpr TextView kVersion5Header = u"Windows Registry Editor Version 5.00";
constexpr TextView kVersion4Header = u"REGEDIT4";

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; }

TextView TrimLeft(TextView text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  return text;
}

TextView TrimRight(TextView text) {
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// A number of 1 to 8 hex digits.
std::optional<std::uint32_t> ParseHex32(TextView digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t number = 0;
  for (char16_t c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    number = number * 16 + static_cast<std::uint32_t>(digit);
  }
  return number;
}

bool StartsWithNoCase(TextView text, TextView prefix) {
  return text.size() >= prefix.size() && Upcase(text.substr(0, prefix.size())) == Upcase(prefix);
}

Text DecodeRegText(std::string_view bytes, const std::string& file_name,
                   const CodePage& code_page) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    return DecodeTextFile(bytes, file_name);
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (std::optional<Text> text = FromUtf8(bytes)) return *text;
  return code_page.Decode(bytes);
}

std::string Utf16LeBytes(TextView text) {
  std::string data = StringData(text);
  data.resize(data.size() - 2);
  return data;
}

class Parser {
 public:
  Parser(RegistryStore& store, const std::string& file_name, const CodePage& code_page)
      : store_(store), file_name_(file_name), code_page_(code_page) {}

  void Parse(const Text& text) {
    SplitLines(text);
    if (lines_.empty()) Fail(1, "empty file, not a .reg file");
    const TextView header = TrimRight(lines_[0]);
    if (header == kVersion5Header) {
      version4_ = false;
    } else if (header == kVersion4Header) {
      version4_ = true;
    } else {
      Fail(1, "not a .reg file: the first line must be \"" + ToUtf8(kVersion5Header) + "\" or \"" +
                  ToUtf8(kVersion4Header) + "\"");
    }
    for (line_ = 1; line_ < lines_.size(); ++line_) ParseLine(TrimLeft(lines_[line_]));
  }

 private:
  [[noreturn]] void Fail(std::size_t line, const std::string& reason) const {
    throw MachineError(file_name_ + ":" + std::to_string(line) + ": " + reason);
  }
  [[noreturn]] void Fail(const std::string& reason) const { Fail(line_ + 1, reason); }

  void SplitLines(const Text& text) {
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find(u'\n', start);
      if (end == Text::npos) end = text.size();
      TextView line(text.data() + start, end - start);
      if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
      lines_.push_back(line);
      start = end + 1;
    }
  }

  void ParseLine(TextView line) {
    if (line.empty() || line.front() == u';') return;
    if (line.front() == u'[') return ParseKey(line);
    if (line.front() == u'"' || line.front() == u'@') return ParseValue(line);
    Fail("expected [key], \"name\"=, @= or a ; comment");
  }

  // The rest of a line after an item: blanks, or a comment.
  void ExpectEnd(TextView rest) {
    rest = TrimLeft(rest);
    if (!rest.empty() && rest.front() != u';') {
      Fail("unexpected \"" + ToUtf8(rest.substr(0, 20)) + "\" after the entry");
    }
  }

  void ParseKey(TextView line) {
    // Key names may hold "]": the path ends at the last one.
    const std::size_t close = line.rfind(u']');
    if (close == TextView::npos) Fail("key without its closing ]");
    ExpectEnd(line.substr(close + 1));
    TextView path = line.substr(1, close - 1);
    const bool remove = !path.empty() && path.front() == u'-';
    if (remove) path.remove_prefix(1);

    const std::size_t slash = path.find(u'\\');
    const TextView root_name = path.substr(0, slash);
    const RegKey root = RegistryStore::RootForName(root_name);
    if (root == 0) Fail("unknown root key \"" + ToUtf8(root_name) + "\"");
    const TextView sub_path = slash == TextView::npos ? TextView() : path.substr(slash + 1);
    const auto parts = SplitKeyPath(sub_path);
    if (!parts) Fail("key path with an empty name");
    for (TextView part : *parts) {
      if (part.size() > kMaxKeyNameLength) {
        Fail("key name longer than " + std::to_string(kMaxKeyNameLength) + " characters");
      }
    }
    if (remove) {
      if (parts->empty()) Fail("a root key cannot be deleted");
      store_.Delete(root, sub_path);
      key_ = nullptr;
    } else {
      key_ = store_.Create(root, sub_path);
      if (!key_) Fail("key path that cannot be created");
    }
  }

  // A quoted text starting at text[0] == '"'; advances text past the closing quote.
  Text ParseQuoted(TextView& text) {
    Text out;
    std::size_t i = 1;
    for (; i < text.size() && text[i] != u'"'; ++i) {
      if (text[i] != u'\\') {
        out += text[i];
        continue;
      }
      if (++i == text.size()) break;
      switch (text[i]) {
        case u'\\':
          out += u'\\';
          break;
        case u'"':
          out += u'"';
          break;
        case u'n':
          out += u'\n';
          break;
        case u'r':
          out += u'\r';
          break;
        case u'0':
          out += u'\0';
          break;
        default:
          Fail("unknown escape \\" + ToUtf8(text.substr(i, 1)) + " in a text");
      }
    }
    if (i >= text.size()) Fail("text without its closing quote");
    text.remove_prefix(i + 1);
    return out;
  }

  void ParseValue(TextView line) {
    Text name;
    if (line.front() == u'@') {
      line.remove_prefix(1);
    } else {
      name = ParseQuoted(line);
    }
    line = TrimLeft(line);
    if (line.empty() || line.front() != u'=') Fail("expected = after the value name");
    line = TrimLeft(line.substr(1));
    if (!key_) Fail("value outside a key: a [key] line must come first");

    if (!line.empty() && line.front() == u'-') {
      ExpectEnd(line.substr(1));
      key_->RemoveValue(name);
    } else if (!line.empty() && line.front() == u'"') {
      const Text text = ParseQuoted(line);
      ExpectEnd(line);
      key_->SetValue({std::move(name), kRegSz, StringData(text)});
    } else if (StartsWithNoCase(line, u"dword:")) {
      line.remove_prefix(6);
      std::size_t end = 0;
      while (end < line.size() && HexDigit(line[end]) >= 0) ++end;
      const auto number = ParseHex32(line.substr(0, end));
      if (!number) Fail("dword: needs 1 to 8 hex digits");
      ExpectEnd(line.substr(end));
      key_->SetValue({std::move(name), kRegDword, DwordData(*number)});
    } else if (StartsWithNoCase(line, u"hex")) {
      ParseHexValue(std::move(name), line.substr(3));
    } else {
      Fail("unknown value data: expected \"text\", dword:, hex:, hex(n): or -");
    }
  }

  void ParseHexValue(Text name, TextView rest) {
    std::uint32_t type = kRegBinary;
    if (!rest.empty() && rest.front() == u'(') {
      const std::size_t close = rest.find(u')');
      const auto number =
          close == TextView::npos ? std::nullopt : ParseHex32(rest.substr(1, close - 1));
      if (!number) Fail("hex( needs a type of 1 to 8 hex digits and a )");
      type = *number;
      rest.remove_prefix(close + 1);
    }
    if (rest.empty() || rest.front() != u':') Fail("expected : after hex");
    rest.remove_prefix(1);

    // The list, joined over the lines that end in a backslash; where each line starts in it.
    Text list;
    std::vector<std::pair<std::size_t, std::size_t>> line_starts;  // offset, 1-based line
    for (;;) {
      line_starts.emplace_back(list.size(), line_ + 1);
      // A comment may end each line of the list.
      TextView part = TrimRight(rest.substr(0, rest.find(u';')));
      const bool more = !part.empty() && part.back() == u'\\';
      if (more) part.remove_suffix(1);
      list += part;
      if (!more) break;
      if (line_ + 1 >= lines_.size()) Fail("the file ends inside a continued hex list");
      rest = TrimLeft(lines_[++line_]);
    }

    std::string data;
    const TextView items = TrimRight(list);
    std::size_t start = 0;
    while (start < items.size()) {
      std::size_t end = items.find(u',', start);
      if (end == TextView::npos) end = items.size();
      const TextView item = TrimRight(TrimLeft(items.substr(start, end - start)));
      const auto byte = item.size() <= 2 ? ParseHex32(item) : std::nullopt;
      if (!byte) {
        std::size_t line = line_starts.front().second;
        for (const auto& [offset, number] : line_starts) {
          if (offset <= start) line = number;
        }
        Fail(line, "\"" + ToUtf8(item.substr(0, 20)) + "\" is not a hex byte");
      }
      data += static_cast<char>(*byte);
      start = end + 1;
    }
    // The ANSI strings of a REGEDIT4 file become the UTF-16 the registry holds.
    if (version4_ && (type == kRegSz || type == kRegExpandSz || type == kRegMultiSz)) {
      data = Utf16LeBytes(code_page_.Decode(data));
    }
    key_->SetValue({std::move(name), type, std::move(data)});
  }

  RegistryStore& store_;
  const std::string& file_name_;
  const CodePage& code_page_;
  std::vector<TextView> lines_;
  std::size_t line_ = 0;  // 0-based index of the line being parsed
  bool version4_ = false;
  RegKeyNode* key_ = nullptr;
};

}  // namespace

void LoadRegFile(RegistryStore& store, std::string_view bytes, const std::string& file_name,
                 const CodePage& code_page) {
  const Text text = DecodeRegText(bytes, file_name, code_page);
  Parser(store, file_name, code_page).Parse(text);
}

SimRegistry LoadRegistry(const std::vector<std::filesystem::path>& files, unsigned code_page) {
  CodePage page(code_page);
  RegistryStore store;
  for (const std::filesystem::path& file : files) {
    const std::optional<std::string> bytes = ReadHostFile(file);
    if (!bytes) throw MachineFileMissing(file.string() + ": cannot be read");
    LoadRegFile(store, *bytes, file.string(), page);
  }
  return SimRegistry(std::move(store), std::move(page));
}

SimRegistry LoadMachineRegistry(const Machine& machine) {
  return LoadRegistry(machine.registry_files, machine.ansi_code_page);
}

}  // namespace px::sim
