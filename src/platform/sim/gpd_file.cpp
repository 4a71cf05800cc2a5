#include "platform/sim/gpd_file.h"

#include <cctype>

#include "platform/sim/dependent_list.h"

namespace px::sim {

namespace {

// Includes within includes are legal; a file that includes itself is not, and shows as depth.
constexpr int kMaxIncludeDepth = 8;

[[noreturn]] void Fail(const std::string& file, int line, const std::string& reason) {
  throw MachineError(file + ":" + std::to_string(line) + ": " + reason);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\x1a'; }

struct LogicalLine {
  std::string text;
  int number;
};

// The file's lines, each continued by the lines after it that start with '+'.
std::vector<LogicalLine> LogicalLines(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::vector<LogicalLine> lines;
  int number = 0;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    ++number;
    std::string_view line = bytes.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with('+') && !lines.empty()) {
      lines.back().text += ' ';
      lines.back().text += line.substr(1);
    } else {
      lines.push_back({std::string(line), number});
    }
    if (end == bytes.size()) break;
    start = end + 1;
  }
  return lines;
}

struct Token {
  enum Kind { kEntry, kOpen, kClose };
  Token(Kind k, int n) : kind(k), line(n) {}
  Kind kind;
  int line;
  std::string keyword;
  std::string value;
  bool colon = false;
  bool star = false;
};

// A comment starts at "*%" outside quotes, with a blank or the line's start before it.
bool CommentAt(const std::string& text, std::size_t i) {
  return text.compare(i, 2, "*%") == 0 && (i == 0 || IsBlank(text[i - 1]));
}

// The value of an entry from i: up to the end of the line, a comment, or a brace that is not
// part of a command argument (%d{DestX} keeps its braces).
std::string ReadValue(const std::string& text, std::size_t& i, const std::string& file, int line) {
  const std::size_t start = i;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '{' || c == '}' || CommentAt(text, i)) break;
    if (c == '"') {
      const std::size_t close = text.find('"', i + 1);
      if (close == std::string::npos) Fail(file, line, "a quoted text without its closing quote");
      i = close + 1;
      continue;
    }
    if (c == '%') {
      ++i;
      while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) != 0)) ++i;
      if (i < text.size() && text[i] == '[') {
        const std::size_t close = text.find(']', i);
        if (close == std::string::npos) Fail(file, line, "a command argument range without ]");
        i = close + 1;
      }
      if (i < text.size() && text[i] == '{') {
        const std::size_t close = text.find('}', i);
        if (close == std::string::npos) Fail(file, line, "a command argument without its }");
        i = close + 1;
      }
      continue;
    }
    ++i;
  }
  std::size_t end = i;
  while (end > start && IsBlank(text[end - 1])) --end;
  std::size_t first = start;
  while (first < end && IsBlank(text[first])) ++first;
  return text.substr(first, end - first);
}

std::vector<Token> Tokenize(std::string_view bytes, const std::string& file) {
  std::vector<Token> tokens;
  for (const LogicalLine& logical : LogicalLines(bytes)) {
    const std::string& text = logical.text;
    std::size_t i = 0;
    for (;;) {
      while (i < text.size() && IsBlank(text[i])) ++i;
      if (i >= text.size() || CommentAt(text, i)) break;
      if (text[i] == '{' || text[i] == '}') {
        tokens.emplace_back(text[i] == '{' ? Token::kOpen : Token::kClose, logical.number);
        ++i;
        continue;
      }
      Token entry(Token::kEntry, logical.number);
      entry.star = text[i] == '*';
      if (entry.star) ++i;
      const std::size_t name_start = i;
      while (i < text.size() && !IsBlank(text[i]) && text[i] != ':' && text[i] != '{' &&
             text[i] != '}') {
        ++i;
      }
      entry.keyword = text.substr(name_start, i - name_start);
      while (i < text.size() && IsBlank(text[i])) ++i;
      entry.colon = i < text.size() && text[i] == ':';
      if (entry.keyword.empty() || (!entry.star && !entry.colon)) {
        Fail(file, logical.number, "unexpected text: " + text.substr(name_start, 40));
      }
      if (entry.colon) ++i;
      // A global attribute written inside an option: the entry follows the prefix.
      if (!entry.star && (entry.keyword == "EXTERN_GLOBAL" || entry.keyword == "EXTERN_FEATURE")) {
        continue;
      }
      if (entry.colon) entry.value = ReadValue(text, i, file, logical.number);
      tokens.push_back(std::move(entry));
    }
  }
  return tokens;
}

