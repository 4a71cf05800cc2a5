#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace px::sim {

// One entry of a printer description: "*Keyword: value", and the entries of the { } block that
// follows it, if one does.
struct GpdEntry {
  std::string keyword;  // without its '*': "Feature", "Option", "Cmd"; a macro's own name
  std::string value;    // what follows ':' up to the end of the entry, comments removed
  std::string file;     // where it stands, for messages
  int line = 0;
  bool block = false;
  std::vector<GpdEntry> children;

  // "PX58.GPD:12: " for messages about this entry.
  std::string Where() const { return file + ":" + std::to_string(line) + ": "; }
};

// The files a description includes, by name as *Include gives it: their bytes, or nullopt when
// there is no such file.
using GpdIncludeReader = std::function<std::optional<std::string>(const std::string& name)>;

// A generic printer description (GPD) read as Unidrv's parser reads one: entries end at the end
// of their line or at a '}', a line starting with '+' continues the one before, "*%" starts a
// comment, "*IgnoreBlock { }" hides what it encloses, EXTERN_GLOBAL: and EXTERN_FEATURE: are
// read through, and *Include puts the entries of another file in its place, as if the files were
// one. Each file must hold as many '{' as '}'.
class GpdFile {
 public:
  // Throws MachineError "file:line: reason" for text that is no description: a block left open
  // or closed twice, an entry without a value, a quote left open, an included file that is
  // missing or named with a path, includes nested past any sensible depth.
  static GpdFile Parse(std::string_view bytes, const std::string& file_name,
                       const GpdIncludeReader& include);

  // The root entries, those of included files in their place.
  const std::vector<GpdEntry>& entries() const { return entries_; }
  // Every file *Include named, in the order they were read.
  const std::vector<std::string>& includes() const { return includes_; }

 private:
  std::vector<GpdEntry> entries_;
  std::vector<std::string> includes_;
};

// The entries of a list with that keyword (and that value, when one is given), in order.
std::vector<const GpdEntry*> FindAll(const std::vector<GpdEntry>& entries, std::string_view keyword,
                                     std::optional<std::string_view> value = std::nullopt);
// The last of them, which is the one Unidrv keeps: nullptr when there is none.
const GpdEntry* FindLast(const std::vector<GpdEntry>& entries, std::string_view keyword,
                         std::optional<std::string_view> value = std::nullopt);

// Every entry of a description and of all blocks within it, depth first.
void ForEachEntry(const std::vector<GpdEntry>& entries,
                  const std::function<void(const GpdEntry&)>& visit);

}  // namespace px::sim
