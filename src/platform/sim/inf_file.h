#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/text.h"

namespace px::sim {

// The processor architecture of a Windows installation, as INF decorations name it.
enum class Architecture { kX86, kAmd64, kArm64 };

// Its name as Windows writes it in lower case: "x86", "amd64", "arm64".
TextView ArchitectureName(Architecture arch);
// The spooler's name for the drivers of that processor: "Windows NT x86", "Windows x64",
// "Windows ARM64".
TextView DriverEnvironment(Architecture arch);

// A Windows version as RtlGetVersion reports it (10.0.22631 is Windows 11 23H2).
struct WindowsVersion {
  std::uint32_t major = 10;
  std::uint32_t minor = 0;
  std::uint32_t build = 22631;
  friend bool operator==(const WindowsVersion&, const WindowsVersion&) = default;
};

// The Windows an INF file is read on: which models section of [Manufacturer] applies.
struct InfTarget {
  Architecture architecture = Architecture::kAmd64;
  WindowsVersion version;
};

// The models section that Windows takes from one [Manufacturer] entry: `base` with the
// decorations listed after it ("NTamd64", "NTamd64.6.1", "NTarm64.10.0...14310", fields
// architecture . major . minor . product type . suite mask . build, any of them empty).
// Among the decorations for the target's architecture whose version is not above the
// target's, the highest version wins; on a tie, one that names the architecture beats a bare
// "NT" (which stands for x86), then one that names more of product type and suite mask.
// Product type and suite mask must match a desktop Windows (1, and a mask within 0x100).
// The undecorated section applies only to x86 Windows, and only when no decoration fits; on
// x64 and ARM64 nothing applies then (nullopt).
std::optional<Text> ChooseModelsSection(const Text& base, const std::vector<Text>& decorations,
                                        const InfTarget& target);

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

  // The printer models the file offers on a Windows: the keys of the models sections that
  // ChooseModelsSection takes from each [Manufacturer] entry.
  std::set<Text> Models(const InfTarget& target) const;
  // The line that defines a model there: its values are the install section and the hardware
  // ids. nullopt when the file offers no such model on that Windows.
  std::optional<Line> ModelLine(const Text& model, const InfTarget& target) const;

 private:
  std::vector<const Line*> ModelLines(const InfTarget& target) const;

  std::map<Text, std::vector<Line>> sections_;  // by upper-case name
};

}  // namespace px::sim
