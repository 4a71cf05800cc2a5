#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/text.h"

namespace px::sim {

// A setup information (INF) file, read as Windows' setup API reads one: [sections] of lines,
// ';' comments outside quotes, "quoted" text, %token% replaced from [Strings], section names
// without regard to letter case. Decoded from UTF-16 with a BOM, UTF-8 or ASCII.
class InfFile {
 public:
  // Throws MachineError naming file, line and reason for text that is no INF.
  static InfFile Parse(std::string_view bytes, const std::string& file_name);

  struct Line {
    Text key;                  // left of '=', or empty
    std::vector<Text> values;  // the comma-separated fields right of '=' (or the whole line)
    int number;                // 1-based line in the file
  };
  // The lines of a section (empty when there is none).
  const std::vector<Line>& Section(TextView name) const;
  bool HasSection(TextView name) const;

  // The printer models the file offers on an architecture ("NTx86", "NTamd64"): the keys of the
  // model sections that [Manufacturer] names, decorated for it (or undecorated when no decoration
  // fits).
  std::set<Text> Models(TextView architecture) const;

 private:
  std::map<Text, std::vector<Line>> sections_;  // by upper-case name
};

}  // namespace px::sim
