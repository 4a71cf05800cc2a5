#include "platform/sim/inf_file.h"

#include "platform/sim/dependent_list.h"
#include "platform/sim/text_case.h"

namespace px::sim {

namespace {

TextView Trim(TextView text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t' || text.back() == u'\r')) {
    text.remove_suffix(1);
  }
  return text;
}

// The position of the first '=' outside quotes and before a comment, or npos.
std::size_t EqualsAt(TextView text) {
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'"') quoted = !quoted;
    if (!quoted && text[i] == u';') break;
    if (!quoted && text[i] == u'=') return i;
  }
  return TextView::npos;
}

// Splits at unquoted commas, dropping a ';' comment; quotes are removed, "" inside quotes is
// one quote.
std::vector<Text> Fields(TextView text) {
  std::vector<Text> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'"') {
      if (quoted && i + 1 < text.size() && text[i + 1] == u'"') {
        fields.back() += u'"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (!quoted && c == u';') {
      break;
    } else if (!quoted && c == u',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (Text& field : fields) field = Text(Trim(field));
  return fields;
}

}  // namespace

InfFile InfFile::Parse(std::string_view bytes, const std::string& file_name) {
  const Text text = DecodeTextFile(bytes, file_name);
  InfFile inf;
  std::vector<Line>* section = nullptr;
  std::vector<std::pair<int, Text>> raw;
  std::size_t start = 0;
  int number = 0;
  Text pending;  // a line continued with a trailing backslash
  while (start <= text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == Text::npos) end = text.size();
    ++number;
    TextView line = Trim(TextView(text).substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.back() == u'\\') {
      pending += line.substr(0, line.size() - 1);
      continue;
    }
    pending += line;
    raw.emplace_back(number, std::move(pending));
    pending.clear();
  }
  for (auto& [line_number, line] : raw) {
    const TextView trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == u';') continue;
    if (trimmed.front() == u'[') {
      const std::size_t close = trimmed.find(u']');
      if (close == TextView::npos) {
        throw MachineError(file_name + ":" + std::to_string(line_number) +
                           ": a section name without its closing ]");
      }
      section = &inf.sections_[Upcase(Trim(trimmed.substr(1, close - 1)))];
      continue;
    }
    if (!section) {
      throw MachineError(file_name + ":" + std::to_string(line_number) +
                         ": a line before the first [section]");
    }
    Line entry;
    entry.number = line_number;
    if (const std::size_t equals = EqualsAt(trimmed); equals != TextView::npos) {
      entry.key = Fields(trimmed.substr(0, equals))[0];
      entry.values = Fields(trimmed.substr(equals + 1));
    } else {
      entry.values = Fields(trimmed);
    }
    section->push_back(std::move(entry));
  }
  // %token% from [Strings] in keys and values.
  std::map<Text, Text> strings;
  for (const Line& line : inf.Section(u"Strings")) {
    if (!line.values.empty()) strings[Upcase(line.key)] = line.values[0];
  }
  auto substitute = [&strings](Text& field) {
    if (field.size() > 2 && field.front() == u'%' && field.back() == u'%') {
      auto it = strings.find(Upcase(TextView(field).substr(1, field.size() - 2)));
      if (it != strings.end()) field = it->second;
    }
  };
  for (auto& [name, lines] : inf.sections_) {
    for (Line& line : lines) {
      substitute(line.key);
      for (Text& value : line.values) substitute(value);
    }
  }
  return inf;
}

const std::vector<InfFile::Line>& InfFile::Section(TextView name) const {
  static const std::vector<Line> kNone;
  auto it = sections_.find(Upcase(name));
  return it == sections_.end() ? kNone : it->second;
}

bool InfFile::HasSection(TextView name) const { return sections_.count(Upcase(name)) > 0; }

std::set<Text> InfFile::Models(TextView architecture) const {
  std::set<Text> models;
  for (const Line& manufacturer : Section(u"Manufacturer")) {
    if (manufacturer.values.empty()) continue;
    const Text& base = manufacturer.values[0];
    // The decorations after the section name, e.g. NTx86, NTamd64.
    Text chosen = base;
    for (std::size_t i = 1; i < manufacturer.values.size(); ++i) {
      if (Upcase(manufacturer.values[i]) == Upcase(architecture)) {
        chosen = base + u"." + manufacturer.values[i];
      }
    }
    if (chosen == base && manufacturer.values.size() > 1) continue;  // not for this architecture
    for (const Line& model : Section(chosen)) {
      if (!model.key.empty()) models.insert(model.key);
    }
  }
  return models;
}

}  // namespace px::sim
