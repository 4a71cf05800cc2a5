#include "platform/sim/inf_file.h"

#include <tuple>

#include "platform/sim/dependent_list.h"
#include "platform/sim/text_case.h"

namespace px::sim {

namespace {

// Each processor's names: as the INF's decorations and the log name it, and as the spooler names
// its drivers' environment.
struct ArchitectureNames {
  TextView name;
  TextView environment;
};

ArchitectureNames NamesOf(Architecture arch) {
  switch (arch) {
    case Architecture::kX86:
      return {u"x86", u"Windows NT x86"};
    case Architecture::kArm64:
      return {u"arm64", u"Windows ARM64"};
    case Architecture::kAmd64:
      break;
  }
  return {u"amd64", u"Windows x64"};
}

}  // namespace

TextView ArchitectureName(Architecture arch) { return NamesOf(arch).name; }

TextView DriverEnvironment(Architecture arch) { return NamesOf(arch).environment; }

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

// A number of a decoration: decimal, or hexadecimal after 0x; nullopt for anything else.
std::optional<std::uint32_t> DecorationNumber(TextView text) {
  unsigned base = 10;
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char16_t c : text) {
    unsigned digit;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (base == 16 && UpcaseChar(c) >= u'A' && UpcaseChar(c) <= u'F') {
      digit = UpcaseChar(c) - u'A' + 10;
    } else {
      return std::nullopt;
    }
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

constexpr std::uint32_t kWorkstation = 1;       // VER_NT_WORKSTATION
constexpr std::uint32_t kDesktopSuite = 0x100;  // VER_SUITE_SINGLEUSERTS
constexpr std::size_t kVersionFields = 5;       // major minor product suite build

// How well a decoration fits the target, higher is better; nullopt when it does not apply.
using Fit = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, bool, int>;

std::optional<Fit> FitOf(TextView decoration, const InfTarget& target) {
  const Text upper = Upcase(decoration);
  if (!upper.starts_with(u"NT")) return std::nullopt;
  TextView rest = TextView(upper).substr(2);
  const std::size_t dot = rest.find(u'.');
  const TextView architecture = rest.substr(0, dot);
  std::vector<TextView> fields;
  if (dot != TextView::npos) {
    rest.remove_prefix(dot + 1);
    for (;;) {
      const std::size_t next = rest.find(u'.');
      fields.push_back(rest.substr(0, next));
      if (next == TextView::npos) break;
      rest.remove_prefix(next + 1);
    }
  }
  if (fields.size() > kVersionFields) return std::nullopt;
  // A bare "NT" is x86 only: since Windows Server 2003 SP1 other architectures need their name.
  std::optional<Architecture> named;
  if (architecture.empty() || architecture == u"X86") named = Architecture::kX86;
  if (architecture == u"AMD64") named = Architecture::kAmd64;
  if (architecture == u"ARM64") named = Architecture::kArm64;
  if (named != target.architecture) return std::nullopt;
  std::optional<std::uint32_t> values[kVersionFields];
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].empty()) continue;
    values[i] = DecorationNumber(fields[i]);
    if (!values[i]) return std::nullopt;
  }
  const auto& [major, minor, product, suite, build] = values;
  if (product && *product != kWorkstation) return std::nullopt;
  if (suite && (*suite & ~kDesktopSuite) != 0) return std::nullopt;
  const std::uint32_t version[] = {major.value_or(0), minor.value_or(0), build.value_or(0)};
  const WindowsVersion& own = target.version;
  if (std::tie(version[0], version[1], version[2]) > std::tie(own.major, own.minor, own.build)) {
    return std::nullopt;
  }
  return Fit{version[0], version[1], version[2], !architecture.empty(),
             int{product.has_value()} + int{suite.has_value()}};
}

}  // namespace

std::optional<Text> ChooseModelsSection(const Text& base, const std::vector<Text>& decorations,
                                        const InfTarget& target) {
  std::optional<Fit> best;
  std::optional<Text> chosen;
  for (const Text& decoration : decorations) {
    const std::optional<Fit> fit = FitOf(decoration, target);
    if (fit && (!best || *fit > *best)) {
      best = fit;
      chosen = base + u"." + decoration;
    }
  }
  if (!chosen && target.architecture == Architecture::kX86) chosen = base;
  return chosen;
}

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

std::vector<const InfFile::Line*> InfFile::ModelLines(const InfTarget& target) const {
  std::vector<const Line*> lines;
  for (const Line& manufacturer : Section(u"Manufacturer")) {
    if (manufacturer.values.empty()) continue;
    const std::vector<Text> decorations(manufacturer.values.begin() + 1, manufacturer.values.end());
    const std::optional<Text> chosen =
        ChooseModelsSection(manufacturer.values[0], decorations, target);
    if (!chosen) continue;
    for (const Line& model : Section(*chosen)) {
      if (!model.key.empty()) lines.push_back(&model);
    }
  }
  return lines;
}

std::set<Text> InfFile::Models(const InfTarget& target) const {
  std::set<Text> models;
  for (const Line* line : ModelLines(target)) models.insert(line->key);
  return models;
}

std::optional<InfFile::Line> InfFile::ModelLine(const Text& model, const InfTarget& target) const {
  for (const Line* line : ModelLines(target)) {
    if (line->key == model) return *line;
  }
  return std::nullopt;
}

}  // namespace px::sim
