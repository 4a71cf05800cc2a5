// An INF file: any bytes give its models or a MachineError.
#include <cstddef>
#include <cstdint>

#include "platform/sim/dependent_list.h"
#include "platform/sim/inf_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const auto inf = px::sim::InfFile::Parse({reinterpret_cast<const char*>(data), size}, "PX.inf");
    using px::sim::Architecture;
    for (const Architecture arch :
         {Architecture::kX86, Architecture::kAmd64, Architecture::kArm64}) {
      inf.Models({arch, {}});
      inf.Models({arch, {6, 1, 7601}});
    }
  } catch (const px::sim::MachineError&) {
  }
  return 0;
}
