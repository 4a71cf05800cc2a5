// A printer description: any bytes give its entries or a MachineError, and so does every command
// string in it, parsed, bounded and sent with sample values.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/sim/dependent_list.h"
#include "platform/sim/gpd_command.h"
#include "platform/sim/gpd_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    // Every include reads the input again, so includes nest until the depth limit stops them.
    const px::sim::GpdFile gpd = px::sim::GpdFile::Parse(
        bytes, "PX.GPD",
        [&bytes](const std::string&) { return std::optional<std::string>(bytes); });
    px::sim::ForEachEntry(gpd.entries(), [](const px::sim::GpdEntry& entry) {
      try {
        const px::sim::GpdCommand command = px::sim::GpdCommand::Parse(entry.value);
        for (const px::sim::GpdArgument& argument : command.arguments()) {
          px::sim::UpperBound(argument.expression, {{"DestYRel", {0, 2374}}});
        }
        command.Emit(
            {{"DestYRel", 600}, {"NumOfDataBytes", 21600}, {"RasterDataHeightInPixels", 300}});
      } catch (const px::sim::MachineError&) {
      }
    });
  } catch (const px::sim::MachineError&) {
  }
  return 0;
}
