// The driver's side of a job: the bytes Unidrv sends for a page, from the printer description.
#include "receipt/job_composer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/sim/dependent_list.h"
#include "platform/sim/gpd_command.h"

namespace px::receipt {

namespace {

using sim::GpdEntry;

// GPD keywords and values such as TRUE compare without regard to case.
bool Is(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool True(const GpdEntry* entry) { return entry && Is(entry->value, "TRUE"); }

// PAIR(x, y)
std::pair<long, long> Pair(const GpdEntry* entry) {
  long x = 0;
  long y = 0;
  if (!entry || std::sscanf(entry->value.c_str(), "PAIR ( %ld , %ld )", &x, &y) != 2) return {0, 0};
  return {x, y};
}

std::vector<std::string> Send(const GpdEntry* cmd,
                              const std::map<std::string, std::int64_t>& vars) {
  if (!cmd) return {};
  try {
    return sim::GpdCommand::Parse(cmd->value).Emit(vars);
  } catch (const sim::MachineError& error) {
    throw sim::MachineError(cmd->Where() + error.what());
  }
}

}  // namespace

JobComposer::JobComposer(const sim::GpdFile& gpd) : root_(gpd.entries()) {
  for (const GpdEntry& entry : root_) {
    if (!Is(entry.keyword, "Feature")) continue;
    features_[entry.value].push_back(&entry);
    for (const GpdEntry& child : entry.children) {
      if (Is(child.keyword, "DefaultOption")) selected_[entry.value] = child.value;
    }
  }
  for (const char* needed : {"CmdSendBlockData", "CmdYMoveRelDown"}) {
    if (!FindCommand(needed)) {
      throw sim::MachineError(std::string("the description has no *Command: ") + needed +
                              " for the options it selects");
    }
  }
}

void JobComposer::Select(const std::string& feature, const std::string& option) {
  const auto found = features_.find(feature);
  if (found == features_.end()) {
    std::string names;
    for (const auto& [name, blocks] : features_) names += (names.empty() ? "" : ", ") + name;
    throw std::invalid_argument("no feature " + feature + "; there are " + names);
  }
  std::string names;
  for (const GpdEntry* block : found->second) {
    for (const GpdEntry& child : block->children) {
      if (!Is(child.keyword, "Option")) continue;
      if (child.value == option) {
        selected_[feature] = option;
        return;
      }
      names += (names.empty() ? "" : ", ") + child.value;
    }
  }
  throw std::invalid_argument("no option " + option + " of " + feature + "; there are " + names);
}

const GpdEntry* JobComposer::SelectedOption(const std::string& feature) const {
  const auto choice = selected_.find(feature);
  const auto blocks = features_.find(feature);
  if (choice == selected_.end() || blocks == features_.end()) return nullptr;
  for (const GpdEntry* block : blocks->second) {
    for (const GpdEntry& child : block->children) {
      if (Is(child.keyword, "Option") && child.value == choice->second) return &child;
    }
  }
  return nullptr;
}

void JobComposer::Resolve(const std::vector<GpdEntry>& entries,
                          std::vector<const GpdEntry*>& out) const {
  for (const GpdEntry& entry : entries) {
    if (!Is(entry.keyword, "switch")) {
      out.push_back(&entry);
      continue;
    }
    const auto choice = selected_.find(entry.value);
    const GpdEntry* taken = nullptr;
    for (const GpdEntry& c : entry.children) {
      if (Is(c.keyword, "case") && choice != selected_.end() && c.value == choice->second)
        taken = &c;
      if (Is(c.keyword, "default") && !taken) taken = &c;
    }
    if (taken) Resolve(taken->children, out);
  }
}

// The root entries and those of every selected option.
std::vector<const GpdEntry*> JobComposer::InForce() const {
  std::vector<const GpdEntry*> entries;
  Resolve(root_, entries);
  for (const auto& [feature, option] : selected_) {
    if (const GpdEntry* chosen = SelectedOption(feature)) Resolve(chosen->children, entries);
  }
  return entries;
}

const GpdEntry* JobComposer::FindCommand(const std::string& name) const {
  const GpdEntry* found = nullptr;
  for (const GpdEntry* entry : InForce()) {
    if (Is(entry->keyword, "Command") && entry->value == name)
      found = sim::FindLast(entry->children, "Cmd");
  }
  return found;
}

int JobComposer::paper_width() const {
  const GpdEntry* paper = SelectedOption("PaperSize");
  return paper ? static_cast<int>(Pair(sim::FindLast(paper->children, "PageDimensions")).first) : 0;
}

int JobComposer::printable_width() const {
  const GpdEntry* paper = SelectedOption("PaperSize");
  return paper ? static_cast<int>(Pair(sim::FindLast(paper->children, "PrintableArea")).first) : 0;
}

int JobComposer::printable_height() const {
  const GpdEntry* paper = SelectedOption("PaperSize");
  return paper ? static_cast<int>(Pair(sim::FindLast(paper->children, "PrintableArea")).second) : 0;
}

// The commands a section sends, by their sequence numbers.
std::string JobComposer::Section(const std::string& name) const {
  std::vector<Ordered> commands;
  for (const GpdEntry* entry : InForce()) {
    if (!Is(entry->keyword, "Command")) continue;
    const GpdEntry* order = sim::FindLast(entry->children, "Order");
    if (!order) continue;
    const std::size_t dot = order->value.find('.');
    if (!Is(order->value.substr(0, dot), name)) continue;
    const double number = dot == std::string::npos ? 0 : std::atof(order->value.c_str() + dot + 1);
    commands.push_back({name, number, sim::FindLast(entry->children, "Cmd")});
  }
  std::stable_sort(commands.begin(), commands.end(),
                   [](const Ordered& a, const Ordered& b) { return a.number < b.number; });
  std::string bytes;
  for (const Ordered& command : commands) {
    for (const std::string& sent : Send(command.cmd, {})) bytes += sent;
  }
  return bytes;
}

std::string JobComposer::Compose(const Page& page) const {
  if (page.width > printable_width() || static_cast<int>(page.rows.size()) > printable_height()) {
    throw std::invalid_argument(
        "the page is " + std::to_string(page.width) + " x " + std::to_string(page.rows.size()) +
        " dots, larger than the paper's printable " + std::to_string(printable_width()) + " x " +
        std::to_string(printable_height()));
  }
  std::string bytes = Section("JOB_SETUP") + Section("DOC_SETUP") + Section("PAGE_SETUP");
  bytes += Raster(page);
  // The form feed, where the description ejects pages with it, closes the page's content.
  bool eject = false;
  for (const GpdEntry* entry : InForce()) {
    if (Is(entry->keyword, "EjectPageWithFF?")) eject = True(entry);
  }
  if (eject) {
    for (const std::string& sent : Send(FindCommand("CmdFF"), {})) bytes += sent;
  }
  return bytes + Section("PAGE_FINISH") + Section("DOC_FINISH") + Section("JOB_FINISH");
}

// Rows go out in blocks of rows that hold print, each as wide as its widest row once blank
// bytes at the rows' ends are left out; a run of blank rows is a move down to the next print.
std::string JobComposer::Raster(const Page& page) const {
  long min_strip = 0;
  bool trailing = false;
  bool multiple = false;
  long block_bytes = 32768;
  long master_y = 0;
  long move_unit = 0;
  for (const GpdEntry* entry : InForce()) {
    if (Is(entry->keyword, "MinStripBlankPixels")) min_strip = std::atol(entry->value.c_str());
    if (Is(entry->keyword, "SendMultipleRows?")) multiple = True(entry);
    if (Is(entry->keyword, "MaxMultipleRowBytes")) block_bytes = std::atol(entry->value.c_str());
    if (Is(entry->keyword, "MasterUnits")) master_y = Pair(entry).second;
    if (Is(entry->keyword, "YMoveUnit")) move_unit = std::atol(entry->value.c_str());
    if (Is(entry->keyword, "StripBlanks")) {
      trailing = entry->value.find("TRAILING") != std::string::npos;
      if (entry->value.find("LEADING") != std::string::npos ||
          entry->value.find("ENCLOSED") != std::string::npos) {
        throw sim::MachineError(entry->Where() +
                                "blanks left out at a row's start or inside it need an X move, "
                                "which these printers do not have");
      }
    }
  }
  if (master_y <= 0 || move_unit <= 0) {
    throw sim::MachineError("the description needs *MasterUnits and *YMoveUnit to move down");
  }
  const int full_bytes = (printable_width() + 7) / 8;
  // Each row packed, 1 bit per dot from the left, and how many of its bytes go out.
  std::vector<std::string> packed;
  std::vector<int> kept;
  for (const auto& row : page.rows) {
    std::string bits(static_cast<std::size_t>(full_bytes), '\0');
    for (std::size_t x = 0; x < row.size() && static_cast<int>(x) < page.width; ++x) {
      if (row[x]) bits[x / 8] = static_cast<char>(bits[x / 8] | (0x80 >> (x % 8)));
    }
    int used = full_bytes;
    while (used > 0 && bits[static_cast<std::size_t>(used) - 1] == 0) --used;
    if (used > 0 && !(trailing && (full_bytes - used) * 8 >= min_strip)) used = full_bytes;
    packed.push_back(bits);
    kept.push_back(used);
  }
  const GpdEntry* block = FindCommand("CmdSendBlockData");
  const GpdEntry* move = FindCommand("CmdYMoveRelDown");
  std::string bytes;
  int blank = 0;
  for (std::size_t y = 0; y < packed.size();) {
    if (kept[y] == 0) {
      ++blank;
      ++y;
      continue;
    }
    if (blank > 0) {
      const std::int64_t rel = static_cast<std::int64_t>(blank) * move_unit / master_y;
      for (const std::string& sent : Send(move, {{"DestYRel", rel}, {"DestY", rel}})) bytes += sent;
      blank = 0;
    }
    std::size_t end = y;
    int width = 0;
    while (end < packed.size() && kept[end] > 0 && (multiple || end == y)) {
      const int wider = std::max(width, kept[end]);
      if (end > y && static_cast<long>(wider) * static_cast<long>(end - y + 1) > block_bytes) break;
      width = wider;
      ++end;
    }
    const auto rows = static_cast<std::int64_t>(end - y);
    for (const std::string& sent : Send(block, {{"NumOfDataBytes", width * rows},
                                                {"RasterDataHeightInPixels", rows},
                                                {"RasterDataWidthInBytes", width}})) {
      bytes += sent;
    }
    for (std::size_t r = y; r < end; ++r)
      bytes += packed[r].substr(0, static_cast<std::size_t>(width));
    y = end;
  }
  return bytes;
}

}  // namespace px::receipt
