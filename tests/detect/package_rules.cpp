// The documented rules a printer driver package must keep, checked on Linux where nothing can run
// Unidrv. Each rule says where it comes from; a planted fault of each kind fails it.
#include "detect/package_rules.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>

#include "base/utf.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/driver_data.h"
#include "platform/sim/gpd_command.h"
#include "platform/sim/gpd_file.h"
#include "platform/sim/inf_file.h"
#include "platform/sim/text_case.h"

namespace px {

namespace {

using sim::GpdEntry;
using sim::InfFile;

// Unidrv's core driver, as package-aware INF files name it.
constexpr char16_t kUnidrvGuid[] = u"{D20EA372-DD35-4950-9ED8-A6335AFE79F0}";

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::string Unquoted(const std::string& value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// A comma-separated list as INF values and GPD LIST( ) hold them, each item trimmed, upper case.
std::set<std::string> Items(std::string_view text) {
  std::set<std::string> items;
  std::string item;
  for (const char c : text) {
    if (c == ',' || c == '(' || c == ')') {
      if (!item.empty()) items.insert(Upper(item));
      item.clear();
    } else if (c != ' ' && c != '\t' && c != '"') {
      item += c;
    }
  }
  if (!item.empty()) items.insert(Upper(item));
  return items;
}

// PAIR(x, y) as two numbers; nullopt for anything else.
std::optional<std::pair<long, long>> Pair(const std::string& value) {
  long x = 0;
  long y = 0;
  if (std::sscanf(value.c_str(), "PAIR ( %ld , %ld )", &x, &y) == 2) {
    return std::make_pair(x, y);
  }
  return std::nullopt;
}

class Checker {
 public:
  explicit Checker(const PackageFiles& files) : files_(files) {}

  std::vector<std::string> Run(const std::string& inf_name) {
    const std::string* bytes = File(inf_name);
    if (!bytes) return {inf_name + ": the package has no INF file"};
    std::optional<InfFile> inf;
    try {
      inf = InfFile::Parse(*bytes, inf_name);
    } catch (const sim::MachineError& error) {
      return {error.what()};
    }
    inf_ = &*inf;
    inf_name_ = inf_name;
    CheckVersion();
    CheckArchitectures();
    for (const auto& [data_file, models] : models_by_data_file_)
      CheckDescription(data_file, models);
    return findings_;
  }

 private:
  const std::string* File(const std::string& name) const {
    for (const auto& [file, bytes] : files_) {
      if (Upper(file) == Upper(name)) return &bytes;
    }
    return nullptr;
  }
  void Find(std::string finding) { findings_.push_back(std::move(finding)); }

  // The value of KEY= in a section, nullopt when the section has no such line.
  std::optional<std::vector<Text>> Value(TextView section, TextView key) const {
    for (const InfFile::Line& line : inf_->Section(section)) {
      if (sim::SameNoCase(line.key, key)) return line.values;
    }
    return std::nullopt;
  }
  std::string First(TextView section, TextView key) const {
    const auto values = Value(section, key);
    return values && !values->empty() ? ToUtf8((*values)[0]) : std::string();
  }

  // [Version]: what every INF needs, and PnpLockdown=1, which Windows wants of every driver
  // package so that only its own installation changes the files it copies.
  void CheckVersion() {
    const struct {
      const char16_t* key;
      const char* want;  // nullptr: any value
    } required[] = {{u"Signature", "$WINDOWS NT$"},
                    {u"Class", "PRINTER"},
                    {u"ClassGuid", "{4D36E979-E325-11CE-BFC1-08002BE10318}"},
                    {u"Provider", nullptr},
                    {u"DriverVer", nullptr},
                    {u"CatalogFile", nullptr},
                    {u"PnpLockdown", "1"}};
    for (const auto& r : required) {
      const std::string value = First(u"Version", r.key);
      if (value.empty() || (r.want && Upper(value) != r.want)) {
        Find(inf_name_ + ": [Version] needs " + ToUtf8(r.key) + "=" + (r.want ? r.want : "...") +
             (value.empty() ? " (missing)" : " (has " + value + ")"));
      }
    }
  }

  void CheckArchitectures() {
    const struct {
      sim::Architecture arch;
      const char16_t* name;
    } architectures[] = {{sim::Architecture::kX86, u"x86"},
                         {sim::Architecture::kAmd64, u"amd64"},
                         {sim::Architecture::kArm64, u"arm64"}};
    std::set<Text> sections;
    for (const auto& a : architectures) {
      const sim::InfTarget target{a.arch, {10, 0, 99999}};
      bool any = false;
      for (const Text& model : inf_->Models(target)) {
        const std::optional<InfFile::Line> line = inf_->ModelLine(model, target);
        if (!line || line->values.empty()) continue;
        any = true;
        sections.insert(sim::Upcase(line->values[0]));
        models_by_data_file_[Upper(ToUtf8(sim::DataFileOf(*inf_, *line)))].insert(ToUtf8(model));
      }
      if (!any) continue;
      // Package-aware, so that Point and Print can take the package to a client.
      const Text package = Text(u"PrinterPackageInstallation.") + a.name;
      if (Upper(First(package, u"PackageAware")) != "TRUE") {
        Find(inf_name_ + ": [" + ToUtf8(package) + "] needs PackageAware=TRUE");
      }
      uses_core_ = false;
      for (const Text& section : sections)
        uses_core_ = uses_core_ || Value(section, u"CoreDriverSections");
      const auto dependencies = Value(package, u"CoreDriverDependencies");
      bool lists_unidrv = false;
      for (const Text& d : dependencies.value_or(std::vector<Text>{})) {
        lists_unidrv = lists_unidrv || sim::SameNoCase(d, kUnidrvGuid);
      }
      if (uses_core_ && !lists_unidrv) {
        Find(inf_name_ + ": [" + ToUtf8(package) + "] needs CoreDriverDependencies=" +
             ToUtf8(kUnidrvGuid) + " for the core driver its models use");
      }
    }
    for (const Text& section : sections) CheckInstallSection(section);
  }

  // Unidrv comes either as a core driver (CoreDriverSections naming its GUID with UNIDRV.OEM and
  // UNIDRV_DATA, no DataSection) or from NTPRINT.INF (Include=NTPRINT.INF, Needs=UNIDRV.OEM,
  // DataSection=UNIDRV_DATA: the data section is named by DataSection, not needed).
  void CheckInstallSection(const Text& section) {
    const std::string where = inf_name_ + ": [" + ToUtf8(section) + "] ";
    if (inf_->Section(section).empty()) {
      Find(where + "is missing");
      return;
    }
    const auto core = Value(section, u"CoreDriverSections");
    const auto needs = Value(section, u"Needs");
    const std::string data_section = First(section, u"DataSection");
    // The driver runs apart from the spooler: a fault of its own cannot stop printing for all.
    if (First(section, u"DriverIsolation") != "2") Find(where + "needs DriverIsolation=2");
    if (core) {
      bool unidrv = false;
      for (const Text& group : *core) {
        const std::set<std::string> items = Items(ToUtf8(group));
        if (!items.count(Upper(ToUtf8(kUnidrvGuid)))) continue;
        unidrv = items.count("UNIDRV.OEM") && items.count("UNIDRV_DATA");
      }
      if (!unidrv)
        Find(where + "CoreDriverSections must name Unidrv's GUID, UNIDRV.OEM, UNIDRV_DATA");
      if (!data_section.empty())
        Find(where + "DataSection beside CoreDriverSections, which names it");
      if (needs) Find(where + "Needs beside CoreDriverSections");
    } else {
      std::set<std::string> needed;
      for (const Text& n : needs.value_or(std::vector<Text>{})) needed.insert(Upper(ToUtf8(n)));
      if (Upper(First(section, u"Include")) != "NTPRINT.INF" || !needed.count("UNIDRV.OEM")) {
        Find(where + "needs Include=NTPRINT.INF and Needs=UNIDRV.OEM, or CoreDriverSections");
      }
      if (Upper(data_section) != "UNIDRV_DATA") Find(where + "needs DataSection=UNIDRV_DATA");
      if (needed.count("UNIDRV_DATA")) Find(where + "Needs names the data section UNIDRV_DATA");
    }
    // Every file the section's description reads is copied, listed for the disk, and there.
    const InfFile::Line line{u"", {section}, 0};
    const std::string data_file = ToUtf8(sim::DataFileOf(*inf_, line));
    std::set<std::string> copied;
    for (const Text& entry : Value(section, u"CopyFiles").value_or(std::vector<Text>{})) {
      if (entry.starts_with(u'@')) {
        copied.insert(Upper(ToUtf8(entry.substr(1))));
        continue;
      }
      for (const InfFile::Line& file : inf_->Section(entry)) {
        if (!file.values.empty()) copied.insert(Upper(ToUtf8(file.values[0])));
      }
    }
    std::vector<std::string> needed_files{data_file};
    for (const std::string& include : Includes(data_file)) needed_files.push_back(include);
    for (const std::string& file : needed_files) {
      if (!copied.count(Upper(file))) Find(where + "does not copy " + file);
      bool on_disk = false;
      for (const InfFile::Line& disk : inf_->Section(u"SourceDisksFiles")) {
        on_disk = on_disk || Upper(ToUtf8(disk.key)) == Upper(file);
      }
      if (!on_disk) Find(inf_name_ + ": [SourceDisksFiles] does not list " + file);
      if (!File(file)) Find(where + "names " + file + ", which the package does not hold");
    }
  }

  // The package's own files a description includes (Unidrv brings StdNames.gpd itself).
  std::vector<std::string> Includes(const std::string& data_file) {
    const std::optional<sim::GpdFile> gpd = Parse(data_file, false);
    std::vector<std::string> includes;
    if (!gpd) return includes;
    for (const std::string& name : gpd->includes()) {
      if (File(name) || Upper(name) != "STDNAMES.GPD") includes.push_back(name);
    }
    return includes;
  }

  std::optional<sim::GpdFile> Parse(const std::string& name, bool report) {
    const std::string* bytes = File(name);
    if (!bytes) return std::nullopt;
    try {
      return sim::GpdFile::Parse(*bytes, name, [this](const std::string& include) {
        const std::string* included = File(include);
        std::optional<std::string> result;
        if (included) result = *included;
        if (!included && Upper(include) == "STDNAMES.GPD") result.emplace();
        return result;
      });
    } catch (const sim::MachineError& error) {
      if (report) Find(error.what());
      return std::nullopt;
    }
  }

  void CheckDescription(const std::string& data_file, const std::set<std::string>& models) {
    const std::optional<sim::GpdFile> gpd = Parse(data_file, true);
    if (!gpd) return;
    const std::vector<GpdEntry>& root = gpd->entries();
    // *GPDSpecVersion must be the first entry, before any comment, and some are required.
    std::string_view text = *File(data_file);
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    text.remove_prefix(std::min(text.size(), text.find_first_not_of(" \t\r\n")));
    if (!text.starts_with("*GPDSpecVersion")) {
      Find(data_file + ": *GPDSpecVersion must be its first entry");
    }
    for (const char* keyword : {"GPDSpecVersion", "MasterUnits", "PrinterType"}) {
      if (!sim::FindLast(root, keyword)) Find(data_file + ": no *" + std::string(keyword));
    }
    // *ModelName must match a model of the INF, one that installs with this description.
    const GpdEntry* model_name = sim::FindLast(root, "ModelName");
    if (!model_name || !models.count(Unquoted(model_name->value))) {
      Find(data_file + ": *ModelName " + (model_name ? model_name->value : "(none)") +
           " is no model the INF installs with it");
    }
    CheckOptions(root);
    CheckSections(root);
    CheckCommands(root);
    CheckMoves(data_file, root);
    CheckRoll(data_file, root, models);
  }

  // Whether the entries select an option with a CmdSelect that has its *Order: directly, or in
  // every case of a *switch on another feature, which Unidrv resolves while it prints.
  static bool Selects(const std::vector<GpdEntry>& entries) {
    const GpdEntry* select = sim::FindLast(entries, "Command", "CmdSelect");
    if (select) return sim::FindLast(select->children, "Order") != nullptr;
    const GpdEntry* on = sim::FindLast(entries, "switch");
    if (!on || on->children.empty()) return false;
    for (const GpdEntry& choice : on->children) {
      if (!Selects(choice.children)) return false;
    }
    return true;
  }

  // Every option selects itself with a CmdSelect that has its *Order; user-defined *OptionID
  // values lie above 512, clear of the ids Unidrv assigns.
  void CheckOptions(const std::vector<GpdEntry>& root) {
    for (const GpdEntry* feature : sim::FindAll(root, "Feature")) {
      for (const GpdEntry* option : sim::FindAll(feature->children, "Option")) {
        if (!Selects(option->children)) {
          Find(option->Where() + "option " + feature->value + "." + option->value +
               " has no CmdSelect with its *Order");
        }
      }
    }
    sim::ForEachEntry(root, [this](const GpdEntry& entry) {
      if (entry.keyword == "OptionID" && std::atol(entry.value.c_str()) <= 512) {
        Find(entry.Where() + "*OptionID " + entry.value + " must be above 512");
      }
      if (const std::size_t at = SecondEntryAt(entry.value); at != std::string::npos) {
        Find(entry.Where() + "*" + entry.keyword + " holds " + entry.value.substr(at, 12) +
             "...: an entry ends at the end of its line, so this is part of its value");
      }
    });
  }

  // Each command goes where Unidrv sends it at the right time (its *Order names one of the six
  // sections of a job): the cash drawer's ESC p once per document, before its first page or after
  // its last; a cut (GS V) only once a page's content is out. ESC p pulses for 1 to 255 units of
  // 2 ms: 0 opens no drawer. An option that chooses no cut sends no GS V in any case.
  void CheckSections(const std::vector<GpdEntry>& root) {
    static const std::set<std::string> sections = {"JOB_SETUP",   "DOC_SETUP",  "PAGE_SETUP",
                                                   "PAGE_FINISH", "DOC_FINISH", "JOB_FINISH"};
    sim::ForEachEntry(root, [this](const GpdEntry& command) {
      const GpdEntry* order = sim::FindLast(command.children, "Order");
      const GpdEntry* cmd = sim::FindLast(command.children, "Cmd");
      if (command.keyword != "Command" || !order) return;
      const std::string section = Upper(order->value.substr(0, order->value.find('.')));
      if (!sections.count(section)) {
        Find(order->Where() + "*Order " + order->value + " names no section of a job");
        return;
      }
      const std::string bytes = cmd ? SampleBytes(cmd->value) : std::string();
      const std::size_t drawer = bytes.find("\x1Bp");
      if (drawer != std::string::npos && section != "DOC_SETUP" && section != "DOC_FINISH") {
        Find(order->Where() + "the cash drawer's ESC p in " + section +
             ": it belongs once to the document, in DOC_SETUP or DOC_FINISH");
      }
      if (drawer != std::string::npos &&
          (bytes.size() < drawer + 5 || bytes[drawer + 3] == 0 || bytes[drawer + 4] == 0)) {
        Find(cmd->Where() + "ESC p needs pulse times of 1 to 255 units of 2 ms");
      }
      if (bytes.find("\x1DV") != std::string::npos && !section.ends_with("_FINISH")) {
        Find(order->Where() + "a cut (GS V) in " + section +
             ": it belongs in PAGE_FINISH or JOB_FINISH, after the content");
      }
    });
    for (const GpdEntry* cutter : sim::FindAll(root, "Feature", "Cutter")) {
      for (const GpdEntry* none : sim::FindAll(cutter->children, "Option", "NONE")) {
        sim::ForEachEntry(none->children, [this](const GpdEntry& cmd) {
          if (cmd.keyword == "Cmd" && SampleBytes(cmd.value).find("\x1DV") != std::string::npos)
            Find(cmd.Where() + "Cutter.NONE sends a cut (GS V)");
        });
      }
    }
  }

  // Where a value holds what reads as another entry ("*Cmd:" after "*Order: DOC_SETUP.1" on
  // the same line), outside quotes; npos when it holds none.
  static std::size_t SecondEntryAt(const std::string& value) {
    bool quoted = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
      if (value[i] == '"') quoted = !quoted;
      if (quoted || value[i] != '*' || (i > 0 && value[i - 1] != ' ' && value[i - 1] != '\t'))
        continue;
      std::size_t end = i + 1;
      while (end < value.size() && (std::isalnum(static_cast<unsigned char>(value[end])) ||
                                    value[end] == '?' || value[end] == '_'))
        ++end;
      while (end < value.size() && value[end] == ' ') ++end;
      if (end > i + 1 && end < value.size() && value[end] == ':') return i;
    }
    return std::string::npos;
  }

  // The bytes of a command without variables; empty for one that needs them or does not parse
  // (CheckCommands reports those).
  static std::string SampleBytes(const std::string& value) {
    try {
      std::string bytes;
      for (const std::string& sent : sim::GpdCommand::Parse(value).Emit({})) bytes += sent;
      return bytes;
    } catch (const sim::MachineError&) {
      return std::string();
    }
  }

  // A bounded argument (a byte, a word, or a range) either cannot exceed its bound or repeats
  // its command with max_repeat; a value beyond it would be cut short.
  void CheckCommands(const std::vector<GpdEntry>& root) {
    long page = 0;
    long printable = 0;
    for (const GpdEntry* feature : sim::FindAll(root, "Feature", "PaperSize")) {
      for (const GpdEntry* option : sim::FindAll(feature->children, "Option")) {
        for (const char* size : {"PageDimensions", "MaxSize"}) {
          if (const GpdEntry* e = sim::FindLast(option->children, size); e && Pair(e->value)) {
            page = std::max({page, Pair(e->value)->first, Pair(e->value)->second});
          }
        }
        if (const GpdEntry* e = sim::FindLast(option->children, "PrintableArea");
            e && Pair(e->value)) {
          printable = std::max(printable, Pair(e->value)->first);
        }
      }
    }
    long rows_bytes = 32768;  // MaxMultipleRowBytes' default
    sim::ForEachEntry(root, [&rows_bytes](const GpdEntry& e) {
      if (e.keyword == "MaxMultipleRowBytes") rows_bytes = std::atol(e.value.c_str());
    });
    const std::map<std::string, sim::VariableRange> ranges = {
        {"DestX", {0, page}},
        {"DestY", {0, page}},
        {"DestXRel", {0, page}},
        {"DestYRel", {0, page}},
        {"PhysPaperLength", {0, page}},
        {"PhysPaperWidth", {0, page}},
        {"NumOfDataBytes", {0, rows_bytes}},
        {"RasterDataHeightInPixels", {1, rows_bytes}},
        {"RasterDataWidthInBytes", {1, (printable + 7) / 8}}};
    sim::ForEachEntry(root, [&](const GpdEntry& entry) {
      if (entry.keyword != "Cmd") return;
      try {
        const sim::GpdCommand command = sim::GpdCommand::Parse(entry.value);
        for (const sim::GpdArgument& argument : command.arguments()) {
          if (argument.max_repeat) continue;
          const std::optional<std::int64_t> format = sim::FormatMaximum(argument.type);
          const std::optional<std::int64_t> limit =
              argument.range ? std::optional<std::int64_t>(argument.range->high) : format;
          if (!limit) continue;
          const std::optional<std::int64_t> bound = sim::UpperBound(argument.expression, ranges);
          if (!bound || *bound > *limit) {
            Find(entry.Where() + "{" + argument.expression + "} can reach " +
                 (bound ? std::to_string(*bound) : "any value") + ", beyond the " +
                 std::to_string(*limit) + " its argument carries: repeat it with max_repeat");
          }
        }
      } catch (const sim::MachineError& error) {
        Find(entry.Where() + error.what());
      }
    });
  }

  // Stripping blanks at a row's start or inside it makes Unidrv move across the row: without an
  // X move command it moves with spaces (UseSpaceForXMove? defaults to TRUE). And a form feed
  // that sends nothing must be how pages end, or Unidrv moves down to the page's end instead.
  void CheckMoves(const std::string& data_file, const std::vector<GpdEntry>& root) {
    bool x_move = false;
    for (const char* move : {"CmdXMoveAbsolute", "CmdXMoveRelRight", "CmdXMoveRelLeft"}) {
      x_move = x_move || sim::FindLast(root, "Command", std::string_view(move));
    }
    sim::ForEachEntry(root, [&](const GpdEntry& entry) {
      if (entry.keyword != "StripBlanks" || x_move) return;
      const std::set<std::string> items = Items(entry.value);
      if (items.count("LEADING") || items.count("ENCLOSED")) {
        Find(entry.Where() + "*StripBlanks " + entry.value +
             " without a command to move in X: Unidrv would move across blanks with spaces");
      }
    });
    const GpdEntry* spaces = sim::FindLast(root, "UseSpaceForXMove?");
    if (!x_move && (!spaces || Upper(spaces->value) != "FALSE")) {
      Find(data_file + ": no X move command, so *UseSpaceForXMove? must be FALSE");
    }
    const GpdEntry* form_feed = sim::FindLast(root, "Command", "CmdFF");
    const GpdEntry* eject = sim::FindLast(root, "EjectPageWithFF?");
    const GpdEntry* cmd = form_feed ? sim::FindLast(form_feed->children, "Cmd") : nullptr;
    for (const char* required : {"CmdCR", "CmdLF", "CmdFF"}) {
      if (!sim::FindLast(root, "Command", std::string_view(required))) {
        Find(data_file + ": no *Command: " + required);
      }
    }
    try {
      if (cmd && sim::GpdCommand::Parse(cmd->value).Emit({}).front().empty() &&
          (!eject || Upper(eject->value) != "TRUE")) {
        Find(cmd->Where() +
             "CmdFF sends nothing, so *EjectPageWithFF? must be TRUE, or each "
             "page feeds to its full length");
      }
    } catch (const sim::MachineError&) {
    }
  }

  // The roll a new printer starts on is the one its name states (RollWidthOfName).
  void CheckRoll(const std::string& data_file, const std::vector<GpdEntry>& root,
                 const std::set<std::string>& models) {
    long master_x = 0;
    if (const GpdEntry* master = sim::FindLast(root, "MasterUnits");
        master && Pair(master->value)) {
      master_x = Pair(master->value)->first;
    }
    std::map<std::string, long> widths;
    std::string default_option;
    for (const GpdEntry* feature : sim::FindAll(root, "Feature", "PaperSize")) {
      if (const GpdEntry* d = sim::FindLast(feature->children, "DefaultOption")) {
        default_option = d->value;
      }
      for (const GpdEntry* option : sim::FindAll(feature->children, "Option")) {
        const GpdEntry* size = sim::FindLast(option->children, "PageDimensions");
        if (size && Pair(size->value)) widths[option->value] = Pair(size->value)->first;
      }
    }
    if (master_x <= 0 || !widths.count(default_option)) {
      Find(data_file + ": the default paper size " + default_option + " is no size it describes");
      return;
    }
    const long mm = std::lround(widths[default_option] * 25.4 / master_x);
    std::vector<std::string> wrong;
    for (const std::string& model : models) {
      if (RollWidthOfName(model) != mm) wrong.push_back(model);
    }
    if (!wrong.empty()) {
      Find(data_file + " starts on the " + std::to_string(mm) + " mm roll, but the name of " +
           wrong.front() +
           (wrong.size() > 1 ? " and " + std::to_string(wrong.size() - 1) + " more"
                             : std::string()) +
           " says otherwise");
    }
  }

  const PackageFiles& files_;
  const InfFile* inf_ = nullptr;
  std::string inf_name_;
  bool uses_core_ = false;
  std::map<std::string, std::set<std::string>> models_by_data_file_;
  std::vector<std::string> findings_;
};

}  // namespace

int RollWidthOfName(std::string_view model) {
  bool says80 = false;
  for (std::size_t i = 0; i < model.size();) {
    if (std::isdigit(static_cast<unsigned char>(model[i])) == 0) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < model.size() && std::isdigit(static_cast<unsigned char>(model[end])) != 0) ++end;
    const std::string_view number = model.substr(i, end - i);
    if (number == "57" || number == "58") return 58;
    says80 = says80 || number == "80";
    i = end;
  }
  return says80 ? 80 : 58;
}

std::vector<std::string> CheckDriverPackage(const PackageFiles& files,
                                            const std::string& inf_name) {
  return Checker(files).Run(inf_name);
}

}  // namespace px