std::string Unquoted(const std::string& value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

void DropIgnoredBlocks(std::vector<GpdEntry>& entries) {
  std::erase_if(entries, [](const GpdEntry& e) { return e.keyword == "IgnoreBlock"; });
  for (GpdEntry& entry : entries) DropIgnoredBlocks(entry.children);
}

std::vector<GpdEntry> ParseEntries(std::string_view bytes, const std::string& file,
                                   const GpdIncludeReader& include, int depth,
                                   std::vector<std::string>& includes) {
  if (depth > kMaxIncludeDepth) {
    Fail(file, 1, "includes nested deeper than " + std::to_string(kMaxIncludeDepth) + " files");
  }
  std::vector<GpdEntry> root;
  struct Open {
    std::vector<GpdEntry>* list;
    int line;
  };
  std::vector<Open> stack{{&root, 0}};
  GpdEntry* last = nullptr;               // the entry a '{' now would open a block for
  const GpdEntry* needs_block = nullptr;  // an entry without ':' before its block
  for (const Token& token : Tokenize(bytes, file)) {
    if (needs_block && token.kind != Token::kOpen) {
      Fail(file, needs_block->line, "an entry without a value: *" + needs_block->keyword);
    }
    needs_block = nullptr;
    switch (token.kind) {
      case Token::kOpen:
        if (!last) Fail(file, token.line, "a { without an entry before it");
        last->block = true;
        stack.push_back({&last->children, token.line});
        last = nullptr;
        break;
      case Token::kClose:
        if (stack.size() == 1) Fail(file, token.line, "a } without its {");
        stack.pop_back();
        last = nullptr;
        break;
      case Token::kEntry: {
        if (token.colon && token.value.empty()) {
          Fail(file, token.line, "an entry without a value: *" + token.keyword);
        }
        GpdEntry entry;
        entry.keyword = token.keyword;
        entry.value = token.value;
        entry.file = file;
        entry.line = token.line;
        if (token.star && token.keyword == "Include") {
          const std::string name = Unquoted(token.value);
          if (name.find_first_of("\\/:") != std::string::npos) {
            Fail(file, token.line, "*Include names a file with a path: " + name);
          }
          const std::optional<std::string> included = include(name);
          if (!included) Fail(file, token.line, "the included file " + name + " is missing");
          includes.push_back(name);
          std::vector<GpdEntry> entries =
              ParseEntries(*included, name, include, depth + 1, includes);
          for (GpdEntry& e : entries) stack.back().list->push_back(std::move(e));
          last = nullptr;
          break;
        }
        stack.back().list->push_back(std::move(entry));
        last = &stack.back().list->back();
        if (!token.colon) needs_block = last;
        break;
      }
    }
  }
  if (needs_block)
    Fail(file, needs_block->line, "an entry without a value: *" + needs_block->keyword);
  if (stack.size() > 1) Fail(file, stack.back().line, "a { without its closing }");
  DropIgnoredBlocks(root);
  return root;
}

bool Matches(const GpdEntry& entry, std::string_view keyword,
             std::optional<std::string_view> value) {
  return entry.keyword == keyword && (!value || entry.value == *value);
}

}  // namespace

GpdFile GpdFile::Parse(std::string_view bytes, const std::string& file_name,
                       const GpdIncludeReader& include) {
  GpdFile gpd;
  gpd.entries_ = ParseEntries(bytes, file_name, include, 0, gpd.includes_);
  return gpd;
}

std::vector<const GpdEntry*> FindAll(const std::vector<GpdEntry>& entries, std::string_view keyword,
                                     std::optional<std::string_view> value) {
  std::vector<const GpdEntry*> found;
  for (const GpdEntry& entry : entries) {
    if (Matches(entry, keyword, value)) found.push_back(&entry);
  }
  return found;
}

const GpdEntry* FindLast(const std::vector<GpdEntry>& entries, std::string_view keyword,
                         std::optional<std::string_view> value) {
  const std::vector<const GpdEntry*> found = FindAll(entries, keyword, value);
  return found.empty() ? nullptr : found.back();
}

void ForEachEntry(const std::vector<GpdEntry>& entries,
                  const std::function<void(const GpdEntry&)>& visit) {
  for (const GpdEntry& entry : entries) {
    visit(entry);
    ForEachEntry(entry.children, visit);
  }
}

}  // namespace px::sim
