#include "platform/sim/driver_data.h"

#include "base/utf.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/gpd_file.h"
#include "platform/sim/text_case.h"

namespace px::sim {

namespace {

// The include files Unidrv's data section (UNIDRV_DATA) installs beside every description.
bool IsUnidrvInclude(const Text& name) {
  const Text upper = Upcase(name);
  return upper == u"STDNAMES.GPD" || upper == u"TTFSUB.GPD" || upper == u"MSXPSINC.GPD";
}

}  // namespace

Text DataFileOf(const InfFile& inf, const InfFile::Line& model_line) {
  const Text section = model_line.values.empty() ? Text() : model_line.values[0];
  for (const InfFile::Line& line : inf.Section(section)) {
    if (SameNoCase(line.key, u"DataFile") && !line.values.empty()) return line.values[0];
  }
  return section;
}

std::optional<std::string> DriverDataProblem(const InfFile& inf, const InfFile::Line& model_line,
                                             const PackageFileReader& read) {
  const Text data_file = DataFileOf(inf, model_line);
  const std::optional<std::string> bytes = read(data_file);
  if (!bytes) {
    return "the system cannot find the file specified: " + ToUtf8(data_file) +
           " (the data file of " + ToUtf8(model_line.key) + ")";
  }
  const GpdIncludeReader include = [&read](const std::string& name) -> std::optional<std::string> {
    const Text wide = FromUtf8(name).value_or(Text());
    std::optional<std::string> included = read(wide);
    if (!included && IsUnidrvInclude(wide)) included.emplace();
    return included;
  };
  try {
    GpdFile::Parse(*bytes, ToUtf8(data_file), include);
  } catch (const MachineError& error) {
    return std::string("the printer driver's data file does not parse: ") + error.what();
  }
  return std::nullopt;
}

}  // namespace px::sim
